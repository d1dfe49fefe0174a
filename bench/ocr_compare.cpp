// Helper of ocr_compare.sh: renders random EXP strips (1 to 12 digits, every other one with
// capture noise), reads each with the program's recognizer and times it, and writes each
// strip's figure part scaled up and binarised for an outside OCR engine.
// Usage: ocr_compare OUTDIR COUNT SEED
#include "capture/bmp_file.h"
#include "recognition/exp_recognizer.h"
#include "recognition/glyph_pattern_table.h"
#include "testkit/glyph_files.h"
#include "testkit/glyph_render.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>

namespace {

// Nearest-neighbour enlargement with a margin, binarised to dark strokes on white, the way
// OCR engines read best.
qv::PixelArray Enlarge(const qv::PixelArray& image, int width, int factor, int margin) {
    const qv::Pixel white = qv::MakePixel(255, 255, 255);
    const qv::Pixel pad = white;
    qv::PixelArray out(width * factor + 2 * margin, image.Height() * factor + 2 * margin);
    for (int y = 0; y < out.Height(); ++y) {
        for (int x = 0; x < out.Width(); ++x) {
            const int sx = (x - margin) / factor;
            const int sy = (y - margin) / factor;
            const bool inside = x >= margin && y >= margin && sx < width && sy < image.Height();
            const bool stroke = inside && image.Brightness(sx, sy) > 500;
            out.At(x, y) = stroke ? qv::MakePixel(0, 0, 0) : pad;
        }
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s OUTDIR COUNT SEED\n", argv[0]);
        return 2;
    }
    const std::string out = argv[1];
    const int count = std::stoi(argv[2]);
    std::mt19937 random(static_cast<unsigned>(std::stoul(argv[3])));

    std::array<qv::GlyphImageSet, 2> images;
    for (int s = 0; s < 2; ++s) {
        auto loaded = qv::LoadGlyphImageSet(qv::GlyphFolder(QV_SOURCE_DIR), s);
        if (!loaded) {
            std::fprintf(stderr, "glyph images not found\n");
            return 1;
        }
        images[static_cast<std::size_t>(s)] = std::move(*loaded);
    }
    qv::GlyphPatternTable table;
    const std::array<qv::CaptureRegion, 2> regions{{{1, 1, 1, 1}, {463, 570, 90, 9}}};
    qv::CaptureBuffer buffer;
    if (!qv::BuildGlyphPatterns(
            {qv::PicturesFromImages(images[0]), qv::PicturesFromImages(images[1])}, regions, table,
            buffer)) {
        std::fprintf(stderr, "glyph table not built\n");
        return 1;
    }

    std::uniform_int_distribution<int> length(1, 12), digit(0, 9), noise(-20, 20);
    std::ofstream truth(out + "/truth.txt");
    int correct = 0;
    double totalNs = 0;
    for (int i = 0; i < count; ++i) {
        std::string figure(1, static_cast<char>('1' + digit(random) % 9));
        for (int n = length(random); static_cast<int>(figure.size()) < n;) {
            figure += static_cast<char>('0' + digit(random));
        }
        qv::PixelArray strip = qv::RenderExpStrip(figure, images[1]);
        const bool noisy = i % 2 == 1;
        if (noisy) {
            for (int y = 0; y < strip.Height(); ++y) {
                for (int x = 0; x < strip.Width(); ++x) {
                    const qv::Pixel p = strip.At(x, y);
                    auto j = [&](int c) { return std::clamp(c + noise(random), 0, 255); };
                    strip.At(x, y) =
                        qv::MakePixel(j(qv::RedOf(p)), j(qv::GreenOf(p)), j(qv::BlueOf(p)));
                }
            }
        }
        if (!qv::ResizeCaptureBuffer(buffer, buffer.LastColumn(), buffer.LastRow())) {
            return 1;
        }
        qv::StoreInSlot(buffer, 1, strip);
        qv::CaptionKeeper host;
        qv::ExpReading reading;
        const auto start = std::chrono::steady_clock::now();
        qv::RecognizeExpReadout(buffer, table, regions[1], false, reading, host);
        totalNs +=
            std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start)
                .count();
        correct += host.caption == std::wstring(figure.begin(), figure.end());

        // The outside engine gets the figure without the delimiter, which it would misread.
        const int figureWidth = std::min(90, 6 * static_cast<int>(figure.size()) + 1);
        char name[64];
        std::snprintf(name, sizeof name, "strip_%03d.bmp", i);
        qv::WriteBmpFile(out + "/" + name, Enlarge(strip, figureWidth, 8, 16));
        truth << name << ' ' << figure << ' ' << (noisy ? "noisy" : "clean") << '\n';
    }
    std::printf("%d %d %.1f\n", correct, count, totalNs / count / 1000.0);
    return 0;
}

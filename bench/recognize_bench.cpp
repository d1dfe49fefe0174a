// Time of one EXP recognition on the default 90 x 9 region, with the pixel comparisons it
// makes. Figures are printed, never asserted.
#include <benchmark/benchmark.h>

#include <string>

#include "recognition/exp_recognizer.h"
#include "recognition/glyph_images.h"
#include "recognition/glyph_pattern_table.h"
#include "recognition/glyph_render.h"

namespace {

class QuietHost : public qv::RecognizerHost {
  public:
    void SetCaptureCaption(std::wstring_view) override {}
    void WriteDebugLog(std::wstring_view) override {}
    qv::MemoryStatus QueryMemoryStatus() override { return {}; }
    bool ShuttingDown() override { return false; }
};

// Pixel comparisons of one call, counted by re-running the scan rules on the table.
std::int64_t CountComparisons(const qv::PixelArray& strip, const qv::GlyphSetPatterns& set,
                              std::int32_t regionWidth) {
    std::int64_t total = 0;
    for (std::int32_t sx = 0; sx <= regionWidth - set.smallestWidth; ++sx) {
        for (int g = 0; g < qv::kGlyphsPerSet; ++g) {
            std::int64_t matched = 0;
            std::int64_t compared = 0;
            for (std::int32_t x = 0; x < set.width[g]; ++x) {
                for (std::int32_t y = 0; y < set.height[g]; ++y) {
                    const int b = sx + x < strip.Width() ? strip.Brightness(sx + x, y) : 0;
                    matched += std::abs(set.PixelSum(g, x, y) - b) <= qv::kPixelTolerance;
                    ++compared;
                }
                if (compared * 0.9 > matched && compared > 20) {
                    break;
                }
            }
            total += compared;
            if (matched * 10000 / set.width[g] / set.height[g] > qv::kAcceptScore) {
                if (g == qv::kDelimiterGlyph) {
                    return total;
                }
                sx += set.width[g] - 2;
                break;
            }
        }
    }
    return total;
}

void Recognize(benchmark::State& state, const std::string& figure) {
    auto images = qv::LoadGlyphImageSet(qv::GlyphFolder(QV_SOURCE_DIR), 1);
    auto images0 = qv::LoadGlyphImageSet(qv::GlyphFolder(QV_SOURCE_DIR), 0);
    if (!images || !images0) {
        state.SkipWithError("glyph images not found");
        return;
    }
    qv::GlyphPatternTable table;
    const std::array<qv::CaptureRegion, 2> regions{{{1, 1, 1, 1}, {463, 570, 90, 9}}};
    qv::CaptureBuffer buffer;
    if (!qv::BuildGlyphPatterns({qv::PicturesFromImages(*images0), qv::PicturesFromImages(*images)},
                                regions, table, buffer)) {
        state.SkipWithError("glyph table not built");
        return;
    }
    qv::StripLayout layout;
    layout.delimiter = !figure.empty();
    const qv::PixelArray strip = qv::RenderExpStrip(figure, *images, layout);
    qv::StoreInSlot(buffer, 1, strip);

    QuietHost host;
    qv::ExpReading reading;
    for (auto _ : state) {
        qv::RecognizeExpReadout(buffer, table, regions[1], false, reading, host);
        benchmark::DoNotOptimize(reading);
    }
    state.counters["comparisons"] = static_cast<double>(CountComparisons(strip, table.sets[1], 90));
    state.SetLabel("read " + std::to_string(static_cast<long long>(reading.value_or(-1))));
}

} // namespace

BENCHMARK_CAPTURE(Recognize, seven_digits, std::string("1234567"));
BENCHMARK_CAPTURE(Recognize, ten_digits, std::string("9876543210"));
BENCHMARK_CAPTURE(Recognize, empty_strip, std::string());

BENCHMARK_MAIN();

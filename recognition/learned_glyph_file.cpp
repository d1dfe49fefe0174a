#include "recognition/learned_glyph_file.h"

#include "capture/bmp_file.h"
#include "capture/capture_region.h"
#include "recognition/glyph_pattern_table.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

namespace qv {

namespace {

constexpr Pixel kBlack = MakePixel(0, 0, 0);

// Columns [left, right) are black from row `top` down.
bool BlackBelow(const PixelArray& sheet, std::int32_t left, std::int32_t right, std::int32_t top) {
    for (std::int32_t x = left; x < right; ++x) {
        for (std::int32_t y = top; y < sheet.Height(); ++y) {
            if (sheet.At(x, y) != kBlack) {
                return false;
            }
        }
    }
    return true;
}

struct SheetCell {
    bool learned = false;
    PixelArray image;
    std::int32_t nextFrame = 0;
};

// The glyph whose frame column is `frame`: its bar gives the width, its frame column the height.
std::optional<SheetCell> ReadCell(const PixelArray& sheet, std::int32_t frame) {
    if (frame + 1 >= sheet.Width() || sheet.At(frame, 0) != kBlack) {
        return std::nullopt;
    }
    const Pixel mark = sheet.At(frame + 1, 0);
    if (mark != kLearnedGlyphMark && mark != kBuiltInGlyphMark) {
        return std::nullopt;
    }
    std::int32_t end = frame + 1;
    while (end < sheet.Width() && sheet.At(end, 0) == mark) {
        ++end;
    }
    std::int32_t height = 0;
    while (height + 1 < sheet.Height() && sheet.At(frame, height + 1) == mark) {
        ++height;
    }
    SheetCell cell{mark == kLearnedGlyphMark, PixelArray(end - frame - 1, height), end};
    const bool fits = !cell.learned || (cell.image.Width() >= kNarrowestRecognizedGlyph &&
                                        cell.image.Width() <= kMaxGlyphWidth &&
                                        cell.image.Height() <= kMaxGlyphHeight);
    if (height == 0 || !fits || !BlackBelow(sheet, frame, end, height + 1)) {
        return std::nullopt;
    }
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < cell.image.Width(); ++x) {
            cell.image.At(x, y) = sheet.At(frame + 1 + x, y + 1);
        }
    }
    return cell;
}

} // namespace

PixelArray DrawGlyphSheet(const GlyphImageSet& builtIn, const LearnedGlyphs& learned) {
    const GlyphImageSet set = ComposeGlyphSet(builtIn, learned);
    std::int32_t width = 1; // the closing column
    std::int32_t height = 0;
    for (const PixelArray& image : set) {
        width += image.Width() + 1;
        height = std::max(height, image.Height());
    }
    PixelArray sheet(width, height + 1); // black
    std::int32_t frame = 0;
    for (int g = 0; g < kGlyphsPerSet; ++g) {
        const PixelArray& image = set[static_cast<std::size_t>(g)];
        const Pixel mark = learned.Learned(g) ? kLearnedGlyphMark : kBuiltInGlyphMark;
        for (std::int32_t x = 0; x < image.Width(); ++x) {
            sheet.At(frame + 1 + x, 0) = mark;
        }
        for (std::int32_t y = 0; y < image.Height(); ++y) {
            sheet.At(frame, y + 1) = mark;
            for (std::int32_t x = 0; x < image.Width(); ++x) {
                sheet.At(frame + 1 + x, y + 1) = image.At(x, y);
            }
        }
        frame += image.Width() + 1;
    }
    return sheet;
}

std::optional<LearnedGlyphs> ReadGlyphSheet(const PixelArray& sheet) {
    LearnedGlyphs learned;
    std::int32_t frame = 0;
    for (int g = 0; g < kGlyphsPerSet; ++g) {
        auto cell = ReadCell(sheet, frame);
        if (!cell) {
            return std::nullopt;
        }
        if (cell->learned) {
            learned.images[static_cast<std::size_t>(g)] = std::move(cell->image);
        }
        frame = cell->nextFrame;
    }
    if (frame != sheet.Width() - 1 || !BlackBelow(sheet, frame, frame + 1, 0)) {
        return std::nullopt;
    }
    return learned;
}

GlyphFileLoad LoadLearnedGlyphs(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::exists(file, error) && !error) {
        return {GlyphFileStatus::Absent, {}};
    }
    std::ifstream in(file, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    if (!in || in.bad()) {
        return {GlyphFileStatus::Unreadable, {}};
    }
    const auto picture = DecodeBmp(bytes);
    auto glyphs = picture ? ReadGlyphSheet(*picture) : std::nullopt;
    if (!glyphs) {
        return {GlyphFileStatus::Invalid, {}};
    }
    return {GlyphFileStatus::Loaded, std::move(*glyphs)};
}

bool SaveLearnedGlyphs(const std::filesystem::path& file, const GlyphImageSet& builtIn,
                       const LearnedGlyphs& learned) {
    return WriteBmpFile(file, DrawGlyphSheet(builtIn, learned), BmpDepth::Bits24);
}

bool RemoveLearnedGlyphs(const std::filesystem::path& file) {
    std::error_code error;
    std::filesystem::remove(file, error);
    return !std::filesystem::exists(file, error) && !error;
}

} // namespace qv

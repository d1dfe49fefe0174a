#include "recognition/glyph_pattern_table.h"

#include "recognition/exp_recognizer.h"

#include <algorithm>
#include <limits>

namespace qv {

namespace {

// The smallest width and height start here, so a set whose glyphs are all larger keeps it.
constexpr std::int32_t kSmallestStart = 41;

// Sizes and extremes of one set (steps that only need the pictures' outer sizes).
bool MeasureSet(const GlyphPictureSet& pictures, std::int32_t narrowest, GlyphSetPatterns& set) {
    bool ok = true;
    set.largestWidth = set.largestHeight = 0;
    set.smallestWidth = set.smallestHeight = kSmallestStart;
    for (int g = 0; g < kGlyphsPerSet; ++g) {
        const auto& picture = pictures[static_cast<std::size_t>(g)];
        if (!picture) {
            ok = false;
            continue;
        }
        const std::int64_t w = std::int64_t{picture->outerWidth} - 2 * kPictureBorder;
        const std::int64_t h = std::int64_t{picture->outerHeight} - 2 * kPictureBorder;
        // A glyph without pixels would make every score a division by zero.
        if (w < narrowest || h < 1) {
            ok = false;
            continue;
        }
        set.width[static_cast<std::size_t>(g)] = static_cast<std::int32_t>(w);
        set.height[static_cast<std::size_t>(g)] = static_cast<std::int32_t>(h);
        set.largestWidth = std::max(set.largestWidth, static_cast<std::int32_t>(w));
        set.smallestWidth = std::min(set.smallestWidth, static_cast<std::int32_t>(w));
        set.largestHeight = std::max(set.largestHeight, static_cast<std::int32_t>(h));
        set.smallestHeight = std::min(set.smallestHeight, static_cast<std::int32_t>(h));
    }
    return ok;
}

// Copies each image's brightness into the set's sums; a pixel beyond the table's extent
// is a failure (the pixels that fit are still stored).
bool FillSums(const GlyphPictureSet& pictures, GlyphSetPatterns& set) {
    bool ok = true;
    set.sums.assign(static_cast<std::size_t>(kGlyphsPerSet) * set.Columns() * set.Rows(), 0);
    for (int g = 0; g < kGlyphsPerSet; ++g) {
        const auto& picture = pictures[static_cast<std::size_t>(g)];
        if (!picture) {
            ok = false;
            continue;
        }
        const PixelArray& image = picture->image;
        if (image.Width() > set.Columns() || image.Height() > set.Rows()) {
            ok = false;
        }
        const std::int32_t columns = std::min(image.Width(), set.Columns());
        const std::int32_t rows = std::min(image.Height(), set.Rows());
        for (std::int32_t x = 0; x < columns; ++x) {
            for (std::int32_t y = 0; y < rows; ++y) {
                set.sums[set.SumIndex(g, x, y)] = image.Brightness(x, y);
            }
        }
    }
    return ok;
}

bool Add(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t& out) {
    const std::int64_t sum = std::int64_t{a} + b - c;
    if (sum < std::numeric_limits<std::int32_t>::min() ||
        sum > std::numeric_limits<std::int32_t>::max()) {
        return false;
    }
    out = static_cast<std::int32_t>(sum);
    return true;
}

} // namespace

std::int32_t GlyphSetPatterns::PixelSum(int glyph, std::int32_t x, std::int32_t y) const {
    if (glyph < 0 || glyph >= kGlyphsPerSet || x < 0 || y < 0 || x >= Columns() || y >= Rows() ||
        sums.empty()) {
        return 0;
    }
    return sums[SumIndex(glyph, x, y)];
}

std::size_t GlyphSetPatterns::SumIndex(int glyph, std::int32_t x, std::int32_t y) const {
    const auto columns = static_cast<std::size_t>(Columns());
    const auto rows = static_cast<std::size_t>(Rows());
    return (static_cast<std::size_t>(glyph) * columns + static_cast<std::size_t>(x)) * rows +
           static_cast<std::size_t>(y);
}

GlyphPictureSet PicturesFromImages(const GlyphImageSet& images) {
    GlyphPictureSet pictures;
    for (std::size_t g = 0; g < images.size(); ++g) {
        pictures[g] = GlyphPicture{images[g], images[g].Width() + 2 * kPictureBorder,
                                   images[g].Height() + 2 * kPictureBorder};
    }
    return pictures;
}

GlyphImageSet ImagesOf(const GlyphPictureSet& pictures) {
    GlyphImageSet images;
    for (std::size_t g = 0; g < pictures.size(); ++g) {
        if (pictures[g]) {
            images[g] = pictures[g]->image;
        }
    }
    return images;
}

bool BuildGlyphPatterns(const std::array<GlyphPictureSet, kGlyphSetCount>& pictures,
                        GlyphPatternTable& table) {
    bool ok = true;
    for (std::size_t s = 0; s < pictures.size(); ++s) {
        const std::int32_t narrowest =
            static_cast<int>(s) == kExpCaptureIndex ? kNarrowestRecognizedGlyph : std::int32_t{1};
        ok = MeasureSet(pictures[s], narrowest, table.sets[s]) && ok;
        ok = FillSums(pictures[s], table.sets[s]) && ok;
        table.sets[s].scoring = PrepareScoring(table.sets[s]);
    }
    table.percent = BuildPercentMarks(table.sets[kExpCaptureIndex]);
    return ok;
}

bool BuildGlyphPatterns(const std::array<GlyphPictureSet, kGlyphSetCount>& pictures,
                        const std::array<CaptureRegion, 2>& regions, GlyphPatternTable& table,
                        CaptureBuffer& buffer) {
    return BuildGlyphPatterns(pictures, table) && UpdateCaptureBufferSize(regions, table, buffer);
}

void ShowGlyphBuildFailure(MessageSink& sink) {
    sink.ShowMessage(L"パターンファイルのデータ化に失敗しました。\r\n終了します。\r\n",
                     L"パターン読込みエラー");
}

bool UpdateCaptureBufferSize(const std::array<CaptureRegion, 2>& regions,
                             const GlyphPatternTable& table, CaptureBuffer& buffer) {
    std::int32_t lastColumn = std::numeric_limits<std::int32_t>::min();
    std::int32_t lastRow = std::numeric_limits<std::int32_t>::min();
    for (std::size_t i = 0; i < regions.size(); ++i) {
        const GlyphSetPatterns& set = table.sets[i];
        std::int32_t column = 0;
        std::int32_t row = 0;
        if (!Add(regions[i].width, set.largestWidth, set.smallestWidth, column) ||
            !Add(regions[i].height, set.largestHeight, set.smallestHeight, row)) {
            return false;
        }
        lastColumn = std::max(lastColumn, column);
        lastRow = std::max(lastRow, row);
    }
    return ResizeCaptureBuffer(buffer, lastColumn, lastRow);
}

} // namespace qv

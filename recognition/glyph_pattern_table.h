// The glyph pattern table: sizes, size extremes and per-pixel brightness of the two glyph
// sets, built once at start-up from the pattern pictures; and the capture-buffer sizing
// rule that depends on it.
#pragma once

#include "capture/capture_buffer.h"
#include "capture/capture_region.h"
#include "capture/pixel_array.h"
#include "recognition/glyph_images.h"
#include "recognition/scoring_patterns.h"
#include "services/message_sink.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace qv {

// The recognizer steps on by a glyph's width less 2, so the glyphs of the set it reads must be
// at least this wide.
inline constexpr std::int32_t kNarrowestRecognizedGlyph = 3;

// One pattern picture as the main window holds it: its image and its outer size (image
// plus the border on each side).
struct GlyphPicture {
    PixelArray image;
    std::int32_t outerWidth = 0;
    std::int32_t outerHeight = 0;
};
// A missing picture is an empty optional.
using GlyphPictureSet = std::array<std::optional<GlyphPicture>, kGlyphsPerSet>;

// Pictures whose outer size is the image size plus the border, as the main window lays
// them out.
GlyphPictureSet PicturesFromImages(const GlyphImageSet& images);
// The pictures' images; an empty image where a picture is missing.
GlyphImageSet ImagesOf(const GlyphPictureSet& pictures);

struct GlyphSetPatterns {
    std::array<std::int32_t, kGlyphsPerSet> width{};
    std::array<std::int32_t, kGlyphsPerSet> height{};
    std::int32_t largestWidth = 0;
    std::int32_t largestHeight = 0;
    std::int32_t smallestWidth = 0;
    std::int32_t smallestHeight = 0;
    // Brightness per glyph and pixel, for x 0..largestWidth and y 0..largestHeight (both
    // inclusive), column by column; 0 where the image has no pixel.
    std::vector<std::int32_t> sums;
    // The same pixels as the scorer reads them.
    ScoringPatterns scoring;

    std::int32_t Columns() const { return largestWidth + 1; }
    std::int32_t Rows() const { return largestHeight + 1; }
    // 0 outside the table's extent.
    std::int32_t PixelSum(int glyph, std::int32_t x, std::int32_t y) const;
    // Where a pixel within the extent is kept in `sums`.
    std::size_t SumIndex(int glyph, std::int32_t x, std::int32_t y) const;
};

// What follows the percent's digits: the decimal mark, drawn as a comma (rows 7 and 8) or a dot
// (row 7), and the percent sign. The program draws them itself, with the background of the
// recognized set's digits and at their size when it is a whole multiple of the built-in one.
inline constexpr int kCommaMark = 0;
inline constexpr int kDotMark = 1;
inline constexpr int kPercentSign = 2;
struct PercentMarks {
    GlyphSetPatterns patterns; // the three glyphs above; the other places are empty
    std::int32_t scale = 0;    // the built-in size times this; 0 when the digits fit no multiple
};

// The marks for a recognized set (recognition/percent_marks.cpp).
PercentMarks BuildPercentMarks(const GlyphSetPatterns& digits);

struct GlyphPatternTable {
    std::array<GlyphSetPatterns, kGlyphSetCount> sets;
    PercentMarks percent; // for the set at kExpCaptureIndex
};

// Builds the table from both sets of pictures. Every step is attempted even after a
// failure; the result is false when any step failed (a missing picture, a glyph without
// pixels, a glyph of the recognized set narrower than 3 pixels, an image wider than largest
// width + 1 or taller than largest height + 1).
// The caller then reports through ShowGlyphBuildFailure and ends the program.
[[nodiscard]] bool BuildGlyphPatterns(const std::array<GlyphPictureSet, kGlyphSetCount>& pictures,
                                      GlyphPatternTable& table);

// The start-up build: the table, then, once it is complete, the capture buffer sized for the
// regions and the new glyph sizes. False when either failed.
[[nodiscard]] bool BuildGlyphPatterns(const std::array<GlyphPictureSet, kGlyphSetCount>& pictures,
                                      const std::array<CaptureRegion, 2>& regions,
                                      GlyphPatternTable& table, CaptureBuffer& buffer);

// The modal message that precedes the end of the program after a failed build.
void ShowGlyphBuildFailure(MessageSink& sink);

// Resizes the capture buffer so that every capture region plus the spread of its glyph
// set's sizes fits (region i pairs with glyph set i). False, with the buffer left as it
// was, when the extent overflows 32 bits; false when the buffer refuses the extent.
[[nodiscard]] bool UpdateCaptureBufferSize(const std::array<CaptureRegion, 2>& regions,
                                           const GlyphPatternTable& table, CaptureBuffer& buffer);

} // namespace qv

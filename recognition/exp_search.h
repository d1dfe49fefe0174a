// Finds the EXP figure anywhere in a picture of the game's whole client area, so that the
// player need not measure where region 2 goes: a run of digit glyphs followed by the delimiter,
// read with the glyphs in use or, where those find nothing, with the built-in glyphs drawn
// 2, 3 or 4 times larger (a game with its interface scaled).
#pragma once

#include "capture/capture_region.h"
#include "capture/pixel_array.h"
#include "recognition/glyph_images.h"
#include "recognition/glyph_pattern_table.h"
#include "recognition/learned_glyphs.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace qv {

inline constexpr std::int32_t kMaxSearchScale = 4;
inline constexpr std::size_t kMaxSearchDigits = 15;

// Whether the game drew its percent ("83.18%") right after a delimiter whose cell's top-left
// corner is (x, y), at `scale` times the built-in size. A run followed by a percent is the EXP
// figure; the HP and MP figures have none.
using PercentCheck = std::function<bool(const PixelArray& client, std::int32_t x, std::int32_t y,
                                        std::int32_t scale)>;

// The plain check: the "%" sign's white strokes, 7 x 7 cells of `scale` pixels, somewhere in
// the columns where one to three digits, a decimal mark and two digits would end.
bool PercentSignAfter(const PixelArray& client, std::int32_t x, std::int32_t y, std::int32_t scale);

struct ExpSearchResult {
    CaptureRegion region; // region 2 for the figure
    std::int32_t scale = 1;
    bool enlarged = false; // read with the built-in glyphs enlarged `scale` times, not `inUse`
    std::string digits;    // as the recognizer reads them in `region`
    bool percent = false;  // the delimiter is followed by a percent
};

// Region 2 for a figure of `digits` digits whose first digit cell has its top-left corner at
// (x, y): 9 x scale high and wide enough for two more digits and a percent up to "100.00%",
// at most to the right edge of a client area `clientWidth` wide.
CaptureRegion FigureRegion(std::int32_t x, std::int32_t y, std::int32_t scale, std::size_t digits,
                           std::int32_t clientWidth);

// The built-in set-1 glyphs with every pixel a scale x scale block, cut so that the recognizer
// steps from one digit to the next as the game draws them: a digit keeps its first 6 x scale + 1
// columns (the last one is the next digit's first), the delimiter all of its columns.
GlyphImageSet EnlargeGlyphSet(const GlyphImageSet& builtIn, std::int32_t scale);

// The same glyphs as learned ones, every glyph of set 1 replaced.
LearnedGlyphs EnlargedGlyphs(const GlyphImageSet& builtIn, std::int32_t scale);

// Searches `client` for runs of 1 to kMaxSearchDigits digits followed by the delimiter:
// first with `inUse` (the pattern table the measurement reads with), then, when none is found
// there, with the built-in glyphs enlarged 2 to kMaxSearchScale times (and at their own size
// when `inUse` differs from them: `enlarged` with scale 1). Of several runs, one followed by a
// percent wins, then the lowest, then the leftmost. Nothing when no run is found.
std::optional<ExpSearchResult>
SearchExpFigure(const PixelArray& client, const GlyphPatternTable& inUse,
                const GlyphImageSet& builtIn,
                const PercentCheck& followedByPercent = PercentSignAfter);

} // namespace qv

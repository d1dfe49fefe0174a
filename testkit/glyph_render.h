// Draws an EXP figure the way the game shows it, with the set-1 glyph images: the digits
// one after another, each sharing its right border column with the next glyph's left one,
// followed by the delimiter, on the glyphs' slate background.
#pragma once

#include "capture/pixel_array.h"
#include "recognition/glyph_images.h"

#include <cstdint>
#include <string_view>

namespace qv {

struct StripLayout {
    std::int32_t width = 90; // the strip's size (the default EXP capture region)
    std::int32_t height = 9;
    std::int32_t left = 0; // where the first glyph's top-left corner goes
    std::int32_t top = 0;
    bool delimiter = true; // draw the delimiter after the figure
    // Drawn after the delimiter as the game draws the level's percent: digits in the figure's
    // glyphs, ',' the decimal mark in rows 7 and 8, '.' a one-pixel dot in row 7 (each in a
    // five-column cell), '%' the percent sign, any other character a blank digit-wide gap.
    std::string_view percent;
    // The strip as the game draws it with its interface scaled: every pixel of the layout
    // above becomes a scale x scale block.
    std::int32_t scale = 1;
};

// Digits '0'..'9' are drawn; any other character leaves a blank glyph-wide gap. Glyphs
// reaching past the strip are cut off.
PixelArray RenderExpStrip(std::string_view figure, const GlyphImageSet& set1,
                          const StripLayout& layout = {});

// Every pixel of `image` as a scale x scale block.
PixelArray Enlarge(const PixelArray& image, std::int32_t scale);

// A digit font of the test kit's own, unlike the game's: proportional seven-segment digits
// 7 rows tall and a slash as the delimiter, dark strokes on a pale ground, each glyph with one
// background column on either side.
GlyphImageSet SegmentFont();

// Moves each colour channel of every pixel by up to `amplitude` either way, the same for the
// same seed.
void AddNoise(PixelArray& pixels, unsigned seed, int amplitude);

// Draws one image into `target` with its top-left corner at (left, top), clipped.
void DrawImage(PixelArray& target, const PixelArray& image, std::int32_t left, std::int32_t top);

} // namespace qv

// The glyph images as pixel arrays: set 0 (large font) and set 1 (the EXP font the
// recognizer matches), digits 0 to 9 at indexes 0 to 9 and the delimiter at 10.
#pragma once

#include "capture/pixel_array.h"
#include "recognition/glyph_list.h"

#include <array>

namespace qv {

constexpr int kGlyphSetCount = 2;
// One glyph per entry of the glyph list, the delimiter last.
#define QV_COUNT_GLYPH(index, name) +1
constexpr int kGlyphsPerSet = 0 QV_GLYPHS_OF_A_SET(QV_COUNT_GLYPH);
#undef QV_COUNT_GLYPH
constexpr int kDelimiterGlyph = kGlyphsPerSet - 1;
// Width of a picture box's border on each side; a picture's outer size is its image plus
// twice this.
constexpr int kPictureBorder = 2;

using GlyphImageSet = std::array<PixelArray, kGlyphsPerSet>;

} // namespace qv

// The glyph images as pixel arrays: set 0 (large font) and set 1 (the EXP font the
// recognizer matches), digits 0 to 9 at indexes 0 to 9 and the delimiter at 10.
#pragma once

#include "capture/pixel_array.h"

#include <array>

namespace qv {

constexpr int kGlyphSetCount = 2;
constexpr int kGlyphsPerSet = 11;
constexpr int kDelimiterGlyph = 10;
// Width of a picture box's border on each side; a picture's outer size is its image plus
// twice this.
constexpr int kPictureBorder = 2;

using GlyphImageSet = std::array<PixelArray, kGlyphsPerSet>;

} // namespace qv

// HP and MP as the game draws them near the EXP figure, "[1234/5678]" in the same digits: for
// the options dialog's search, figures that must not be taken for the EXP figure.
#pragma once

#include "capture/pixel_array.h"
#include "recognition/glyph_images.h"

#include <string_view>

namespace qv::demo {

inline constexpr std::string_view kDemoHp = "1234/5678";
inline constexpr std::string_view kDemoMp = "987/1000";

// `figure` ("now/most") between square brackets, `scale` times the size.
PixelArray RenderStatusFigure(std::string_view figure, const GlyphImageSet& glyphs, int scale);

} // namespace qv::demo

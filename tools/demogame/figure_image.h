// The picture of the EXP figure that the demo game paints at the capture region.
#pragma once

#include <cstdint>

#include "capture/pixel_array.h"

namespace qv::demo {

inline constexpr int kFigureX = 463; // the program's default capture region 2
inline constexpr int kFigureY = 570;
inline constexpr int kFigureAreaWidth = 90;
inline constexpr int kFigureAreaHeight = 9;
inline constexpr Pixel kBackground = MakePixel(18, 22, 34);

// The figure in the game's digit look, followed by the delimiter.
PixelArray RenderFigure(std::uint64_t figure);

} // namespace qv::demo

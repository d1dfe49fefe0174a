// The picture of the EXP figure that the demo game paints at the capture region.
#pragma once

#include "capture/pixel_array.h"
#include "recognition/glyph_images.h"

#include <windows.h>

#include <cstdint>
#include <optional>

namespace qv::demo {

inline constexpr int kFigureX = 463; // the program's default capture region 2
inline constexpr int kFigureY = 570;
inline constexpr int kStripWidth = 120; // wider than the region, as the game's bar is
inline constexpr int kStripHeight = 9;
inline constexpr Pixel kBackground = MakePixel(18, 22, 34);

// The set-1 glyph images built into the demo game; nothing when one is missing.
std::optional<GlyphImageSet> LoadGlyphs(HINSTANCE instance);

// The figure in the game's digit look, followed by the delimiter and the percent of its level,
// `scale` times the size with its top-left corner where it stays (a capture region keeps its
// start and grows).
PixelArray RenderFigure(std::uint64_t figure, const GlyphImageSet& glyphs, int scale);

} // namespace qv::demo

// Design positions and sizes are in twips; the program's windows are laid out in pixels at
// 96 dpi, 15 twips to the pixel, the remainder dropped. Portable, so the layout arithmetic
// of the shell can be tested on Linux too.
#pragma once

namespace qv {

inline constexpr int kTwipsPerPixel = 15;

constexpr int TwipsToPixels(int twips) {
    return twips / kTwipsPerPixel;
}

} // namespace qv

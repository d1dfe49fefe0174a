// Layout arithmetic of the main window: the minimum-size rule and the debug area at the
// bottom (two rows of glyph pictures above the window's bottom edge, the log box above them).
#pragma once

#include "capture/pixel_array.h"
#include "recognition/glyph_images.h"

#include <array>

namespace qv {

inline constexpr int kMinClientSize = 256;

// What the resize handler does with a client size: snap the outer size back so that the
// client area is at least the minimum when it is below, and lay out with the clamped values.
struct ClientSizeDecision {
    bool snapHeight = false;
    bool snapWidth = false;
    int width = 0;
    int height = 0;
};
ClientSizeDecision ClampClientSize(int width, int height);

// Width of the log box for a client width: 8 pixels of margin on each side.
constexpr int LogBoxWidth(int clientWidth) {
    return clientWidth - 16;
}

struct DebugAreaLayout {
    bool patternsVisible = false;
    std::array<int, kGlyphsPerSet> row1Top{}; // tops of the set-0 pictures
    std::array<int, kGlyphsPerSet> row2Top{}; // tops of the set-1 pictures
    int logHeight = 0;
};

// Heights are the pictures' outer heights, indexed like the glyphs.
DebugAreaLayout ComputeDebugArea(int clientHeight, bool debugMode, int logTop,
                                 const std::array<int, kGlyphsPerSet>& row1Heights,
                                 const std::array<int, kGlyphsPerSet>& row2Heights);

// A glyph as its picture in the debug area shows it: unchanged when it fits the picture's
// box, else shrunk to fit with its proportions kept, each pixel the average of those it covers.
PixelArray FitGlyphToBox(const PixelArray& glyph, int boxWidth, int boxHeight);

} // namespace qv

#include "app/main_layout.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace qv {

ClientSizeDecision ClampClientSize(int width, int height) {
    ClientSizeDecision d{false, false, width, height};
    if (height < kMinClientSize) {
        d.snapHeight = true;
        d.height = kMinClientSize;
    }
    if (width < kMinClientSize) {
        d.snapWidth = true;
        d.width = kMinClientSize;
    }
    return d;
}

DebugAreaLayout ComputeDebugArea(int clientHeight, bool debugMode, int logTop,
                                 const std::array<int, kGlyphsPerSet>& row1Heights,
                                 const std::array<int, kGlyphsPerSet>& row2Heights) {
    DebugAreaLayout layout;
    // Both rows plus 8 pixels under each: the space the debug area takes from the log box.
    const int stack = row1Heights[0] + row2Heights[0] + 8 + 8;
    if (!debugMode) {
        layout.logHeight = clientHeight - logTop - 8;
        return layout;
    }
    layout.patternsVisible = true;
    for (int k = 0; k < kGlyphsPerSet; ++k) {
        layout.row1Top[k] = clientHeight - stack;
        // The second row sits under the first row's picture of the same index.
        layout.row2Top[k] = clientHeight - row1Heights[k] - 8;
    }
    layout.logHeight = clientHeight - logTop - stack - 8;
    return layout;
}

namespace {

// Source pixels [first, last) that output pixel `i` of `outSize` covers in `inSize`.
std::pair<std::int32_t, std::int32_t> Covered(std::int32_t i, std::int32_t inSize,
                                              std::int32_t outSize) {
    const auto first = static_cast<std::int32_t>(std::int64_t{i} * inSize / outSize);
    const auto last = static_cast<std::int32_t>(std::int64_t{i + 1} * inSize / outSize);
    return {first, std::max(last, first + 1)};
}

} // namespace

PixelArray FitGlyphToBox(const PixelArray& glyph, int boxWidth, int boxHeight) {
    const std::int32_t w = glyph.Width(), h = glyph.Height();
    if (glyph.Empty() || boxWidth < 1 || boxHeight < 1) {
        return PixelArray();
    }
    std::int32_t outW = w, outH = h;
    if (w > boxWidth || h > boxHeight) {
        // The side that has to shrink more sets the factor.
        if (std::int64_t{boxWidth} * h <= std::int64_t{boxHeight} * w) {
            outW = boxWidth;
            outH = std::max<std::int32_t>(
                1, static_cast<std::int32_t>(std::int64_t{h} * boxWidth / w));
        } else {
            outH = boxHeight;
            outW = std::max<std::int32_t>(
                1, static_cast<std::int32_t>(std::int64_t{w} * boxHeight / h));
        }
    }
    PixelArray fitted(outW, outH);
    for (std::int32_t y = 0; y < outH; ++y) {
        const auto [top, bottom] = Covered(y, h, outH);
        for (std::int32_t x = 0; x < outW; ++x) {
            const auto [left, right] = Covered(x, w, outW);
            int red = 0, green = 0, blue = 0;
            for (std::int32_t sy = top; sy < bottom; ++sy) {
                for (std::int32_t sx = left; sx < right; ++sx) {
                    const Pixel p = glyph.At(sx, sy);
                    red += RedOf(p);
                    green += GreenOf(p);
                    blue += BlueOf(p);
                }
            }
            const int n = (bottom - top) * (right - left);
            fitted.At(x, y) = MakePixel(red / n, green / n, blue / n);
        }
    }
    return fitted;
}

} // namespace qv

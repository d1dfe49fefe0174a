#include "app/main_layout.h"

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

} // namespace qv

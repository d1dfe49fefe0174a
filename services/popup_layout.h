// Placement of the popup's message label: centred in the client area, the window growing
// (never shrinking) when the label does not fit.
#pragma once

namespace qv {

struct Size2 {
    int width = 0;
    int height = 0;
};

struct PopupPlacement {
    int labelLeft = 0;
    int labelTop = 0;
    bool grow = false;
    Size2 windowSize; // the window's new outer size when `grow`
};

PopupPlacement PlacePopupLabel(Size2 window, Size2 client, Size2 label);

} // namespace qv

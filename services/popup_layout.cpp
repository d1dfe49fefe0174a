#include "services/popup_layout.h"

namespace qv {

PopupPlacement PlacePopupLabel(Size2 window, Size2 client, Size2 label) {
    PopupPlacement p;
    p.windowSize = window;
    p.labelTop = (client.height - label.height) / 2; // halving truncates toward zero
    if (p.labelTop < 0) {
        p.grow = true;
        p.windowSize.height = window.height - client.height + label.height;
        p.labelTop = 0;
    }
    p.labelLeft = (client.width - label.width) / 2;
    if (p.labelLeft < 0) {
        p.grow = true;
        p.windowSize.width = window.width - client.width + label.width;
        p.labelLeft = 0;
    }
    return p;
}

} // namespace qv

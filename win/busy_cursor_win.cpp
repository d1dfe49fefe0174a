#include "win/busy_cursor_win.h"

namespace qv {

void BusyCursor::Set(bool busy) {
    busy_ = busy;
    SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

bool BusyCursor::ShowIfBusy() const {
    if (!busy_) {
        return false;
    }
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    return true;
}

} // namespace qv

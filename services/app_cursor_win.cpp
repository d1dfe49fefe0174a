#include "services/app_cursor_win.h"

namespace qv {

namespace {
bool busyCursor = false;
} // namespace

void SetApplicationBusyCursor(bool busy) {
    busyCursor = busy;
    SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

bool ApplicationCursorBusy() {
    return busyCursor;
}

bool ShowApplicationBusyCursor() {
    if (!busyCursor) {
        return false;
    }
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    return true;
}

} // namespace qv

#include "services/app_cursor_win.h"

namespace qv {

namespace {

bool busyCursor = false;
HHOOK cursorHook = nullptr;

// Runs after every window of this thread has answered WM_SETCURSOR: the popup, the dialogs,
// the message boxes and their controls all end with the hourglass while busy.
LRESULT CALLBACK AfterSetCursor(int code, WPARAM wp, LPARAM lp) {
    const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lp);
    if (code == HC_ACTION && busyCursor && message->message == WM_SETCURSOR) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    }
    return CallNextHookEx(cursorHook, code, wp, lp);
}

} // namespace

void SetApplicationBusyCursor(bool busy) {
    busyCursor = busy;
    if (busy && cursorHook == nullptr) {
        cursorHook =
            SetWindowsHookExW(WH_CALLWNDPROCRET, AfterSetCursor, nullptr, GetCurrentThreadId());
    } else if (!busy && cursorHook != nullptr) {
        UnhookWindowsHookEx(cursorHook);
        cursorHook = nullptr;
    }
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

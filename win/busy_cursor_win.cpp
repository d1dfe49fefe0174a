#include "win/busy_cursor_win.h"

namespace qv {

namespace {

// Runs after every window of this thread has answered WM_SETCURSOR: the popup, the dialogs,
// the message boxes and their controls all end with the hourglass. Installed only while busy.
LRESULT CALLBACK AfterSetCursor(int code, WPARAM wp, LPARAM lp) {
    const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lp);
    if (code == HC_ACTION && message->message == WM_SETCURSOR) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

} // namespace

void BusyCursor::Set(bool busy) {
    busy_ = busy;
    if (busy && hook_ == nullptr) {
        hook_ = SetWindowsHookExW(WH_CALLWNDPROCRET, AfterSetCursor, nullptr, GetCurrentThreadId());
    } else if (!busy) {
        Unhook();
    }
    SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

bool BusyCursor::ShowIfBusy() const {
    if (!busy_) {
        return false;
    }
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    return true;
}

void BusyCursor::Unhook() {
    if (hook_ != nullptr) {
        UnhookWindowsHookEx(hook_);
        hook_ = nullptr;
    }
}

} // namespace qv

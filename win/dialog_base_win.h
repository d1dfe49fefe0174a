// Base for the program's dialogs: a real dialog window (so Tab, default buttons and
// IsDialogMessage behave as users expect) made from an empty in-memory template, with its
// controls created in code at pixel positions. The C++ object outlives its window: closing
// the window only clears the handle, and the next use builds it again. Every dialog is known to
// the message pump while its window lives, so Tab and Enter work in it during any wait.
#pragma once

#include "win/command_table_win.h"
#include "win/message_pump_win.h"

#include <windows.h>

#include <string_view>

namespace qv {

HWND CreateEmptyDialog(HWND owner, std::wstring_view title, DLGPROC procedure, LPARAM param);
// Gives the dialog this client size (pixels) and centres it over `owner` (or the screen).
void PlaceDialog(HWND dialog, HWND owner, int clientWidth, int clientHeight);

// The form's handlers get WM_COMMAND decoded by its command table.
template <typename Derived> class DialogBase : protected CommandTable {
  public:
    HWND Handle() const { return hwnd_; }
    bool IsOpen() const { return hwnd_ != nullptr && IsWindow(hwnd_); }

  protected:
    DialogBase() = default;
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;
    ~DialogBase() {
        if (hwnd_ != nullptr && IsWindow(hwnd_)) {
            SetWindowLongPtrW(hwnd_, DWLP_USER, 0); // the window must not reach a dead object
        }
    }

    bool CreateDialogWindow(HWND owner, std::wstring_view title) {
        return CreateEmptyDialog(owner, title, &DialogBase::DialogProc,
                                 reinterpret_cast<LPARAM>(this)) != nullptr;
    }

    HWND hwnd_ = nullptr;

  private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        Derived* self = nullptr;
        if (msg == WM_INITDIALOG) {
            auto* base = reinterpret_cast<DialogBase*>(lp);
            base->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, DWLP_USER, lp);
            MessagePump::Instance().AddDialog(hwnd);
            self = static_cast<Derived*>(base);
        } else {
            self = static_cast<Derived*>(
                reinterpret_cast<DialogBase*>(GetWindowLongPtrW(hwnd, DWLP_USER)));
        }
        if (msg == WM_NCDESTROY) {
            MessagePump::Instance().RemoveDialog(hwnd);
        }
        if (self == nullptr) {
            return FALSE;
        }
        INT_PTR result = FALSE;
        try {
            if (msg == WM_COMMAND) {
                self->RunCommand(wp);
                result = TRUE;
            } else {
                result = self->HandleDialogMessage(msg, wp, lp);
            }
        } catch (...) {
            result = FALSE;
        }
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, DWLP_USER, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    }
};

} // namespace qv

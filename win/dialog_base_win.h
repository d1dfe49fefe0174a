// Base for the program's dialogs: a real dialog window (so Tab, default buttons and
// IsDialogMessage behave as users expect) made from an empty in-memory template, with its
// controls created in code at pixel positions. The C++ object outlives its window: closing
// the window only clears the handle, and the next use builds it again. Every dialog is known to
// the message pump while its window lives, so Tab and Enter work in it during any wait.
#pragma once

#include "win/message_pump_win.h"

#include <windows.h>

#include <functional>
#include <string_view>
#include <vector>

namespace qv {

HWND CreateEmptyDialog(HWND owner, std::wstring_view title, DLGPROC procedure, LPARAM param);
// Gives the dialog this client size (pixels) and centres it over `owner` (or the screen).
void PlaceDialog(HWND dialog, HWND owner, int clientWidth, int clientHeight);

// The form's handlers get WM_COMMAND decoded: each (control id, notification) pair that a form
// binds runs its handler; every other command is ignored. BN_CLICKED and STN_CLICKED are the
// same notification, so `OnClick` serves buttons and notifying labels alike.
template <typename Derived> class DialogBase {
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

    void OnCommand(int id, WORD notification, std::function<void()> handler) {
        commands_.push_back(Command{id, notification, std::move(handler)});
    }
    void OnClick(int id, std::function<void()> handler) {
        OnCommand(id, BN_CLICKED, std::move(handler));
    }

    bool CreateDialogWindow(HWND owner, std::wstring_view title) {
        return CreateEmptyDialog(owner, title, &DialogBase::DialogProc,
                                 reinterpret_cast<LPARAM>(this)) != nullptr;
    }

    HWND hwnd_ = nullptr;

  private:
    struct Command {
        int id;
        WORD notification;
        std::function<void()> handler;
    };

    void RunCommand(WORD id, WORD notification) {
        for (const Command& command : commands_) {
            if (command.id == id && command.notification == notification) {
                command.handler();
                return;
            }
        }
    }

    std::vector<Command> commands_;

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
                self->RunCommand(LOWORD(wp), HIWORD(wp));
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

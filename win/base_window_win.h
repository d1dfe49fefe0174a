// Base for the program's top-level windows: registers the class once, stores `this` at
// WM_NCCREATE and forwards messages to the derived class. WM_COMMAND goes through the window's
// command table first. No exception leaves WndProc.
#pragma once

#include "win/command_table_win.h"
#include "win/message_pump_win.h"

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

namespace qv {

enum class IconSize { Large, Small };

// The program's icon at the system's large or small icon size, for window classes and
// WM_SETICON: the exe's first icon resource (the one Explorer shows), or the system's
// program icon when the module has none. Shared icons: the system owns them.
HICON ProgramIcon(IconSize size);

// Registers a window class of the program (arrow cursor, dialog-face background, the program's
// icons) unless it exists. False when it can be neither found nor registered.
bool RegisterProgramClass(const wchar_t* className, WNDPROC procedure);

template <typename Derived> class BaseWindow : protected CommandTable {
  public:
    HWND Handle() const { return hwnd_; }

    // Runs `task` from the message loop, after whatever the program is doing now and never
    // inside a wait: for work that must not run inside the operation that asks for it (a
    // message box). Dropped when the window is gone.
    void PostTask(std::function<void()> task) {
        if (hwnd_ != nullptr) {
            tasks_.push_back(std::move(task));
            PostMessageW(hwnd_, RunTasksMessage(), 0, 0);
        }
    }

  protected:
    BaseWindow() = default;
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;
    ~BaseWindow() = default;

    bool CreateTopLevel(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle,
                        int width, int height, HMENU menu, HWND owner) {
        if (!RegisterProgramClass(className, &BaseWindow::WndProc)) {
            return false;
        }
        return CreateWindowExW(exStyle, className, title, style, CW_USEDEFAULT, CW_USEDEFAULT,
                               width, height, owner, menu, GetModuleHandleW(nullptr),
                               this) != nullptr;
    }

    HWND hwnd_ = nullptr;

  private:
    LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_COMMAND && RunCommand(wp)) {
            return 0;
        }
        if (msg == RunTasksMessage()) {
            for (const auto& task : std::exchange(tasks_, {})) {
                task();
            }
            return 0;
        }
        return static_cast<Derived*>(this)->HandleMessage(msg, wp, lp);
    }

    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        BaseWindow* self = nullptr;
        if (msg == WM_NCCREATE) {
            self = static_cast<BaseWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
            self->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<BaseWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        }
        if (self == nullptr) {
            return DefWindowProcW(hwnd, msg, wp, lp);
        }
        LRESULT result = 0;
        try {
            result = self->Dispatch(msg, wp, lp);
        } catch (...) {
            result = DefWindowProcW(hwnd, msg, wp, lp);
        }
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    }

    std::vector<std::function<void()>> tasks_;
};

} // namespace qv

// Base for the program's top-level windows: registers the class once, stores `this` at
// WM_NCCREATE and forwards messages to the derived class. No exception leaves WndProc.
#pragma once

#include <windows.h>

namespace qv {

enum class IconSize { Large, Small };

// The program's icon at the system's large or small icon size, for window classes and
// WM_SETICON: the exe's first icon resource (the one Explorer shows), or the system's
// program icon when the module has none. Shared icons: the system owns them.
HICON ProgramIcon(IconSize size);

template <typename Derived> class BaseWindow {
  public:
    HWND Handle() const { return hwnd_; }

  protected:
    BaseWindow() = default;
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;
    ~BaseWindow() = default;

    bool CreateTopLevel(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle,
                        int width, int height, HMENU menu, HWND owner) {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW wc{};
        if (!GetClassInfoExW(instance, className, &wc)) {
            wc = {};
            wc.cbSize = sizeof(wc);
            wc.lpfnWndProc = &BaseWindow::WndProc;
            wc.hInstance = instance;
            wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
            wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
            wc.lpszClassName = className;
            wc.hIcon = ProgramIcon(IconSize::Large);
            wc.hIconSm = ProgramIcon(IconSize::Small);
            if (!RegisterClassExW(&wc)) {
                return false;
            }
        }
        return CreateWindowExW(exStyle, className, title, style, CW_USEDEFAULT, CW_USEDEFAULT,
                               width, height, owner, menu, instance, this) != nullptr;
    }

    HWND hwnd_ = nullptr;

  private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        Derived* self = nullptr;
        if (msg == WM_NCCREATE) {
            auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
            self = static_cast<Derived*>(static_cast<BaseWindow*>(cs->lpCreateParams));
            self->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        }
        if (self == nullptr) {
            return DefWindowProcW(hwnd, msg, wp, lp);
        }
        LRESULT result = 0;
        try {
            result = self->HandleMessage(msg, wp, lp);
        } catch (...) {
            result = DefWindowProcW(hwnd, msg, wp, lp);
        }
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    }
};

} // namespace qv

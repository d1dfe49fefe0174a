// Base for the program's top-level windows: registers the class once, stores `this` at
// WM_NCCREATE and forwards messages to the derived class. No exception leaves WndProc.
#pragma once

#include <windows.h>

#include <string>

namespace qv {

enum class IconSize { Large, Small };

// The program's icon at the system's large or small icon size, for window classes and
// WM_SETICON: the exe's first icon resource (the one Explorer shows), or the system's
// program icon when the module has none. Shared icons: the system owns them.
inline HICON ProgramIcon(IconSize size) {
    struct Icons {
        HICON largeIcon = nullptr;
        HICON smallIcon = nullptr;
    };
    static const Icons icons = [] {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        // The name of the first icon group: an integer id, or a string copied out of the
        // enumeration (its pointer is only valid during the callback).
        struct First {
            LPCWSTR id = nullptr;
            std::wstring name;
        } first;
        EnumResourceNamesW(
            instance, RT_GROUP_ICON,
            [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) -> BOOL {
                auto* f = reinterpret_cast<First*>(param);
                if (IS_INTRESOURCE(name)) {
                    f->id = name;
                } else {
                    f->name = name;
                }
                return FALSE;
            },
            reinterpret_cast<LONG_PTR>(&first));
        const LPCWSTR name = first.name.empty() ? first.id : first.name.c_str();
        Icons loaded;
        for (bool isSmall : {false, true}) {
            const int cx = GetSystemMetrics(isSmall ? SM_CXSMICON : SM_CXICON);
            const int cy = GetSystemMetrics(isSmall ? SM_CYSMICON : SM_CYICON);
            HANDLE icon = name != nullptr
                              ? LoadImageW(instance, name, IMAGE_ICON, cx, cy, LR_SHARED)
                              : nullptr;
            if (icon == nullptr) {
                icon = LoadImageW(nullptr, IDI_APPLICATION, IMAGE_ICON, cx, cy, LR_SHARED);
            }
            (isSmall ? loaded.smallIcon : loaded.largeIcon) = static_cast<HICON>(icon);
        }
        return loaded;
    }();
    return size == IconSize::Small ? icons.smallIcon : icons.largeIcon;
}

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

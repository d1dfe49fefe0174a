#include "win/base_window_win.h"

#include <string>

namespace qv {

namespace {

struct Icons {
    HICON largeIcon = nullptr;
    HICON smallIcon = nullptr;
};

// The name of the exe's first icon group: an integer id, or a string copied out of the
// enumeration (its pointer is only valid during the callback). Empty when there is none.
struct FirstIconGroup {
    LPCWSTR id = nullptr;
    std::wstring name;
    LPCWSTR Name() const { return name.empty() ? id : name.c_str(); }
};

BOOL CALLBACK TakeFirstName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
    auto* first = reinterpret_cast<FirstIconGroup*>(param);
    if (IS_INTRESOURCE(name)) {
        first->id = name;
    } else {
        first->name = name;
    }
    return FALSE;
}

Icons LoadProgramIcons() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    FirstIconGroup first;
    EnumResourceNamesW(instance, RT_GROUP_ICON, TakeFirstName, reinterpret_cast<LONG_PTR>(&first));
    Icons loaded;
    for (bool isSmall : {false, true}) {
        const int cx = GetSystemMetrics(isSmall ? SM_CXSMICON : SM_CXICON);
        const int cy = GetSystemMetrics(isSmall ? SM_CYSMICON : SM_CYICON);
        HANDLE icon = first.Name() != nullptr
                          ? LoadImageW(instance, first.Name(), IMAGE_ICON, cx, cy, LR_SHARED)
                          : nullptr;
        if (icon == nullptr) {
            icon = LoadImageW(nullptr, IDI_APPLICATION, IMAGE_ICON, cx, cy, LR_SHARED);
        }
        (isSmall ? loaded.smallIcon : loaded.largeIcon) = static_cast<HICON>(icon);
    }
    return loaded;
}

} // namespace

HICON ProgramIcon(IconSize size) {
    static const Icons icons = LoadProgramIcons();
    return size == IconSize::Small ? icons.smallIcon : icons.largeIcon;
}

bool RegisterProgramClass(const wchar_t* className, WNDPROC procedure) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    if (GetClassInfoExW(instance, className, &wc)) {
        return true;
    }
    wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = className;
    wc.hIcon = ProgramIcon(IconSize::Large);
    wc.hIconSm = ProgramIcon(IconSize::Small);
    return RegisterClassExW(&wc) != 0;
}

} // namespace qv

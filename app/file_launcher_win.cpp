#include "app/file_launcher_win.h"

#include <windows.h>

#include <shellapi.h>
#include <string>

namespace qv {

bool Win32Launcher::FileExists(std::wstring_view path) {
    return qv::FileExists(std::filesystem::path(std::wstring(path)));
}

bool Win32Launcher::ShellOpen(std::wstring_view target) {
    // The wide call: a path outside code page 932 reaches the shell unchanged. A result above
    // 32 means the shell handed the target on.
    const HINSTANCE result = ShellExecuteW(nullptr, L"open", std::wstring(target).c_str(), nullptr,
                                           nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

void Win32Launcher::SetBusyCursor(bool busy) {
    cursor_.Set(busy);
}

} // namespace qv

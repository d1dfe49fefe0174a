#include "app/win_util_win.h"

#include <mmsystem.h>

#include <vector>

namespace qv {

std::filesystem::path ProgramFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) {
            return std::filesystem::current_path();
        }
        if (n < buffer.size()) {
            return std::filesystem::path(std::wstring(buffer.data(), n)).parent_path();
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

HFONT CreateTerminalFont(int height, int weight, bool underline) {
    return CreateFontW(height, 0, 0, 0, weight, FALSE, underline ? TRUE : FALSE, FALSE,
                       SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       FIXED_PITCH | FF_MODERN, L"Terminal");
}

int FontHeightForPoints(int points) {
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    return height;
}

void MessageBoxSink::ShowMessage(std::wstring_view text, std::wstring_view title) {
    const HWND owner = (owner_ != nullptr && IsWindow(owner_)) ? owner_ : nullptr;
    MessageBoxW(owner, std::wstring(text).c_str(), std::wstring(title).c_str(),
                MB_OK | MB_SETFOREGROUND);
}

LocalTime SystemClock::Now() {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    return LocalTime{st.wYear,   st.wMonth,  st.wDay,         st.wHour,
                     st.wMinute, st.wSecond, st.wMilliseconds};
}

std::uint32_t SystemClock::Milliseconds() {
    return timeGetTime();
}

} // namespace qv

#include "win/ui_win.h"

#include "win/handles_win.h"

#include <algorithm>
#include <optional>
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

void SetText(HWND control, std::wstring_view text) {
    SetWindowTextW(control, std::wstring(text).c_str());
}

HFONT CreateTerminalFont(int height, int weight, bool underline) {
    return CreateFontW(height, 0, 0, 0, weight, FALSE, underline ? TRUE : FALSE, FALSE,
                       SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       FIXED_PITCH | FF_MODERN, L"Terminal");
}

int FontHeightForPoints(int points) {
    return FontHeightForHundredthsOfPoint(points * 100);
}

int FontHeightForHundredthsOfPoint(int hundredths) {
    WindowDc screen(nullptr);
    return -MulDiv(hundredths, GetDeviceCaps(screen.get(), LOGPIXELSY), 7200);
}

HWND AddControl(HWND parent, const wchar_t* className, std::wstring_view text, DWORD style,
                DWORD exStyle, int x, int y, int width, int height, int id, HFONT font) {
    HWND child = CreateWindowExW(exStyle, className, std::wstring(text).c_str(),
                                 WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
    if (child != nullptr && font != nullptr) {
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    return child;
}

SIZE TextExtent(HWND window, HFONT font, std::wstring_view text) {
    WindowDc dc(window);
    if (!dc) {
        return SIZE{0, 0};
    }
    std::optional<ObjectSelection> selected;
    if (font != nullptr) {
        selected.emplace(dc.get(), font);
    }
    RECT r{0, 0, 0, 0};
    DrawTextW(dc.get(), text.data(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_NOPREFIX | DT_LEFT | DT_EXPANDTABS);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void FitLabelToText(HWND label) {
    if (label == nullptr) {
        return;
    }
    const std::wstring text = WindowText(label);
    auto* font = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
    // An empty caption still keeps one line's height, as an auto-sized label does.
    const SIZE size = TextExtent(label, font, text.empty() ? L" " : text);
    SetWindowPos(label, nullptr, 0, 0, text.empty() ? 0 : size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(label, nullptr, TRUE);
}

void GrowLabelToText(HWND label) {
    const std::wstring text = label != nullptr ? WindowText(label) : std::wstring();
    RECT r{};
    if (text.empty() || !GetWindowRect(label, &r)) {
        return;
    }
    auto* font = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
    const SIZE size = TextExtent(label, font, text);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (size.cx <= width && size.cy <= height) {
        return;
    }
    SetWindowPos(label, nullptr, 0, 0, std::max<int>(width, size.cx),
                 std::max<int>(height, size.cy), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(label, nullptr, TRUE);
}

void PaintEtchedRule(HDC dc, int left, int top, int right) {
    const RECT shadow{left, top, right, top + 1};
    const RECT highlight{left, top + 1, right, top + 2};
    FillRect(dc, &shadow, GetSysColorBrush(COLOR_3DSHADOW));
    FillRect(dc, &highlight, GetSysColorBrush(COLOR_3DHILIGHT));
}

} // namespace qv

#include "config/dialog_base_win.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace qv {

namespace {

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kDialogExStyle = WS_EX_DLGMODALFRAME;

// An empty template: no menu, the standard dialog class, the title, no controls. Held in
// DWORD-aligned storage as CreateDialogIndirect requires.
std::vector<DWORD> BuildTemplate(std::wstring_view title) {
    DLGTEMPLATE header{};
    header.style = kDialogStyle;
    header.dwExtendedStyle = kDialogExStyle;
    std::vector<WORD> words(sizeof(header) / sizeof(WORD));
    std::memcpy(words.data(), &header, sizeof(header));
    words.push_back(0); // menu
    words.push_back(0); // class
    words.insert(words.end(), title.begin(), title.end());
    words.push_back(0);
    std::vector<DWORD> aligned((words.size() * sizeof(WORD) + sizeof(DWORD) - 1) / sizeof(DWORD));
    std::memcpy(aligned.data(), words.data(), words.size() * sizeof(WORD));
    return aligned;
}

class WindowDc {
  public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_ != nullptr) {
            ReleaseDC(hwnd_, dc_);
        }
    }
    HDC Get() const { return dc_; }

  private:
    HWND hwnd_;
    HDC dc_;
};

std::wstring LabelText(HWND label) {
    const int length = GetWindowTextLengthW(label);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(label, text.data(), length + 1)));
    return text;
}

// The size of a label's (possibly multi-line) text in its own font; an empty caption still
// measures one line's height, as an auto-sized label keeps.
std::optional<SIZE> LabelTextSize(HWND label, const std::wstring& text) {
    WindowDc dc(label);
    if (dc.Get() == nullptr) {
        return std::nullopt;
    }
    auto* font = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
    const HGDIOBJ previous = font != nullptr ? SelectObject(dc.Get(), font) : nullptr;
    RECT r{0, 0, 0, 0};
    DrawTextW(dc.Get(), text.empty() ? L" " : text.c_str(), -1, &r,
              DT_CALCRECT | DT_NOPREFIX | DT_LEFT | DT_EXPANDTABS);
    if (previous != nullptr) {
        SelectObject(dc.Get(), previous);
    }
    return SIZE{r.right, r.bottom};
}

} // namespace

HWND CreateEmptyDialog(HWND owner, std::wstring_view title, DLGPROC procedure, LPARAM param) {
    const std::vector<DWORD> dialogTemplate = BuildTemplate(title);
    return CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                      reinterpret_cast<LPCDLGTEMPLATEW>(dialogTemplate.data()),
                                      owner, procedure, param);
}

void PlaceDialog(HWND dialog, HWND owner, int clientWidth, int clientHeight) {
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT area{};
    if (owner != nullptr && IsWindow(owner) && !IsIconic(owner)) {
        GetWindowRect(owner, &area);
    } else {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    }
    int x = area.left + (area.right - area.left - width) / 2;
    int y = area.top + (area.bottom - area.top - height) / 2;
    x = x < 0 ? 0 : x;
    y = y < 0 ? 0 : y;
    SetWindowPos(dialog, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
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

void FitLabelToText(HWND label) {
    if (label == nullptr) {
        return;
    }
    const std::wstring text = LabelText(label);
    const std::optional<SIZE> size = LabelTextSize(label, text);
    if (!size) {
        return;
    }
    SetWindowPos(label, nullptr, 0, 0, text.empty() ? 0 : size->cx, size->cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(label, nullptr, TRUE);
}

void GrowLabelToText(HWND label) {
    if (label == nullptr) {
        return;
    }
    const std::wstring text = LabelText(label);
    const std::optional<SIZE> size = text.empty() ? std::nullopt : LabelTextSize(label, text);
    RECT r{};
    if (!size || !GetWindowRect(label, &r)) {
        return;
    }
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (size->cx <= width && size->cy <= height) {
        return;
    }
    SetWindowPos(label, nullptr, 0, 0, std::max<int>(width, size->cx),
                 std::max<int>(height, size->cy), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(label, nullptr, TRUE);
}

void SetText(HWND control, std::wstring_view text) {
    SetWindowTextW(control, std::wstring(text).c_str());
}

} // namespace qv

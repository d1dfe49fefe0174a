#include "app/form_popup_win.h"

#include "services/popup_layout.h"
#include "win/ui_win.h"

#include <commctrl.h>

namespace qv {

namespace {

constexpr wchar_t kClassName[] = L"QuorvaneFormPopup";
constexpr wchar_t kDefaultTitle[] = L"メッセージ ";
// Designed client area 4680 x 720 twips; the label starts at 90, 240.
constexpr int kClientWidth = 312, kClientHeight = 48;
constexpr int kLabelLeft = 6, kLabelTop = 16;

} // namespace

bool FormPopup::EnsureWindow() {
    if (hwnd_ != nullptr) {
        return true;
    }
    RECT r{0, 0, kClientWidth, kClientHeight};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    AdjustWindowRectEx(&r, style, FALSE, 0);
    if (!CreateTopLevel(kClassName, kDefaultTitle, style, WS_EX_APPWINDOW, r.right - r.left,
                        r.bottom - r.top, nullptr, nullptr)) {
        return false;
    }
    windowFont_.reset(CreateTerminalFont(FontHeightForPoints(10)));
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(windowFont_.get()), FALSE);
    lblPopUpMsg_ = AddControl(hwnd_, WC_STATICW, L"", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0,
                              kLabelLeft, kLabelTop, 301, 18, 0, nullptr);
    return lblPopUpMsg_ != nullptr;
}

void FormPopup::ShowPopupMessage(std::wstring_view text, std::wstring_view title,
                                 std::int32_t fontSize) {
    if (!EnsureWindow()) {
        return;
    }
    SetWindowTextW(hwnd_, title.empty() ? kDefaultTitle : std::wstring(title).c_str());
    SetFontSize(fontSize);
    SetMessage(text);
    // In front of the other windows, but the keyboard stays where the user has it.
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    shown_ = true;
}

void FormPopup::HidePopupMessage() {
    if (EnsureWindow()) {
        ShowWindow(hwnd_, SW_HIDE);
    }
    shown_ = false;
}

void FormPopup::SetFontSize(int points) {
    labelFont_.reset(CreateTerminalFont(FontHeightForPoints(points), FW_BOLD));
    SendMessageW(lblPopUpMsg_, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont_.get()), FALSE);
}

void FormPopup::SetMessage(std::wstring_view text) {
    message_ = text;
    if (lblPopUpMsg_ == nullptr) {
        return;
    }
    SetWindowTextW(lblPopUpMsg_, message_.c_str());
    Relayout();
}

void FormPopup::Relayout() {
    // The label sizes itself to its text (one of the close-request answers has two lines).
    const SIZE extent = TextExtent(lblPopUpMsg_, labelFont_.get(), message_);
    const Size2 label{extent.cx, extent.cy};
    SetWindowPos(lblPopUpMsg_, nullptr, 0, 0, label.width, label.height, SWP_NOMOVE | SWP_NOZORDER);
    RECT window{}, client{};
    GetWindowRect(hwnd_, &window);
    GetClientRect(hwnd_, &client);
    const PopupPlacement p =
        PlacePopupLabel({window.right - window.left, window.bottom - window.top},
                        {client.right, client.bottom}, label);
    if (p.grow) {
        SetWindowPos(hwnd_, nullptr, 0, 0, p.windowSize.width, p.windowSize.height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetWindowPos(lblPopUpMsg_, nullptr, p.labelLeft, p.labelTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RedrawWindow(lblPopUpMsg_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void FormPopup::OnUserCloseRequest() {
    // The popup stays until the program hides it; the user's close is only answered. A quit
    // during the answer's waits leaves nothing more to do.
    (void)closeRequests_.PlayCloseRequestStep(*this, waiter_);
}

void FormPopup::RepaintLabel() {
    if (lblPopUpMsg_ != nullptr) {
        RedrawWindow(lblPopUpMsg_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
}

LRESULT FormPopup::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SYSCOMMAND:
        if ((wp & 0xFFF0) == SC_CLOSE) {
            OnUserCloseRequest();
            return 0;
        }
        break;
    case WM_CLOSE:
        // Only the user's close command arrives as SC_CLOSE; any other request (the program
        // ending) goes through.
        DestroyWindow(hwnd_);
        return 0;
    case WM_NCDESTROY:
        lblPopUpMsg_ = nullptr;
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

} // namespace qv

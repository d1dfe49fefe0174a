#include "app/form_mini_win.h"

#include "capture/capture_region.h"
#include "win/ui_win.h"

#include <algorithm>
#include <commctrl.h>
#include <string>

namespace qv {

namespace {

constexpr wchar_t kClassName[] = L"QuorvaneFormMini";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
// Over the game, without a taskbar button, and never the active window.
constexpr DWORD kExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
constexpr int kMargin = 8;
constexpr int kPauseId = 1;
constexpr int kDragTickMs = 15;
// The widest figure the window is sized for.
constexpr wchar_t kWidestFigure[] = L"000,000,000,000";

// One line of the window: the figure's name, and the figure beside it in large digits.
struct Row {
    const wchar_t* heading;
    std::wstring MiniFigures::*figure;
};
constexpr Row kRows[] = {
    {L"増加量", &MiniFigures::increase},
    {L"時給", &MiniFigures::expPerHour},
    {L"直近10分", &MiniFigures::lastTenMinutes},
    {L"次のLvまで", &MiniFigures::toNextLevel},
};

ScreenRect ScreenRectOf(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

ScreenRect WindowPlace(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return ScreenRectOf(r);
}

// The work area of the monitor that shows most of `r`.
ScreenRect WorkAreaAround(const ScreenRect& r) {
    const RECT area{r.left, r.top, r.right, r.bottom};
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(MonitorFromRect(&area, MONITOR_DEFAULTTONEAREST), &info)) {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
    }
    return ScreenRectOf(info.rcWork);
}

ScreenRect PrimaryWorkArea() {
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return ScreenRectOf(area);
}

// Labels are set only when their text changes: a label set every second would flicker.
void SetTextIfChanged(HWND control, const std::wstring& text) {
    if (WindowText(control) != text) {
        SetText(control, text);
    }
}

} // namespace

bool FormMini::EnsureWindow() {
    if (hwnd_ != nullptr) {
        return true;
    }
    headingFont_.reset(CreateTerminalFont(FontHeightForPoints(9)));
    figureFont_.reset(CreateTerminalFont(FontHeightForPoints(16), FW_BOLD));
    // No owner: the window stays when the main window is minimised.
    if (!CreateTopLevel(kClassName, kMiniTitle, kStyle, kExStyle, 100, 100, nullptr, nullptr)) {
        return false;
    }
    AddControls();
    OnClick(kPauseId, [this] { cmdPause_Click(); });
    return true;
}

// Sized from the fonts, so that a substituted font never cuts a figure.
void FormMini::AddControls() {
    const SIZE heading = TextExtent(hwnd_, headingFont_.get(), L"次のLvまで");
    const SIZE figure = TextExtent(hwnd_, figureFont_.get(), kWidestFigure);
    const int headingWidth = heading.cx + kMargin, rowHeight = figure.cy + 4;
    int top = kMargin;
    for (std::size_t i = 0; i < std::size(kRows); ++i, top += rowHeight) {
        AddControl(hwnd_, WC_STATICW, kRows[i].heading, SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE, 0,
                   kMargin, top, headingWidth, rowHeight, 0, headingFont_.get());
        figures_[i] =
            AddControl(hwnd_, WC_STATICW, kUnknownFigure, SS_RIGHT | SS_NOPREFIX | SS_CENTERIMAGE,
                       0, kMargin + headingWidth, top, figure.cx, rowHeight, 0, figureFont_.get());
    }
    const SIZE caption = TextExtent(hwnd_, headingFont_.get(), kPauseCaption);
    const int buttonWidth = std::max<int>(caption.cx + 24, 96), buttonHeight = caption.cy + 12;
    const int clientWidth = kMargin + headingWidth + figure.cx + kMargin;
    top += kMargin / 2;
    cmdPause_ = AddControl(hwnd_, WC_BUTTONW, kPauseCaption, BS_PUSHBUTTON | WS_TABSTOP, 0,
                           clientWidth - kMargin - buttonWidth, top, buttonWidth, buttonHeight,
                           kPauseId, headingFont_.get());
    RECT r{0, 0, clientWidth, top + buttonHeight + kMargin};
    AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
    SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool FormMini::Show() {
    if (!EnsureWindow()) {
        return false;
    }
    ShowFigures();
    // Position not stored: a hidden window opens at its corner again.
    UINT flags = SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW;
    ScreenRect at{};
    if (IsWindowVisible(hwnd_)) {
        flags |= SWP_NOMOVE;
    } else {
        at = Place();
    }
    SetWindowPos(hwnd_, HWND_TOPMOST, at.left, at.top, 0, 0, flags);
    return true;
}

void FormMini::OnRecord(const MeasurementRecord&, RecordEvent) {
    if (hwnd_ == nullptr) {
        return;
    }
    ShowFigures();
    if (!IsWindowVisible(hwnd_)) {
        return;
    }
    const ScreenRect now = WindowPlace(hwnd_);
    const ScreenRect clear = ClearOfRegion(now);
    if (clear != now) {
        SetWindowPos(hwnd_, nullptr, clear.left, clear.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void FormMini::Destroy() {
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_);
    }
}

void FormMini::ShowFigures() {
    const MiniFigures f = MiniFiguresOf(record_);
    for (std::size_t i = 0; i < std::size(kRows); ++i) {
        SetTextIfChanged(figures_[i], f.*kRows[i].figure);
    }
    SetTextIfChanged(cmdPause_, f.pauseCaption);
    EnableWindow(cmdPause_, f.pauseEnabled ? TRUE : FALSE);
}

std::optional<ScreenRect> FormMini::GameClientOnScreen() const {
    HWND game = svc_.findGame ? svc_.findGame() : nullptr;
    if (game == nullptr || !IsWindowVisible(game) || IsIconic(game)) {
        return std::nullopt;
    }
    RECT client{};
    POINT origin{0, 0};
    if (!GetClientRect(game, &client) || !ClientToScreen(game, &origin)) {
        return std::nullopt;
    }
    return ScreenRect{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
}

// Region 2 is given in the game's client coordinates.
std::optional<ScreenRect> FormMini::RegionOnScreen() const {
    const std::optional<ScreenRect> client = GameClientOnScreen();
    const CaptureRegion& r = svc_.settings.captureRegions[kExpCaptureIndex];
    if (!client || r.width <= 0 || r.height <= 0) {
        return std::nullopt;
    }
    const int left = client->left + r.x, top = client->top + r.y;
    return ScreenRect{left, top, left + r.width, top + r.height};
}

ScreenRect FormMini::ClearOfRegion(const ScreenRect& proposed) const {
    const std::optional<ScreenRect> region = RegionOnScreen();
    return region ? KeepClearOfRegion(proposed, region, WorkAreaAround(*region)) : proposed;
}

ScreenRect FormMini::Place() const {
    const ScreenRect now = WindowPlace(hwnd_);
    const std::optional<ScreenRect> game = GameClientOnScreen();
    return OpeningPlace(now.Width(), now.Height(), game, RegionOnScreen(),
                        game ? WorkAreaAround(*game) : PrimaryWorkArea());
}

LRESULT FormMini::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_MOUSEACTIVATE:
        // A click on the window or its button leaves the game the active window.
        return MA_NOACTIVATE;
    case WM_NCLBUTTONDOWN:
        if (wp == HTCAPTION) {
            Form_CaptionDown();
            return 0;
        }
        break;
    case WM_TIMER:
        if (timDrag_.Ticked(wp)) {
            timDrag_Timer();
        }
        return 0;
    case WM_WINDOWPOSCHANGING:
        Form_PositionChanging(*reinterpret_cast<WINDOWPOS*>(lp));
        break;
    case WM_CLOSE:
        Form_QueryUnload();
        return 0;
    case WM_NCDESTROY:
        figures_ = {};
        cmdPause_ = nullptr;
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

// The system's own drag by the caption activates the window it moves, and the game would lose
// the foreground. Nor does a window in the background get the mouse's messages once the mouse
// leaves it. So the window follows the mouse itself, asking where it is until the button is up.
void FormMini::Form_CaptionDown() {
    POINT cursor{};
    GetCursorPos(&cursor);
    const ScreenRect now = WindowPlace(hwnd_);
    dragOffset_ = POINT{cursor.x - now.left, cursor.y - now.top};
    timDrag_.Attach(hwnd_);
    timDrag_.SetInterval(kDragTickMs);
    timDrag_.SetEnabled(true);
}

void FormMini::timDrag_Timer() {
    POINT cursor{};
    GetCursorPos(&cursor);
    SetWindowPos(hwnd_, nullptr, cursor.x - dragOffset_.x, cursor.y - dragOffset_.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const int button = GetSystemMetrics(SM_SWAPBUTTON) != 0 ? VK_RBUTTON : VK_LBUTTON;
    if ((GetAsyncKeyState(button) & 0x8000) == 0) {
        timDrag_.SetEnabled(false);
    }
}

// Every move, a drag by the caption included, ends clear of region 2.
void FormMini::Form_PositionChanging(WINDOWPOS& pos) {
    if ((pos.flags & SWP_NOMOVE) != 0) {
        return;
    }
    const ScreenRect now = WindowPlace(hwnd_);
    const int width = (pos.flags & SWP_NOSIZE) != 0 ? now.Width() : pos.cx;
    const int height = (pos.flags & SWP_NOSIZE) != 0 ? now.Height() : pos.cy;
    const ScreenRect placed = ClearOfRegion({pos.x, pos.y, pos.x + width, pos.y + height});
    pos.x = placed.left;
    pos.y = placed.top;
}

void FormMini::Form_QueryUnload() {
    ShowWindow(hwnd_, SW_HIDE);
}

void FormMini::cmdPause_Click() {
    if (svc_.pause) {
        svc_.pause();
    }
}

} // namespace qv

#include "app/form_main_win.h"

#include "app/main_layout.h"
#include "measurement/status_panel.h"
#include "resources/resource_ids.h"
#include "services/program_identity.h"
#include "win/ui_win.h"

#include <utility>

namespace qv {

namespace {

constexpr wchar_t kClassName[] = L"QuorvaneFormMain";
constexpr int kDesignClientWidth = 280;
constexpr int kDesignClientHeight = 270;

POINT PointOf(LPARAM lp) {
    return POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
}

} // namespace

FormMain::FormMain(ProgramServices services, MainWindowEvents& events, const BusyCursor& busyCursor,
                   std::vector<MenuRow> menu)
    : svc_(std::move(services)), events_(events), busyCursor_(busyCursor), menu_(std::move(menu)) {}

std::wstring FormMain::CaptionText() {
    return kMainWindowTitle;
}

bool FormMain::CreateAndShow() {
    if (!CreateWindowAndControls()) {
        return false;
    }
    svc_.messages.SetOwner(hwnd_);
    SetWindowTextW(hwnd_, CaptionText().c_str());
    controls_.SetText(L"");
    UpdateStatusPanel(MeasurementRecord{}, controls_);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    KeepDesignedClientHeight();
    UpdateWindow(hwnd_);
    return true;
}

bool FormMain::CreateWindowAndControls() {
    RECT r{0, 0, kDesignClientWidth, kDesignClientHeight};
    const DWORD style = WS_OVERLAPPEDWINDOW;
    HMENU menu = BuildMenuBar(menu_, *this);
    AdjustWindowRectEx(&r, style, TRUE, 0);
    if (!CreateTopLevel(kClassName, CaptionText().c_str(), style, 0, r.right - r.left,
                        r.bottom - r.top, menu, nullptr)) {
        DestroyMenu(menu);
        return false;
    }
    controls_.Create(hwnd_);
    return true;
}

// Six items can wrap the menu bar onto a second row at the designed width; the window then
// grows by that row so the client area keeps its designed height. The bar's rows are known
// once the window is shown.
void FormMain::KeepDesignedClientHeight() {
    RECT client{};
    GetClientRect(hwnd_, &client);
    if (client.bottom >= kDesignClientHeight) {
        return;
    }
    RECT outer{};
    GetWindowRect(hwnd_, &outer);
    SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left,
                 outer.bottom - outer.top + kDesignClientHeight - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormMain::ShowMeasurementState(const MeasurementRecord& record) {
    const bool idle = !record.Running();
    HMENU menu = GetMenu(hwnd_);
    ModifyMenuW(menu, IDM_RUN, MF_BYCOMMAND | MF_STRING, IDM_RUN,
                idle ? kMenuRunCaption : kMenuRunningCaption);
    ModifyMenuW(menu, IDM_PAUSE, MF_BYCOMMAND | MF_STRING, IDM_PAUSE, PauseCaption(record));
    EnableMenuCommand(hwnd_, IDM_RUN, idle);
    EnableMenuCommand(hwnd_, IDM_STOP, !idle);
    EnableMenuCommand(hwnd_, IDM_PAUSE, !idle);
    DrawMenuBar(hwnd_);
}

LRESULT FormMain::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE:
        if (wp != SIZE_MINIMIZED) {
            Form_Resize();
        }
        return 0;
    case WM_PAINT:
        Form_Paint();
        return 0;
    case WM_CTLCOLORSTATIC:
        if (HBRUSH rule = controls_.RuleBrush(reinterpret_cast<HWND>(lp))) {
            return reinterpret_cast<LRESULT>(rule);
        }
        return DefWindowProcW(hwnd_, msg, wp, lp);
    case WM_SETCURSOR:
        if (busyCursor_.ShowIfBusy()) {
            return TRUE;
        }
        return DefWindowProcW(hwnd_, msg, wp, lp);
    case WM_LBUTTONDOWN:
        backgroundPressed_ = IsBareBackground(PointOf(lp));
        if (backgroundPressed_) {
            // Holding the mouse, the window hears the release wherever it comes.
            SetCapture(hwnd_);
            backgroundPressed_ = GetCapture() == hwnd_;
        }
        return 0;
    case WM_LBUTTONUP: {
        // A click is a press and a release on the background, not a release alone (the end of a
        // title-bar double click, a press that started on a control or outside the window).
        const bool pressed = std::exchange(backgroundPressed_, false);
        if (GetCapture() == hwnd_) {
            ReleaseCapture();
        }
        if (pressed && IsBareBackground(PointOf(lp))) {
            Form_Click();
        }
        return 0;
    }
    case WM_CAPTURECHANGED: // the mouse went elsewhere (a menu, a message box, another program)
        backgroundPressed_ = false;
        return 0;
    case WM_CANCELMODE:
        backgroundPressed_ = false;
        return DefWindowProcW(hwnd_, msg, wp, lp); // gives the mouse back
    case WM_TIMER:
        events_.OnTimer(wp);
        return 0;
    case WM_CLOSE:
        Form_QueryUnload();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0); // the main window gone, the program ends
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        // The session ends: the same closing as the close box. Windows may end the process as
        // soon as this returns, so the closing runs here, without waiting for anything.
        if (wp != FALSE && !svc_.state.shuttingDown) {
            Form_QueryUnload();
        }
        return 0;
    default:
        return DefWindowProcW(hwnd_, msg, wp, lp);
    }
}

void FormMain::Form_Resize() {
    if (IsIconic(hwnd_)) {
        return;
    }
    RECT client{};
    GetClientRect(hwnd_, &client);
    ClientSizeDecision size = ClampClientSize(client.right, client.bottom);
    // Snapping the outer size raises this handler again, nested; the guard keeps a frame that
    // cannot reach the minimum from recursing forever.
    if ((size.snapHeight || size.snapWidth) && resizeDepth_ < 2) {
        ++resizeDepth_;
        SnapToMinimumClientSize(size.snapWidth, size.snapHeight);
        --resizeDepth_;
        // Lay out for the size the window really has now.
        GetClientRect(hwnd_, &client);
        size.width = client.right;
        size.height = client.bottom;
    }
    InvalidateRect(hwnd_, nullptr, FALSE); // the etched rule under the menu bar
    controls_.Layout(size.width, size.height, svc_.state.settings.debugMode);
    svc_.debugLog.Write(L"Resaizing Form ･･･End ");
}

// The outer size follows from the frame the window has now: caption, borders and a menu bar
// that may wrap onto more lines when the window is narrow. The width goes first, because the
// menu bar's height depends on it.
void FormMain::SnapToMinimumClientSize(bool width, bool height) {
    const auto frameOf = [this] {
        RECT outer{}, client{};
        GetWindowRect(hwnd_, &outer);
        GetClientRect(hwnd_, &client);
        return std::pair{SIZE{outer.right - outer.left, outer.bottom - outer.top},
                         SIZE{client.right, client.bottom}};
    };
    constexpr UINT kFlags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    if (width) {
        const auto [outer, client] = frameOf();
        SetWindowPos(hwnd_, nullptr, 0, 0, outer.cx - client.cx + kMinClientSize, outer.cy, kFlags);
    }
    if (height) {
        const auto [outer, client] = frameOf();
        if (client.cy < kMinClientSize) {
            SetWindowPos(hwnd_, nullptr, 0, 0, outer.cx, outer.cy - client.cy + kMinClientSize,
                         kFlags);
        }
    }
}

void FormMain::RelayoutDebugArea() {
    if (IsIconic(hwnd_)) {
        return;
    }
    RECT client{};
    GetClientRect(hwnd_, &client);
    controls_.LayoutDebugArea(ClampClientSize(client.right, client.bottom).height,
                              svc_.state.settings.debugMode);
}

void FormMain::Form_Paint() {
    const PaintScope paint(hwnd_);
    RECT client{};
    GetClientRect(hwnd_, &client);
    PaintEtchedRule(paint.get(), 0, 0, client.right);
}

// No visible control under the point: the status panel's frame, a label, the log box or a
// pattern picture takes the click even when the control itself lets it through.
bool FormMain::IsBareBackground(POINT pt) const {
    return ChildWindowFromPointEx(hwnd_, pt, CWP_SKIPINVISIBLE) == hwnd_;
}

void FormMain::Form_Click() {
    controls_.RedrawFrame();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    events_.Click();
}

void FormMain::Form_QueryUnload() {
    svc_.state.shuttingDown = true;
    events_.EndMeasurement();
    svc_.debugLog.Write(L"End of the Program");
    events_.UnloadOtherWindows();
    DestroyWindow(hwnd_);
}

void FormMain::BringToFront() {
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
}

} // namespace qv

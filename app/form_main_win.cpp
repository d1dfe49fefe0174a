#include "app/form_main_win.h"

#include "app/main_layout.h"
#include "app/screen_print.h"
#include "config/config_file.h"
#include "recognition/glyph_pictures_win.h"
#include "resources/resource_ids.h"
#include "win/message_pump_win.h"

#include <commctrl.h>
#include <utility>

namespace qv {

namespace {

constexpr wchar_t kClassName[] = L"QuorvaneFormMain";
// Shows the message about the first picture that could not be saved.
constexpr UINT WM_APP_SAVE_FAILED = WM_APP + 1;
constexpr int kDesignClientWidth = 280;
constexpr int kDesignClientHeight = 270;
constexpr int kFrameLeft = 8, kFrameTop = 4;
constexpr int kLogLeft = 8, kLogTop = 152;

enum ControlId : int {
    IDC_FRAME1 = 100,
    IDC_LINE1,
    IDC_LINE2,
    IDC_LINE3,
    IDC_LINE4,
    IDC_LBL_TIME_T,
    IDC_LBL_EXP_T,
    IDC_LBL_START_T,
    IDC_LBL_END_T,
    IDC_LBL_START_TIME,
    IDC_LBL_START_EXP,
    IDC_LBL_END_TIME,
    IDC_LBL_END_EXP,
    IDC_LBL_ELAPSE_EXP,
    IDC_LBL_CAPTURE_T1,
    IDC_LBL_CAPTURE1,
    IDC_LBL_LOG_T,
    IDC_TXT_LOG,
    IDC_LBL_EXP_PER_HOUR,
    IDC_PIC_PATTERN1 = 200, // 200..210
    IDC_PIC_PATTERN2 = 220, // 220..230
};

enum class FontKind { Normal, Bold, Heading };

struct LabelSpec {
    int id;
    const wchar_t* text;
    int x, y, w, h; // relative to Frame1 when inFrame
    bool inFrame;
    DWORD align;
    FontKind font;
};

// The labels as designed; the value labels start empty (start-up clears them anyway).
constexpr LabelSpec kLabels[] = {
    {IDC_LBL_TIME_T, L"時 刻", 112, 12, 33, 13, true, SS_LEFTNOWORDWRAP, FontKind::Bold},
    {IDC_LBL_EXP_T, L"Exp", 224, 12, 22, 13, true, SS_LEFTNOWORDWRAP, FontKind::Bold},
    {IDC_LBL_START_T, L"開始：", 16, 32, 39, 13, true, SS_LEFTNOWORDWRAP, FontKind::Bold},
    {IDC_LBL_START_TIME, L"", 56, 32, 127, 13, true, SS_CENTER, FontKind::Normal},
    {IDC_LBL_START_EXP, L"", 187, 32, 66, 13, true, SS_RIGHT, FontKind::Normal},
    {IDC_LBL_END_T, L"最終：", 16, 48, 39, 13, true, SS_LEFTNOWORDWRAP, FontKind::Bold},
    {IDC_LBL_END_TIME, L"", 56, 48, 127, 13, true, SS_CENTER, FontKind::Normal},
    {IDC_LBL_END_EXP, L"", 187, 48, 66, 13, true, SS_RIGHT, FontKind::Normal},
    {IDC_LBL_ELAPSE_EXP, L"", 187, 68, 66, 13, true, SS_RIGHT, FontKind::Normal},
    {IDC_LBL_EXP_PER_HOUR, L"", 56, 68, 127, 13, true, SS_CENTER, FontKind::Normal},
    {IDC_LBL_CAPTURE_T1, L"Exp読込→", 64, 100, 54, 13, false, SS_LEFTNOWORDWRAP, FontKind::Normal},
    {IDC_LBL_CAPTURE1, L"", 120, 100, 123, 13, false, SS_LEFTNOWORDWRAP, FontKind::Normal},
    {IDC_LBL_LOG_T, L"測定結果", 8, 128, 64, 18, false, SS_LEFTNOWORDWRAP, FontKind::Heading},
};

// Etched rules of the panel: shadow line with a highlight line one pixel below.
struct LineSpec {
    int id;
    int y;
    int sysColor;
};
constexpr LineSpec kLines[] = {{IDC_LINE1, 28, COLOR_3DSHADOW},
                               {IDC_LINE2, 29, COLOR_3DHILIGHT},
                               {IDC_LINE3, 64, COLOR_3DSHADOW},
                               {IDC_LINE4, 65, COLOR_3DHILIGHT}};

constexpr int kPanelLabelIds[] = {IDC_LBL_START_TIME, IDC_LBL_START_EXP,  IDC_LBL_END_TIME,
                                  IDC_LBL_END_EXP,    IDC_LBL_ELAPSE_EXP, IDC_LBL_EXP_PER_HOUR};

POINT PointOf(LPARAM lp) {
    return POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
}

int OuterHeight(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r.bottom - r.top;
}

} // namespace

void CaptureTimer::SetInterval(std::int32_t milliseconds) {
    interval_ = milliseconds;
    if (enabled_) {
        SetEnabled(true);
    }
}

void CaptureTimer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (owner_ == nullptr) {
        return;
    }
    if (enabled && interval_ > 0) {
        SetTimer(owner_, kId, static_cast<UINT>(interval_), nullptr);
    } else {
        KillTimer(owner_, kId);
    }
}

FormMain::FormMain(MainWindowServices services)
    : svc_(std::move(services)),
      desktop_(svc_.state.captureBuffer,
               [this](const std::wstring& name) { OnPictureSaveFailed(name); }),
      popup_(svc_.state.popupShown, waiter_), popupPresenter_(popup_),
      recognition_(svc_.state, svc_.debugLog,
                   [this](std::wstring_view t) { SetCaptureCaption(t); }),
      formOption_(
          OptionDialogServices{
              svc_.state.settings, svc_.folder, svc_.messages, svc_.debugLog,
              [this] { RelayoutDebugArea(); }, [this] { UpdateCaptureBufferSize(); },
              [this] {
                  SetCaptureTimerPeriod(CaptureTimerPeriod(svc_.state.settings.captureInterval));
              },
              [this] { BringToFront(); }, [](HWND h) { MessagePump::Instance().AddDialog(h); },
              [](HWND h) { MessagePump::Instance().RemoveDialog(h); }},
          CaptureTestServices{svc_.state.glyphs, [this] { return FindGame(); },
                              std::wstring(kGameTitle) + kGameMissingSuffix}),
      launcher_(busyCursor_),
      formVersion_(launcher_, waiter_, svc_.messages, svc_.debugLog, busyCursor_),
      formGraph_(svc_.state.expSeries, [this] { return GraphCaption(); }) {}

std::wstring FormMain::CaptionText() {
    return kMainWindowTitle;
}

bool FormMain::Form_Load() {
    if (!IsFirstInstance()) {
        svc_.messages.ShowMessage(L"既にプログラムは起動しています。", kErrorTitle);
        return false;
    }
    svc_.debugLog.Write(std::wstring(L"Starting Program ") + kProgramVersion + L"･･･", L"INIT");
    if (!CreateWindowAndControls()) {
        return false;
    }
    svc_.messages.SetOwner(hwnd_);
    engine_.emplace(svc_.state,
                    MeasurementHost{*this, *this, *this, desktop_, waiter_, popupPresenter_,
                                    recognition_, svc_.clock, svc_.debugLog, svc_.folder});
    engine_->AddReadingListener(svc_.state.expSeries);
    SetWindowTextW(hwnd_, CaptionText().c_str());
    SetWindowTextW(txtLog_, L"");
    UpdateStatusPanel(PanelMode::INIT);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    KeepDesignedClientHeight();
    UpdateWindow(hwnd_);
    // Whatever the outcome the settings hold usable values, and a failed write has been shown.
    static_cast<void>(ProcessConfigFile(
        ConfigFileMode::READ,
        ConfigFileContext{svc_.state.settings, svc_.folder, svc_.messages,
                          [this] { UpdateCaptureBufferSize(); },
                          [this](std::wstring_view r) { svc_.debugLog.Write(r); }}));
    svc_.debugLog.Write(L"Reading ConfigFile･･･End ");
    if (!BuildGlyphPatterns()) {
        ShowGlyphBuildFailure(svc_.messages);
        return false;
    }
    svc_.debugLog.Write(L"PatternFile ChangeData･･･End ");
    svc_.debugLog.Write(L"Creating ExpDataTable･･･End ");
    SetCaptureTimerPeriod(CaptureTimerPeriod(svc_.state.settings.captureInterval));
    SetCaptureTimerEnabled(false);
    SetRunMenu(true, kMenuRunCaption);
    SetStopMenuEnabled(false);
    svc_.debugLog.Write(L"All Form Loading･･･End ");
    if (svc_.state.settings.autoStart) {
        if (engine_->SetMeasurementState(MeasurementMode::RUN) == WaitResult::Elapsed &&
            !svc_.state.shuttingDown) {
            svc_.debugLog.Write(L"Log AutoStart･･･ ");
        }
    }
    return true;
}

bool FormMain::IsFirstInstance() {
    // Held for the whole run; a second copy finds it already there and touches nothing.
    instanceMutex_ = KernelHandle(CreateMutexW(nullptr, FALSE, L"Local\\Quorvane.SingleInstance"));
    return instanceMutex_.Get() != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;
}

bool FormMain::CreateWindowAndControls() {
    RECT r{0, 0, kDesignClientWidth, kDesignClientHeight};
    const DWORD style = WS_OVERLAPPEDWINDOW;
    HMENU menu = BuildMenu();
    AdjustWindowRectEx(&r, style, TRUE, 0);
    if (!CreateTopLevel(kClassName, CaptionText().c_str(), style, 0, r.right - r.left,
                        r.bottom - r.top, menu, nullptr)) {
        DestroyMenu(menu);
        return false;
    }
    timCaptureInterval_.Attach(hwnd_);
    CreateControls();
    CreateGlyphPictures();
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

HMENU FormMain::BuildMenu() {
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, IDM_PRTSCR, L"プリントスクリーン");
    AppendMenuW(file, MF_STRING, IDM_END, L"終了");
    HMENU help = CreatePopupMenu();
    AppendMenuW(help, MF_STRING, IDM_VERSION, L"バージョン情報...");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"ファイル");
    AppendMenuW(bar, MF_STRING, IDM_OPTION, L"設定");
    AppendMenuW(bar, MF_STRING, IDM_RUN, kMenuRunCaption);
    AppendMenuW(bar, MF_STRING, IDM_STOP, L"停止");
    AppendMenuW(bar, MF_STRING, IDM_GRAPH, L"グラフ");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"ヘルプ");
    return bar;
}

void FormMain::CreateControls() {
    font_.reset(CreateTerminalFont(13, FW_NORMAL)); // 9.75 pt at 96 dpi
    boldFont_.reset(CreateTerminalFont(13, FW_BOLD));
    headingFont_.reset(CreateTerminalFont(18, FW_NORMAL)); // 13.5 pt
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);

    frame1_ = AddControl(hwnd_, WC_BUTTONW, L"測定状況", BS_GROUPBOX, 0, kFrameLeft, kFrameTop, 265,
                         85, IDC_FRAME1, font_.get());
    for (std::size_t i = 0; i < std::size(kLines); ++i) {
        lines_[i] = AddControl(hwnd_, WC_STATICW, L"", SS_LEFT, 0, kFrameLeft + 8,
                               kFrameTop + kLines[i].y, 248, 1, kLines[i].id, nullptr);
    }
    for (const LabelSpec& s : kLabels) {
        const int x = s.inFrame ? kFrameLeft + s.x : s.x;
        const int y = s.inFrame ? kFrameTop + s.y : s.y;
        HFONT f = s.font == FontKind::Bold      ? boldFont_.get()
                  : s.font == FontKind::Heading ? headingFont_.get()
                                                : font_.get();
        // SS_NOTIFY: a click on a label belongs to the label, not to the window background.
        HWND label = AddControl(hwnd_, WC_STATICW, s.text, s.align | SS_NOTIFY | SS_NOPREFIX, 0, x,
                                y, s.w, s.h, s.id, f);
        GrowLabelToText(label); // a substitute font wider than "Terminal" must not cut a caption
        for (std::size_t i = 0; i < std::size(kPanelLabelIds); ++i) {
            if (kPanelLabelIds[i] == s.id) {
                panelLabels_[i] = label;
            }
        }
        if (s.id == IDC_LBL_CAPTURE1) {
            lblCapture_[1] = label;
        }
    }
    txtLog_ = AddControl(hwnd_, WC_EDITW, L"",
                         ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL |
                             WS_HSCROLL,
                         WS_EX_CLIENTEDGE, kLogLeft, kLogTop, 265, 61, IDC_TXT_LOG, font_.get());
    SendMessageW(txtLog_, EM_SETLIMITTEXT, 0, 0);
}

void FormMain::CreateGlyphPictures() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    constexpr int kRowTop[2] = {220, 252};
    constexpr int kRowControlBase[2] = {IDC_PIC_PATTERN1, IDC_PIC_PATTERN2};
    for (int set = 0; set < 2; ++set) {
        for (int k = 0; k < kGlyphsPerSet; ++k) {
            patternBitmaps_[set][k] = LoadGlyphBitmap(instance, set, k);
            picPattern_[set][k] =
                CreateGlyphPicture(hwnd_, kRowControlBase[set] + k, patternBitmaps_[set][k].get(),
                                   8 + 24 * k, kRowTop[set]);
            ShowWindow(picPattern_[set][k], SW_HIDE);
        }
    }
}

bool FormMain::BuildGlyphPatterns() {
    return qv::BuildGlyphPatterns(ReadGlyphPictures(picPattern_),
                                  svc_.state.settings.captureRegions, svc_.state.glyphs,
                                  svc_.state.captureBuffer);
}

void FormMain::SetCaptureCaption(std::wstring_view text) {
    SetWindowTextW(lblCapture_[1], std::wstring(text).c_str());
    RedrawWindow(lblCapture_[1], nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

HWND FormMain::FindGame() {
    const std::optional<WindowId> game = desktop_.FindWindowByTitle(kGameTitle);
    return game ? reinterpret_cast<HWND>(*game) : nullptr;
}

void FormMain::UpdateCaptureBufferSize() {
    // The configuration file and the options dialog keep the regions within what the buffer
    // takes, so this is only a record of the impossible.
    if (!qv::UpdateCaptureBufferSize(svc_.state.settings.captureRegions, svc_.state.glyphs,
                                     svc_.state.captureBuffer)) {
        svc_.debugLog.Write(L"CaptureBuffer Resize Failed");
    }
}

void FormMain::SetRunMenu(bool enabled, std::wstring_view caption) {
    HMENU menu = GetMenu(hwnd_);
    ModifyMenuW(menu, IDM_RUN, MF_BYCOMMAND | MF_STRING, IDM_RUN, std::wstring(caption).c_str());
    EnableMenuItem(menu, IDM_RUN, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    DrawMenuBar(hwnd_);
}

void FormMain::SetStopMenuEnabled(bool enabled) {
    EnableMenuItem(GetMenu(hwnd_), IDM_STOP, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    DrawMenuBar(hwnd_);
}

void FormMain::SetCaptureTimerEnabled(bool enabled) {
    timCaptureInterval_.SetEnabled(enabled);
}

void FormMain::SetCaptureTimerPeriod(std::int32_t milliseconds) {
    timCaptureInterval_.SetInterval(milliseconds);
}

void FormMain::UpdateStatusPanel(PanelMode mode) {
    StatusPanelContext context{*this,
                               *this,
                               svc_.clock,
                               svc_.debugLog,
                               svc_.state.expReading,
                               svc_.state.measurement.logMark};
    qv::UpdateStatusPanel(mode, context);
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
        return OnCtlColorStatic(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    case WM_COMMAND:
        if (lp == 0) {
            OnCommand(LOWORD(wp));
        }
        return 0;
    case WM_SETCURSOR:
        if (busyCursor_.ShowIfBusy()) {
            return TRUE;
        }
        return DefWindowProcW(hwnd_, msg, wp, lp);
    case WM_LBUTTONDOWN:
        backgroundPressed_ = IsBareBackground(PointOf(lp));
        return 0;
    case WM_LBUTTONUP:
        // A click is a press and a release on the background, not a release alone (the end of a
        // title-bar double click, a press that started on a control).
        if (std::exchange(backgroundPressed_, false) && IsBareBackground(PointOf(lp))) {
            Form_Click();
        }
        return 0;
    case WM_TIMER:
        if (wp == CaptureTimer::kId && timCaptureInterval_.Enabled()) {
            engine_->timCaptureInterval_Timer();
            RefreshGraphIfBehind();
        }
        return 0;
    case WM_APP_SAVE_FAILED:
        ShowPictureSaveFailure();
        return 0;
    case WM_CLOSE:
        Form_QueryUnload();
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
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd_, msg, wp, lp);
    }
}

void FormMain::OnCommand(WORD id) {
    switch (id) {
    case IDM_PRTSCR:
        menuPrtScr_Click();
        break;
    case IDM_END:
        menuEnd_Click();
        break;
    case IDM_OPTION:
        menuOption_Click();
        break;
    case IDM_RUN:
        engine_->menuRun_Click();
        break;
    case IDM_STOP:
        engine_->menuStop_Click();
        break;
    case IDM_VERSION:
        menuVersion_Click();
        break;
    case IDM_GRAPH:
        menuGraph_Click();
        break;
    default:
        break;
    }
}

LRESULT FormMain::OnCtlColorStatic(HDC dc, HWND control) {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (control == lines_[i]) {
            return reinterpret_cast<LRESULT>(GetSysColorBrush(kLines[i].sysColor));
        }
    }
    return DefWindowProcW(hwnd_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                          reinterpret_cast<LPARAM>(control));
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
    for (HWND line : lines_) {
        InvalidateRect(line, nullptr, TRUE);
    }
    SetWindowPos(txtLog_, nullptr, 0, 0, LogBoxWidth(size.width), OuterHeight(txtLog_),
                 SWP_NOMOVE | SWP_NOZORDER);
    LayoutDebugArea(size.height);
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

void FormMain::LayoutDebugArea(int clientHeight) {
    std::array<int, kGlyphsPerSet> heights1{}, heights2{};
    for (int k = 0; k < kGlyphsPerSet; ++k) {
        heights1[k] = OuterHeight(picPattern_[0][k]);
        heights2[k] = OuterHeight(picPattern_[1][k]);
    }
    const DebugAreaLayout layout =
        ComputeDebugArea(clientHeight, svc_.state.settings.debugMode, kLogTop, heights1, heights2);
    for (int k = 0; k < kGlyphsPerSet; ++k) {
        const int show = layout.patternsVisible ? SW_SHOW : SW_HIDE;
        ShowWindow(picPattern_[0][k], show);
        ShowWindow(picPattern_[1][k], show);
        if (layout.patternsVisible) {
            SetWindowPos(picPattern_[0][k], nullptr, 8 + 24 * k, layout.row1Top[k], 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER);
            SetWindowPos(picPattern_[1][k], nullptr, 8 + 24 * k, layout.row2Top[k], 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER);
        }
    }
    RECT log{};
    GetWindowRect(txtLog_, &log);
    SetWindowPos(txtLog_, nullptr, 0, 0, log.right - log.left, layout.logHeight,
                 SWP_NOMOVE | SWP_NOZORDER);
}

void FormMain::Form_Paint() {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT client{};
    GetClientRect(hwnd_, &client);
    PaintEtchedRule(dc, 0, 0, client.right);
    EndPaint(hwnd_, &ps);
}

// No visible control under the point: the status panel's frame, a label, the log box or a
// pattern picture takes the click even when the control itself lets it through.
bool FormMain::IsBareBackground(POINT pt) const {
    return ChildWindowFromPointEx(hwnd_, pt, CWP_SKIPINVISIBLE) == hwnd_;
}

void FormMain::Form_Click() {
    RedrawWindow(frame1_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    UpdateStatusPanel(PanelMode::Latest);
}

void FormMain::Form_QueryUnload() {
    svc_.state.shuttingDown = true;
    UpdateStatusPanel(PanelMode::END);
    svc_.debugLog.Write(L"End of the Program");
    timCaptureInterval_.SetEnabled(false);
    if (popup_.Handle() != nullptr) {
        DestroyWindow(popup_.Handle());
    }
    formGraph_.Destroy();
    DestroyWindow(hwnd_);
}

// The message comes from the message loop, not from inside the save: the remaining pictures
// of a fall keep their timing while the box waits for the user.
void FormMain::OnPictureSaveFailed(const std::wstring& fileName) {
    if (firstSaveFailure_ || svc_.state.shuttingDown) {
        return;
    }
    firstSaveFailure_ = fileName;
    PostMessageW(hwnd_, WM_APP_SAVE_FAILED, 0, 0);
}

void FormMain::ShowPictureSaveFailure() {
    if (firstSaveFailure_ && !svc_.state.shuttingDown) {
        svc_.messages.ShowMessage(L"画像を保存できませんでした。\r\n" + *firstSaveFailure_,
                                  kErrorTitle);
    }
}

void FormMain::menuOption_Click() {
    formOption_.Show(hwnd_);
}

// One print at a time: a second one would save in the same second under the same name, so
// the item stays disabled until the waiting print has saved.
void FormMain::menuPrtScr_Click() {
    if (screenPrintWaiting_) {
        return;
    }
    screenPrintWaiting_ = true;
    EnableMenuItem(GetMenu(hwnd_), IDM_PRTSCR, MF_BYCOMMAND | MF_GRAYED);
    // A quit during the wait ends it without saving; nothing more to do here either way.
    (void)PrintScreenDelayed(ScreenPrintContext{desktop_, waiter_, svc_.clock, svc_.debugLog,
                                                svc_.state.settings, svc_.folder,
                                                [this] { BringToFront(); }});
    screenPrintWaiting_ = false;
    if (hwnd_ != nullptr) {
        EnableMenuItem(GetMenu(hwnd_), IDM_PRTSCR, MF_BYCOMMAND | MF_ENABLED);
    }
}

// Like "設定": opens the graph, or brings it to the front, at once.
void FormMain::menuGraph_Click() {
    graphRevision_ = svc_.state.expSeries.Revision();
    if (!formGraph_.Show()) {
        svc_.debugLog.Write(L"Graph window failed");
    }
}

// Readings happen inside the capture timer's tick; the graph follows after each one.
void FormMain::RefreshGraphIfBehind() {
    if (graphRevision_ != svc_.state.expSeries.Revision()) {
        graphRevision_ = svc_.state.expSeries.Revision();
        formGraph_.Refresh();
    }
}

// The increase and the hourly rate exactly as the status panel shows them.
std::wstring FormMain::GraphCaption() const {
    const std::wstring rate = Caption(PanelLabel::ExpPerHour);
    return L"増加量 " + Caption(PanelLabel::ElapseExp) + (rate.empty() ? L"" : L"    " + rate);
}

void FormMain::menuVersion_Click() {
    formVersion_.ShowModal(hwnd_);
}

// The debug area follows a change of debug mode at once, but not while minimised.
void FormMain::RelayoutDebugArea() {
    if (IsIconic(hwnd_)) {
        return;
    }
    RECT client{};
    GetClientRect(hwnd_, &client);
    LayoutDebugArea(ClampClientSize(client.right, client.bottom).height);
}

void FormMain::BringToFront() {
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
}

void FormMain::menuEnd_Click() {
    svc_.debugLog.Write(L"End of Program ");
    // Ends on the spot: no close request, no unload handling, nothing more written.
    ExitProcess(0);
}

std::wstring FormMain::Caption(PanelLabel label) const {
    return WindowText(panelLabels_[static_cast<std::size_t>(label)]);
}

void FormMain::SetCaption(PanelLabel label, std::wstring_view text) {
    SetWindowTextW(panelLabels_[static_cast<std::size_t>(label)], std::wstring(text).c_str());
}

void FormMain::RepaintPanel() {
    RedrawWindow(frame1_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    for (HWND label : panelLabels_) {
        RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
}

std::wstring FormMain::Text() const {
    return WindowText(txtLog_);
}

void FormMain::SetText(std::wstring_view text) {
    SetWindowTextW(txtLog_, std::wstring(text).c_str());
}

void FormMain::SetCaret(std::size_t position) {
    const auto length = static_cast<std::size_t>(GetWindowTextLengthW(txtLog_));
    const auto at = static_cast<WPARAM>(position < length ? position : length);
    SendMessageW(txtLog_, EM_SETSEL, at, static_cast<LPARAM>(at));
    SendMessageW(txtLog_, EM_SCROLLCARET, 0, 0);
}

void FormMain::RepaintNow() {
    RedrawWindow(txtLog_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

} // namespace qv

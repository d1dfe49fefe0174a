#include "config/form_option_win.h"

#include "config/config_file.h"
#include "config/form_input_check_win.h"
#include "recognition/learned_glyph_file.h"
#include "services/program_identity.h"

#include <commctrl.h>
#include <string>
#include <utility>

namespace qv {

namespace {

enum ControlId : int {
    IDC_CHK_BEEP = 101,
    IDC_CMD_SAVE,
    IDC_CMD_END,
    IDC_CHK_AUTO_START,
    IDC_CHK_DEBUG,
    IDC_CMD_CAPTURE,
    IDC_LBL_CAPTURE_INTERVAL,
    IDC_LBL_START_DELAY,
    IDC_PIC_CAPTURE_0, // picCapture(0) and (1)
    IDC_PIC_CAPTURE_1,
    IDC_CMD_LEARN_DIGITS,
    IDC_CMD_AUTO_SEARCH,
    // Region value labels: base + 2 * (x, y, width, height) + region index.
    IDC_LBL_REGION_BASE = 200,
};

// "数字を覚える" takes a row of its own under region 2's picture, which the dialog grew by.
constexpr int kClientWidthTwips = 8055, kClientHeightTwips = 5100;
constexpr int kRegionRowTwips = 1320; // region 2's rows lie this much lower than region 1's
constexpr int kDividerY = 120, kDividerMargin = 8;

int RegionLabelId(OptionField field, int region) {
    return IDC_LBL_REGION_BASE + 2 * static_cast<int>(field) + region;
}

bool IsTicked(HWND box) {
    return SendMessageW(box, BM_GETCHECK, 0, 0) != BST_UNCHECKED;
}

} // namespace

// Enter and Escape (IDOK, IDCANCEL) have no behaviour and stay unbound.
FormOption::FormOption(OptionDialogServices services, CaptureTestServices captureTest,
                       LearnDigitsServices learnDigits)
    : svc_(std::move(services)), captureTest_(svc_.settings, svc_.debugLog, captureTest),
      autoSearch_(captureTest), useGlyphs_(learnDigits.useGlyphs),
      formLearnDigits_(std::move(learnDigits)) {
    const std::pair<OptionField, void (FormOption::*)(int)> regionLabels[] = {
        {OptionField::RegionX, &FormOption::lblCapture_sx_Click},
        {OptionField::RegionY, &FormOption::lblCapture_sy_Click},
        {OptionField::RegionWidth, &FormOption::lblCapture_ex_Click},
        {OptionField::RegionHeight, &FormOption::lblCapture_ey_Click},
    };
    for (const auto& [field, click] : regionLabels) {
        const auto handler = click; // clang before 16 cannot capture a structured binding
        for (int region = 0; region < 2; ++region) {
            OnClick(RegionLabelId(field, region),
                    [this, handler, region] { (this->*handler)(region); });
        }
    }
    OnClick(IDC_LBL_CAPTURE_INTERVAL, [this] { lblCaptureInterval_Click(); });
    OnClick(IDC_LBL_START_DELAY, [this] { lblStartDelay_Click(); });
    OnClick(IDC_CHK_AUTO_START, [this] { chkAutoStart_Click(); });
    OnClick(IDC_CHK_BEEP, [this] { chkBeepBeep_Click(); });
    OnClick(IDC_CHK_DEBUG, [this] { chkDebug_Click(); });
    OnClick(IDC_CMD_SAVE, [this] { cmdSave_Click(); });
    OnClick(IDC_CMD_END, [this] { cmdEnd_Click(); });
    OnClick(IDC_CMD_CAPTURE, [this] { cmdCapture_Click(); });
    OnClick(IDC_CMD_LEARN_DIGITS, [this] { cmdLearnDigits_Click(); });
    OnClick(IDC_CMD_AUTO_SEARCH, [this] { cmdAutoSearch_Click(); });
}

bool FormOption::Show(HWND owner) {
    if (!Load(owner)) {
        return false;
    }
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
    BringWindowToTop(hwnd_);
    Form_Activate();
    return true;
}

bool FormOption::Load(HWND owner) {
    if (IsOpen()) {
        return true;
    }
    if (font_.get() == nullptr) {
        font_.reset(CreateTerminalFont(13));
    }
    controlsReady_ = false;
    if (!CreateDialogWindow(owner, L"オプション")) {
        return false;
    }
    PlaceDialog(hwnd_, owner, TwipsToPixels(kClientWidthTwips), TwipsToPixels(kClientHeightTwips));
    return true;
}

HWND FormOption::AddLabel(std::wstring_view text, int leftTwips, int topTwips, int widthTwips,
                          int heightTwips, int id) {
    HWND label =
        AddControl(hwnd_, WC_STATICW, text, SS_LEFT | SS_NOPREFIX, 0,
                   TwipsRect{leftTwips, topTwips, widthTwips, heightTwips}, id, font_.get());
    if (widthTwips == 0) {
        FitLabelToText(label); // an auto-sized caption
    }
    return label;
}

// SS_NOTIFY: the value labels are clicked to edit their setting.
HWND FormOption::AddValueLabel(int leftTwips, int topTwips, int id) {
    return AddControl(hwnd_, WC_STATICW, L"", SS_LEFT | SS_NOPREFIX | SS_NOTIFY, 0,
                      TwipsToPixels(leftTwips), TwipsToPixels(topTwips), 0, TwipsToPixels(195), id,
                      font_.get());
}

void FormOption::CreateControls() {
    const HFONT f = font_.get();
    constexpr DWORD frame = SS_BLACKFRAME;
    constexpr DWORD checkBox = BS_AUTOCHECKBOX | BS_MULTILINE | WS_TABSTOP; // long captions wrap
    constexpr DWORD button = BS_PUSHBUTTON | WS_TABSTOP;

    AddLabel(L"キャプチャ周期", 240, 210, 1260, 195);
    AddControl(hwnd_, WC_STATICW, L"", frame, 0, TwipsRect{1680, 120, 975, 375}, -1, f);
    lblCaptureInterval_ = AddValueLabel(2115, 210, IDC_LBL_CAPTURE_INTERVAL);
    AddLabel(L"秒", 2760, 210, 180, 195);
    chkBeepBeep_ = AddControl(hwnd_, WC_BUTTONW, L"キャプチャ時に音をならす", checkBox, 0,
                              TwipsRect{3120, 120, 2655, 315}, IDC_CHK_BEEP, f);
    AddControl(hwnd_, WC_BUTTONW, L"保 存", button, 0, TwipsRect{6000, 120, 855, 435}, IDC_CMD_SAVE,
               f);
    AddControl(hwnd_, WC_BUTTONW, L"戻 る", button, 0, TwipsRect{7080, 120, 855, 435}, IDC_CMD_END,
               f);
    chkAutoStart_ = AddControl(hwnd_, WC_BUTTONW, L"起動と同時にロギング開始", checkBox, 0,
                               TwipsRect{240, 630, 2655, 315}, IDC_CHK_AUTO_START, f);
    AddLabel(L"遅延時間", 3120, 690, 720, 195);
    AddControl(hwnd_, WC_STATICW, L"", frame, 0, TwipsRect{3960, 600, 975, 375}, -1, f);
    lblStartDelay_ = AddValueLabel(4350, 690, IDC_LBL_START_DELAY);
    AddLabel(L"秒", 5040, 690, 180, 195);
    AddLabel(L"保存しないと次回起動時に", 5880, 720, 0, 0);
    AddLabel(L"設定が引継がれません。", 5880, 960, 0, 0);
    chkDebug_ = AddControl(hwnd_, WC_BUTTONW, L"デバッグモード(遅くなります)", checkBox, 0,
                           TwipsRect{240, 1200, 1575, 375}, IDC_CHK_DEBUG, f);
    CreateRegionGroup(0);
    CreateRegionGroup(1);
    HWND cmdCapture = AddControl(hwnd_, WC_BUTTONW, L"テスト", button, 0,
                                 TwipsRect{4680, 2040, 975, 435}, IDC_CMD_CAPTURE, f);
    AddLabel(L"10秒後にキャプチャ", 5760, 2160, 0, 0);
    // Drawn by CaptureTest; their window text is the line drawn in them.
    std::array<HWND, 2> picCapture{};
    for (int i = 0; i < 2; ++i) {
        picCapture[static_cast<std::size_t>(i)] =
            AddControl(hwnd_, WC_STATICW, L"", SS_OWNERDRAW, WS_EX_CLIENTEDGE,
                       TwipsRect{4680, 2640 + 960 * i, 3255, 795}, IDC_PIC_CAPTURE_0 + i, f);
    }
    // Enabled once a test has captured region 2 from the game.
    cmdLearnDigits_ = AddControl(hwnd_, WC_BUTTONW, L"数字を覚える", button | WS_DISABLED, 0,
                                 TwipsRect{4680, 4500, 1455, 435}, IDC_CMD_LEARN_DIGITS, f);
    // Beside it, in the same row.
    HWND cmdAutoSearch = AddControl(hwnd_, WC_BUTTONW, L"自動で探す", button, 0,
                                    TwipsRect{6255, 4500, 1455, 435}, IDC_CMD_AUTO_SEARCH, f);
    captureTest_.Attach(hwnd_, cmdCapture, picCapture, f);
    autoSearch_.Attach(hwnd_, cmdAutoSearch);
    controlsReady_ = true;
}

void FormOption::CreateRegionGroup(int i) {
    const HFONT f = font_.get();
    const int dy = kRegionRowTwips * i;
    AddLabel(i == 0 ? L"キャプチャ領域1" : L"キャプチャ領域2", 240, 1980 + dy, 0, 0);
    struct Row {
        const wchar_t* title;
        int top;      // of the captions and values
        int frameTop; // of the boxes around the values
        OptionField first, second;
        std::array<HWND, 2>*firstLabels, *secondLabels;
        int secondLeft;
    };
    const Row rows[] = {
        {L"始点", 2310, 2220, OptionField::RegionX, OptionField::RegionY, &lblCapture_sx_,
         &lblCapture_sy_, 3600},
        {L"サイズ", 2790, 2700, OptionField::RegionWidth, OptionField::RegionHeight,
         &lblCapture_ex_, &lblCapture_ey_, 3645},
    };
    for (const Row& row : rows) {
        AddLabel(row.title, 1080, row.top + dy, 0, 0);
        AddLabel(L"X：", 1920, row.top + dy, 0, 0);
        AddLabel(L"Y：", 3120, row.top + dy, 0, 0);
        AddControl(hwnd_, WC_STATICW, L"", SS_BLACKFRAME, 0,
                   TwipsRect{2160, row.frameTop + dy, 735, 375}, -1, f);
        AddControl(hwnd_, WC_STATICW, L"", SS_BLACKFRAME, 0,
                   TwipsRect{3360, row.frameTop + dy, 735, 375}, -1, f);
        (*row.firstLabels)[i] = AddValueLabel(2400, row.top + dy, RegionLabelId(row.first, i));
        (*row.secondLabels)[i] =
            AddValueLabel(row.secondLeft, row.top + dy, RegionLabelId(row.second, i));
        AddLabel(L"pix", 4200, row.top + dy, 0, 0);
    }
}

void FormOption::ShowValue(HWND label, std::int32_t value) {
    SetText(label, std::to_wstring(value));
    FitLabelToText(label);
}

void FormOption::RefreshValues() {
    const Settings& s = svc_.settings;
    for (int i = 0; i < 2; ++i) {
        ShowValue(lblCapture_sx_[i], s.captureRegions[i].x);
        ShowValue(lblCapture_sy_[i], s.captureRegions[i].y);
        ShowValue(lblCapture_ex_[i], s.captureRegions[i].width);
        ShowValue(lblCapture_ey_[i], s.captureRegions[i].height);
    }
    ShowValue(lblCaptureInterval_, s.captureInterval);
    ShowValue(lblStartDelay_, s.startDelay);
}

// Setting a box to another state runs its click action, as a user's click would.
void FormOption::SyncBox(HWND box, bool value, void (FormOption::*click)()) {
    if (IsTicked(box) == value) {
        return;
    }
    SendMessageW(box, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    (this->*click)();
}

void FormOption::Form_Activate() {
    if (!controlsReady_) {
        return;
    }
    RefreshValues();
    SyncBox(chkAutoStart_, svc_.settings.autoStart, &FormOption::chkAutoStart_Click);
    SyncBox(chkBeepBeep_, svc_.settings.beepOnCapture, &FormOption::chkBeepBeep_Click);
    SyncBox(chkDebug_, svc_.settings.debugMode, &FormOption::chkDebug_Click);
    InvalidateRect(hwnd_, nullptr, TRUE); // the divider
}

void FormOption::Form_Paint() {
    const PaintScope paint(hwnd_);
    RECT client{};
    GetClientRect(hwnd_, &client);
    PaintEtchedRule(paint.get(), kDividerMargin, kDividerY, client.right - kDividerMargin);
}

// A frame close unloads the window; the capture buffer is still brought in line with the
// regions, so no capture can reach beyond it.
void FormOption::Form_QueryUnload() {
    DestroyWindow(hwnd_);
    if (svc_.updateCaptureBufferSize) {
        svc_.updateCaptureBufferSize();
    }
}

void FormOption::EditNumber(OptionField field, int region) {
    const double entered =
        InputCheckBox(hwnd_, MakeOptionEntryRequest(svc_.settings, field, region));
    const OptionChangeHooks hooks{svc_.updateCaptureBufferSize, svc_.captureIntervalChanged};
    if (ApplyOptionEntry(svc_.settings, field, region, entered, hooks) && controlsReady_ &&
        IsOpen()) {
        RefreshValues();
    }
}

void FormOption::lblCapture_sx_Click(int i) {
    EditNumber(OptionField::RegionX, i);
}
void FormOption::lblCapture_sy_Click(int i) {
    EditNumber(OptionField::RegionY, i);
}
void FormOption::lblCapture_ex_Click(int i) {
    EditNumber(OptionField::RegionWidth, i);
}
void FormOption::lblCapture_ey_Click(int i) {
    EditNumber(OptionField::RegionHeight, i);
}
void FormOption::lblCaptureInterval_Click() {
    EditNumber(OptionField::CaptureInterval, 0);
}
void FormOption::lblStartDelay_Click() {
    EditNumber(OptionField::StartDelay, 0);
}

void FormOption::chkAutoStart_Click() {
    svc_.settings.autoStart = IsTicked(chkAutoStart_);
}

void FormOption::chkBeepBeep_Click() {
    svc_.settings.beepOnCapture = IsTicked(chkBeepBeep_);
}

void FormOption::chkDebug_Click() {
    svc_.settings.debugMode = IsTicked(chkDebug_);
    if (svc_.layoutDebugArea) {
        svc_.layoutDebugArea();
    }
    svc_.debugLog.Write(L"Change DebugMode･･･End ");
}

void FormOption::cmdSave_Click() {
    // A failed write has been shown to the user; the settings stay in effect for this run.
    static_cast<void>(ProcessConfigFile(
        ConfigFileMode::SAVE,
        ConfigFileContext{
            svc_.settings, svc_.programFolder, svc_.messages, svc_.updateCaptureBufferSize, {}}));
    svc_.debugLog.Write(L"Saving ConfigFile･･･End ");
    SaveFoundGlyphs();
}

// The glyphs a search found are kept like learned ones ("元に戻す" forgets them).
void FormOption::SaveFoundGlyphs() {
    if (!unsavedGlyphs_) {
        return;
    }
    const auto file = svc_.programFolder / kLearnedGlyphFileName;
    if (!unsavedGlyphs_->Any()) { // found with the built-in glyphs at their own size
        if (!RemoveLearnedGlyphs(file)) {
            svc_.messages.ShowMessage(kLearnedGlyphFileNotRemoved, kErrorTitle);
        }
    } else if (!SaveLearnedGlyphs(file, AutoSearch::BuiltInGlyphs(), *unsavedGlyphs_)) {
        svc_.messages.ShowMessage(kLearnedGlyphFileNotSaved, kErrorTitle);
    }
    unsavedGlyphs_.reset();
}

void FormOption::cmdEnd_Click() {
    captureTest_.Cancel();
    autoSearch_.Cancel();
    ShowWindow(hwnd_, SW_HIDE);
    if (svc_.bringMainToFront) {
        svc_.bringMainToFront();
    }
    if (svc_.updateCaptureBufferSize) {
        svc_.updateCaptureBufferSize();
    }
}

void FormOption::cmdCapture_Click() {
    captureTest_.Start();
}

// Learning reads the picture of the last test; the box under it then shows what changed.
void FormOption::cmdLearnDigits_Click() {
    const PixelArray* picture = captureTest_.ExpPicture();
    if (picture == nullptr) {
        return;
    }
    switch (formLearnDigits_.ShowModal(hwnd_, *picture)) {
    case FormLearnDigits::Result::Learned: // the glyph file holds the glyphs in use
        unsavedGlyphs_.reset();
        captureTest_.ReadExpPictureAgain();
        break;
    case FormLearnDigits::Result::Forgotten:
        unsavedGlyphs_.reset();
        captureTest_.ShowExpNote(L"元の数字に戻しました");
        break;
    case FormLearnDigits::Result::Cancelled:
        break;
    }
}

void FormOption::cmdAutoSearch_Click() {
    autoSearch_.Start();
}

void FormOption::timAutoSearch_Timer() {
    if (autoSearch_.Tick()) {
        ShowSearchResult(autoSearch_.SearchGame());
    }
}

// Found: region 2 moves to the figure, as if typed into its four labels; nothing is saved.
void FormOption::ShowSearchResult(const AutoSearchResult& result) {
    switch (result.outcome) {
    case AutoSearchResult::Outcome::GameMissing:
        captureTest_.ShowExpText(autoSearch_.GameMissingText());
        svc_.debugLog.Write(L"Auto Search･･･ " + autoSearch_.GameMissingText());
        return;
    case AutoSearchResult::Outcome::NotFound:
        captureTest_.ShowExpText(std::wstring(kFigureNotFound));
        svc_.debugLog.Write(L"Auto Search･･･ not found");
        return;
    case AutoSearchResult::Outcome::Found:
        UseFoundFigure(result);
        return;
    }
}

void FormOption::UseFoundFigure(const AutoSearchResult& result) {
    if (result.glyphs) {
        if (!useGlyphs_ || !useGlyphs_(*result.glyphs)) {
            captureTest_.ShowExpText(std::wstring(kFigureNotFound));
            return;
        }
        unsavedGlyphs_ = result.glyphs;
    }
    const CaptureRegion& r = result.found.region;
    svc_.settings.captureRegions[kExpCaptureIndex] = r;
    if (svc_.updateCaptureBufferSize) {
        svc_.updateCaptureBufferSize();
    }
    RefreshValues();
    captureTest_.ShowExpPicture(result.picture, result.found.scale > 1 && result.glyphs
                                                    ? FoundLargerNote(result.found.scale)
                                                    : L"");
    EnableWindow(cmdLearnDigits_, TRUE);
    svc_.debugLog.Write(L"Auto Search･･･ " + std::to_wstring(r.x) + L"," + std::to_wstring(r.y) +
                        L" " + std::to_wstring(r.width) + L"x" + std::to_wstring(r.height) +
                        L" scale " + std::to_wstring(result.found.scale));
}

void FormOption::timCaptureTest_Timer() {
    captureTest_.Tick();
    EnableWindow(cmdLearnDigits_, captureTest_.ExpPicture() != nullptr);
}

INT_PTR FormOption::HandleDialogMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG:
        CreateControls();
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE) {
            Form_Activate();
        }
        return FALSE; // the dialog manager restores the focus
    case WM_PAINT:
        Form_Paint();
        return TRUE;
    case WM_TIMER:
        if (wp == CaptureTest::kTimerId) {
            timCaptureTest_Timer();
        } else if (wp == AutoSearch::kTimerId) {
            timAutoSearch_Timer();
        }
        return TRUE;
    case WM_DRAWITEM:
        return captureTest_.DrawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp)) ? TRUE
                                                                                      : FALSE;
    case WM_CLOSE:
        Form_QueryUnload();
        return TRUE;
    case WM_DESTROY:
        controlsReady_ = false;
        captureTest_.Cancel();
        autoSearch_.Cancel();
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace qv

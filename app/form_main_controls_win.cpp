#include "app/form_main_controls_win.h"

#include "app/main_layout.h"
#include "capture/capture_region.h"
#include "capture/screen_capture_win.h"
#include "recognition/glyph_pictures_win.h"
#include "win/ui_win.h"

#include <algorithm>
#include <commctrl.h>

namespace qv {

namespace {

constexpr int kFrameLeft = 8, kFrameTop = 4;
// lblCapture as designed, and the gap before the label that follows it on the EXP line.
constexpr int kCaptureLeft = 120, kCaptureWidth = 123, kCaptureRowGap = 6;
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
    IDC_LBL_CAPTURE_T1 = 114,
    IDC_LBL_CAPTURE1,
    IDC_LBL_LOG_T,
    IDC_TXT_LOG,
    IDC_PANEL_VALUE = 140,  // 140.. the panel's value labels, one a row
    IDC_PIC_PATTERN1 = 200, // 200..210
    IDC_PIC_PATTERN2 = 220, // 220..230
};

enum class FontKind { Normal, Bold, Heading };

struct LabelSpec {
    int id;
    const wchar_t* text;
    int x, y, w, h;
    DWORD align;
    FontKind font;
};

// Frame1's headings as designed, placed relative to the frame; its value labels are the
// panel's rows.
constexpr LabelSpec kFrameLabels[] = {
    {IDC_LBL_TIME_T, L"時 刻", 112, 12, 33, 13, SS_LEFTNOWORDWRAP, FontKind::Bold},
    {IDC_LBL_EXP_T, L"Exp", 224, 12, 22, 13, SS_LEFTNOWORDWRAP, FontKind::Bold},
    {IDC_LBL_START_T, L"開始：", 16, 32, 39, 13, SS_LEFTNOWORDWRAP, FontKind::Bold},
    {IDC_LBL_END_T, L"最終：", 16, 48, 39, 13, SS_LEFTNOWORDWRAP, FontKind::Bold},
};
// The labels below the frame, placed in the window.
constexpr LabelSpec kWindowLabels[] = {
    {IDC_LBL_CAPTURE_T1, L"Exp読込→", 64, 100, 54, 13, SS_LEFTNOWORDWRAP, FontKind::Normal},
    {IDC_LBL_CAPTURE1, L"", kCaptureLeft, 100, kCaptureWidth, 13, SS_LEFTNOWORDWRAP,
     FontKind::Normal},
    {IDC_LBL_LOG_T, L"測定結果", 8, 128, 64, 18, SS_LEFTNOWORDWRAP, FontKind::Heading},
};

DWORD StaticAlign(PanelAlign align) {
    switch (align) {
    case PanelAlign::Center:
        return SS_CENTER;
    case PanelAlign::Right:
        return SS_RIGHT;
    case PanelAlign::Left:
        break;
    }
    return SS_LEFTNOWORDWRAP;
}

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

int OuterHeight(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r.bottom - r.top;
}

void RedrawNow(HWND control, UINT more = 0) {
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | more);
}

} // namespace

void FormMainControls::Create(HWND parent) {
    parent_ = parent;
    font_.reset(CreateTerminalFont(13, FW_NORMAL)); // 9.75 pt at 96 dpi
    boldFont_.reset(CreateTerminalFont(13, FW_BOLD));
    headingFont_.reset(CreateTerminalFont(18, FW_NORMAL)); // 13.5 pt
    SendMessageW(parent_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);

    frame1_ = AddControl(parent_, WC_BUTTONW, L"測定状況", BS_GROUPBOX, 0, kFrameLeft, kFrameTop,
                         265, 85, IDC_FRAME1, font_.get());
    for (std::size_t i = 0; i < std::size(kLines); ++i) {
        lines_[i] = AddControl(parent_, WC_STATICW, L"", SS_LEFT, 0, kFrameLeft + 8,
                               kFrameTop + kLines[i].y, 248, 1, kLines[i].id, nullptr);
    }
    CreateLabels();
    txtLog_ = AddControl(parent_, WC_EDITW, L"",
                         ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL |
                             WS_HSCROLL,
                         WS_EX_CLIENTEDGE, kLogLeft, kLogTop, 265, 61, IDC_TXT_LOG, font_.get());
    SendMessageW(txtLog_, EM_SETLIMITTEXT, 0, 0);
    CreateGlyphPictures();
}

void FormMainControls::CreateLabels() {
    const auto add = [this](const LabelSpec& s, int left, int top) {
        HFONT f = s.font == FontKind::Bold      ? boldFont_.get()
                  : s.font == FontKind::Heading ? headingFont_.get()
                                                : font_.get();
        // SS_NOTIFY: a click on a label belongs to the label, not to the window background.
        HWND label = AddControl(parent_, WC_STATICW, s.text, s.align | SS_NOTIFY | SS_NOPREFIX, 0,
                                left + s.x, top + s.y, s.w, s.h, s.id, f);
        GrowLabelToText(label); // a substitute font wider than "Terminal" must not cut a caption
        return label;
    };
    for (const LabelSpec& s : kFrameLabels) {
        add(s, kFrameLeft, kFrameTop);
    }
    const std::span<const PanelRow> rows = PanelRows();
    panelLabels_.clear();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const PanelRow& r = rows[i];
        panelLabels_.push_back(
            add(LabelSpec{IDC_PANEL_VALUE + static_cast<int>(i), L"", r.x, r.y, r.width, r.height,
                          StaticAlign(r.align), FontKind::Normal},
                kFrameLeft, kFrameTop));
        if (r.control == kLevelLabel) {
            lblLevel_ = panelLabels_.back();
        }
    }
    for (const LabelSpec& s : kWindowLabels) {
        HWND label = add(s, 0, 0);
        if (s.id == IDC_LBL_CAPTURE1) {
            lblCapture_[1] = label;
        }
    }
}

void FormMainControls::CreateGlyphPictures() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    constexpr int kRowTop[2] = {220, 252};
    constexpr int kRowControlBase[2] = {IDC_PIC_PATTERN1, IDC_PIC_PATTERN2};
    for (int set = 0; set < 2; ++set) {
        for (int k = 0; k < kGlyphsPerSet; ++k) {
            patternBitmaps_[set][k] = LoadGlyphBitmap(instance, set, k);
            picPattern_[set][k] =
                CreateGlyphPicture(parent_, kRowControlBase[set] + k, patternBitmaps_[set][k].get(),
                                   8 + 24 * k, kRowTop[set]);
            ShowWindow(picPattern_[set][k], SW_HIDE);
        }
    }
}

std::array<GlyphPictureSet, kGlyphSetCount> FormMainControls::GlyphPictures() const {
    return ReadGlyphPictures(picPattern_);
}

void FormMainControls::ShowExpGlyphs(const GlyphImageSet& glyphs) {
    for (std::size_t g = 0; g < glyphs.size(); ++g) {
        const HWND picture = picPattern_[kExpCaptureIndex][g];
        RECT box{};
        GetClientRect(picture, &box);
        // Pixels made here carry no alpha, so the picture shows this bitmap, not a copy of it.
        UniqueBitmap image =
            CreateBitmapFromPixels(FitGlyphToBox(glyphs[g], box.right, box.bottom));
        if (image) {
            SetGlyphPictureImage(picture, image.get());
            patternBitmaps_[kExpCaptureIndex][g] = std::move(image);
        }
    }
}

// lblCapture keeps its place, but ends where its text ends, so that the percent and the time to
// the next level follow the figure on the same line, as far as the window is wide.
void FormMainControls::FitCaptureRow() {
    HWND capture = lblCapture_[1];
    if (capture == nullptr || lblLevel_ == nullptr) {
        return;
    }
    auto* font = reinterpret_cast<HFONT>(SendMessageW(capture, WM_GETFONT, 0, 0));
    const int text = static_cast<int>(TextExtent(capture, font, WindowText(capture)).cx);
    const int width = std::clamp(text + 2, 1, kCaptureWidth);
    SetWindowPos(capture, nullptr, 0, 0, width, OuterHeight(capture),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT level{};
    GetWindowRect(lblLevel_, &level);
    MapWindowPoints(HWND_DESKTOP, parent_, reinterpret_cast<POINT*>(&level), 2);
    const int left = kCaptureLeft + width + kCaptureRowGap;
    SetWindowPos(lblLevel_, nullptr, left, level.top, std::max(clientWidth_ - 8 - left, 1),
                 level.bottom - level.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormMainControls::Layout(int clientWidth, int clientHeight, bool debugMode) {
    clientWidth_ = clientWidth;
    FitCaptureRow();
    for (HWND line : lines_) {
        InvalidateRect(line, nullptr, TRUE);
    }
    SetWindowPos(txtLog_, nullptr, 0, 0, LogBoxWidth(clientWidth), OuterHeight(txtLog_),
                 SWP_NOMOVE | SWP_NOZORDER);
    LayoutDebugArea(clientHeight, debugMode);
}

void FormMainControls::LayoutDebugArea(int clientHeight, bool debugMode) {
    std::array<int, kGlyphsPerSet> heights1{}, heights2{};
    for (int k = 0; k < kGlyphsPerSet; ++k) {
        heights1[k] = OuterHeight(picPattern_[0][k]);
        heights2[k] = OuterHeight(picPattern_[1][k]);
    }
    const DebugAreaLayout layout =
        ComputeDebugArea(clientHeight, debugMode, kLogTop, heights1, heights2);
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

void FormMainControls::RedrawFrame() {
    RedrawNow(frame1_, RDW_ALLCHILDREN);
}

HBRUSH FormMainControls::RuleBrush(HWND control) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (control == lines_[i]) {
            return GetSysColorBrush(kLines[i].sysColor);
        }
    }
    return nullptr;
}

void FormMainControls::SetCaptureCaption(std::wstring_view text) {
    SetWindowTextW(lblCapture_[1], std::wstring(text).c_str());
    FitCaptureRow();
    RedrawNow(lblCapture_[1]);
}

void FormMainControls::SetCaption(std::size_t row, std::wstring_view text) {
    SetWindowTextW(panelLabels_.at(row), std::wstring(text).c_str());
}

void FormMainControls::RepaintPanel() {
    RedrawNow(frame1_);
    for (HWND label : panelLabels_) {
        RedrawNow(label);
    }
}

std::wstring FormMainControls::Text() const {
    return WindowText(txtLog_);
}

void FormMainControls::SetText(std::wstring_view text) {
    SetWindowTextW(txtLog_, std::wstring(text).c_str());
}

void FormMainControls::SetCaret(std::size_t position) {
    const auto length = static_cast<std::size_t>(GetWindowTextLengthW(txtLog_));
    const auto at = static_cast<WPARAM>(position < length ? position : length);
    SendMessageW(txtLog_, EM_SETSEL, at, static_cast<LPARAM>(at));
    SendMessageW(txtLog_, EM_SCROLLCARET, 0, 0);
}

void FormMainControls::RepaintNow() {
    RedrawNow(txtLog_);
}

} // namespace qv

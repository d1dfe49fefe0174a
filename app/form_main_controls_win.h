// The main window's controls as designed: Frame1 "測定状況" with its labels and etched rules
// (the status panel), the EXP line with lblCapture, the log box txtLog and the debug area's
// glyph pictures picPattern1 and picPattern2. They present the status panel and the log box to
// the measurement.
#pragma once

#include "measurement/log_view.h"
#include "measurement/status_panel.h"
#include "recognition/glyph_pattern_table.h"
#include "win/handles_win.h"

#include <windows.h>

#include <array>
#include <string>
#include <vector>

namespace qv {

class FormMainControls : public StatusPanelView, public LogBox {
  public:
    // Creates every control on `parent`, which takes their font as its own.
    void Create(HWND parent);
    // After a resize: the etched rules repaint, the log box follows the client width and the
    // debug area the client height.
    void Layout(int clientWidth, int clientHeight, bool debugMode);
    // The glyph pictures along the bottom when debugMode shows them and the client area is tall
    // enough; the log box takes the height above them.
    void LayoutDebugArea(int clientHeight, bool debugMode);
    // Repaints Frame1 and all it holds at once.
    void RedrawFrame();
    // The brush of an etched rule for WM_CTLCOLORSTATIC; nullptr for every other control.
    HBRUSH RuleBrush(HWND control) const;
    // lblCapture(1): the recognizer's caption, painted at once.
    void SetCaptureCaption(std::wstring_view text);
    // picPattern1 and picPattern2 as BuildGlyphPatterns reads them.
    std::array<GlyphPictureSet, kGlyphSetCount> GlyphPictures() const;
    // picPattern2 shows the EXP glyphs the recognizer uses, each in its picture's box.
    void ShowExpGlyphs(const GlyphImageSet& glyphs);

    // StatusPanelView
    void SetCaption(std::size_t row, std::wstring_view text) override;
    void RepaintPanel() override;
    // LogBox
    std::wstring Text() const override;
    void SetText(std::wstring_view text) override;
    void SetCaret(std::size_t position) override;
    void RepaintNow() override;

  private:
    void CreateLabels();
    void FitCaptureRow();
    void CreateGlyphPictures();

    HWND parent_ = nullptr;
    GdiObject<HFONT> font_, boldFont_, headingFont_;
    std::array<std::array<UniqueBitmap, kGlyphsPerSet>, kGlyphSetCount> patternBitmaps_;

    HWND frame1_ = nullptr;
    std::array<HWND, 4> lines_{};   // Line1..Line4
    std::vector<HWND> panelLabels_; // one a row of the panel
    std::array<HWND, 2> lblCapture_{};
    HWND lblLevel_ = nullptr; // the percent and the time to the next level, after lblCapture
    int clientWidth_ = 280;
    HWND txtLog_ = nullptr;
    std::array<std::array<HWND, kGlyphsPerSet>, kGlyphSetCount>
        picPattern_{}; // picPattern1, picPattern2
};

} // namespace qv

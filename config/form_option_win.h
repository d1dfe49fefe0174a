// "オプション": the modeless dialog in which the user views and changes the settings.
#pragma once

#include "config/auto_search_win.h"
#include "config/capture_test_win.h"
#include "config/form_learn_digits_win.h"
#include "config/option_items.h"
#include "config/settings.h"
#include "services/debug_log.h"
#include "services/message_sink.h"
#include "win/dialog_base_win.h"
#include "win/handles_win.h"
#include "win/ui_win.h"

#include <windows.h>

#include <array>
#include <filesystem>
#include <functional>
#include <optional>

namespace qv {

// What the dialog needs of the rest of the program.
struct OptionDialogServices {
    Settings& settings;
    std::filesystem::path programFolder; // where "保 存" writes the configuration file
    MessageSink& messages;               // the configuration file's failure messages
    DebugLog& debugLog;
    // The main window re-lays its debug area for the present debugMode (it skips this while
    // minimised).
    std::function<void()> layoutDebugArea;
    // The capture buffer is sized afresh from the two capture regions.
    std::function<void()> updateCaptureBufferSize;
    // The capture timer's period follows captureInterval (enabled state unchanged).
    std::function<void()> captureIntervalChanged;
    std::function<void()> bringMainToFront;
};

class FormOption : public DialogBase<FormOption> {
  public:
    FormOption(OptionDialogServices services, CaptureTestServices captureTest,
               LearnDigitsServices learnDigits);

    // menuOption_Click: builds the window on first use (and after a close through its frame),
    // shows it filled from the settings and brings it to the front.
    bool Show(HWND owner);

    INT_PTR HandleDialogMessage(UINT msg, WPARAM wp, LPARAM lp);

  private:
    bool Load(HWND owner);
    void CreateControls();
    void CreateRegionGroup(int i);
    HWND AddLabel(std::wstring_view text, int leftTwips, int topTwips, int widthTwips,
                  int heightTwips, int id = -1);
    HWND AddValueLabel(int leftTwips, int topTwips, int id);
    void ShowValue(HWND label, std::int32_t value);
    void RefreshValues();
    void SyncBox(HWND box, bool value, void (FormOption::*click)());
    void EditNumber(OptionField field, int region);
    void ShowSearchResult(const AutoSearchResult& result);
    void UseFoundFigure(const AutoSearchResult& result);
    void SaveFoundGlyphs();

    void Form_Activate();
    void Form_Paint();
    void Form_QueryUnload();
    void lblCapture_sx_Click(int i);
    void lblCapture_sy_Click(int i);
    void lblCapture_ex_Click(int i);
    void lblCapture_ey_Click(int i);
    void lblCaptureInterval_Click();
    void lblStartDelay_Click();
    void chkAutoStart_Click();
    void chkBeepBeep_Click();
    void chkDebug_Click();
    void cmdSave_Click();
    void cmdEnd_Click();
    void cmdCapture_Click();
    void cmdLearnDigits_Click();
    void cmdAutoSearch_Click();
    void timCaptureTest_Timer();
    void timAutoSearch_Timer();

    OptionDialogServices svc_;
    GdiObject<HFONT> font_;
    bool controlsReady_ = false;

    HWND lblCaptureInterval_ = nullptr, lblStartDelay_ = nullptr;
    HWND chkBeepBeep_ = nullptr, chkAutoStart_ = nullptr, chkDebug_ = nullptr;
    std::array<HWND, 2> lblCapture_sx_{}, lblCapture_sy_{}, lblCapture_ex_{}, lblCapture_ey_{};
    HWND cmdLearnDigits_ = nullptr;
    CaptureTest captureTest_;
    AutoSearch autoSearch_;
    std::function<bool(const LearnedGlyphs&)> useGlyphs_;
    // Glyphs a search put in use, written to the glyph file by the next "保 存".
    std::optional<LearnedGlyphs> unsavedGlyphs_;
    FormLearnDigits formLearnDigits_;
};

} // namespace qv

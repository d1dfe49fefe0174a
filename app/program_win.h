// The program: every object of a run and their wiring. The windows present; this object owns
// them, runs the start-up, owns the capture timer, gives the main window its menu as one table,
// maps the measurement's state onto the menu and the timer, and answers what the windows'
// events ask of the program: a command, the capture timer's tick, a click, the close.
#pragma once

#include "app/file_launcher_win.h"
#include "app/form_graph_win.h"
#include "app/form_main_win.h"
#include "app/form_mini_win.h"
#include "app/form_popup_win.h"
#include "app/form_version_win.h"
#include "app/shell_services_win.h"
#include "config/form_option_win.h"
#include "measurement/measurement_engine.h"
#include "measurement/status_panel.h"
#include "recognition/learned_glyphs.h"
#include "win/busy_cursor_win.h"
#include "win/handles_win.h"
#include "win/window_timer_win.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class Program : private MainWindowEvents, private RecordListener {
  public:
    explicit Program(ProgramServices services);

    // Start-up: false when the program must end at once (second copy, pattern error).
    bool Form_Load();
    HWND MainWindow() const { return formMain_.Handle(); }

  private:
    // The main window's menu bar, one row a command.
    std::vector<MenuRow> Menu();

    // MainWindowEvents
    void OnTimer(WPARAM timerId) override;
    void Click() override { engine_.Evaluation().Click(); }
    void EndMeasurement() override { engine_.EndForClose(); }
    void UnloadOtherWindows() override;
    // RecordListener: the menu and the capture timer follow the measurement's state.
    void OnRecord(const MeasurementRecord& record, RecordEvent event) override;

    bool IsFirstInstance();
    void ReadConfigFile();
    void UpdateCaptureBufferSize();
    bool BuildGlyphPatterns();
    void AutoStart();
    void SetCaptureTimerPeriod();

    void menuPrtScr_Click();
    void menuEnd_Click();
    void menuOption_Click();
    void menuGraph_Click();
    void menuMini_Click();
    void miniPause_Click();
    void menuVersion_Click();

    // The EXP glyphs: the built-in ones with `learned` over them become the glyph table, sized
    // into the capture buffer, and picPattern2. False, with nothing changed, when they cannot.
    bool UseExpGlyphs(const LearnedGlyphs& learned);
    LearnReply LearnDigits(const PixelArray& picture, std::string_view digits);
    std::wstring ForgetDigits();
    std::filesystem::path LearnedGlyphFile() const;

    // The game's window as the measurement finds it, nullptr when it is not running.
    HWND FindGame();
    void OnPictureSaveFailed(const std::wstring& fileName);
    void ShowPictureSaveFailure();

    ProgramServices svc_;
    BusyCursor busyCursor_;
    Win32Desktop desktop_;
    PumpWaiter waiter_;
    FormPopup popup_;
    FormMain formMain_;
    Win32Recognition recognition_;
    MeasurementEngine engine_;
    FormOption formOption_;
    Win32Launcher launcher_;
    FormVersion formVersion_;
    FormGraph formGraph_;
    FormMini formMini_;
    StatusPanel statusPanel_;
    WindowTimer timCaptureInterval_;
    KernelHandle instanceMutex_;
    // The glyph pictures as the main window held them at start-up, and the EXP digits learned
    // over the built-in ones.
    std::array<GlyphPictureSet, kGlyphSetCount> builtInGlyphs_;
    LearnedGlyphs learnedGlyphs_;
    // The first picture of the run that could not be saved; later failures are only recorded.
    std::optional<std::wstring> firstSaveFailure_;
    bool screenPrintWaiting_ = false;
};

} // namespace qv

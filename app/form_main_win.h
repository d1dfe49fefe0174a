// The main window: its controls, the menu bar and the capture timer; start-up and the two ways
// out. It presents; what its events do beyond the window is the program's (MainWindowEvents).
#pragma once

#include "app/form_main_controls_win.h"
#include "app/shell_services_win.h"
#include "measurement/measurement_host.h"
#include "measurement/program_state.h"
#include "services/debug_log.h"
#include "win/base_window_win.h"
#include "win/busy_cursor_win.h"
#include "win/handles_win.h"
#include "win/menu_bar_win.h"
#include "win/window_timer_win.h"

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

namespace qv {

// What WinMain makes for the whole run and every part of the program shares.
struct ProgramServices {
    ProgramState& state;
    DebugLog& debugLog;
    MessageBoxSink& messages;
    Clock& clock;
    std::filesystem::path folder;
};

// The program's part of the main window's events; the window does its own part around it.
class MainWindowEvents {
  public:
    virtual ~MainWindowEvents() = default;
    // The capture buffer is sized afresh from the capture regions.
    virtual void UpdateCaptureBufferSize() = 0;
    // Start-up, once the settings are read: the glyph table and the capture buffer are built.
    // False when the program cannot read with them and must end.
    virtual bool BuildGlyphPatterns() = 0;
    // Form_Load's last step when autoStart is on: a measurement starts, its delay waited.
    virtual WaitResult AutoStart() = 0;
    // timCaptureInterval_Timer, while the timer is enabled.
    virtual void CaptureTimerTick() = 0;
    // Form_QueryUnload's first step: the measurement ends as a stop ends it, before the summary.
    virtual void FinishMeasurement() = 0;
    // Form_QueryUnload: the program's other windows go before the main window does.
    virtual void UnloadOtherWindows() = 0;
};

class FormMain : public BaseWindow<FormMain>, public MainWindowControl {
  public:
    // `menu` is the menu bar as one table; its clicks run through the window's command table.
    FormMain(ProgramServices services, MainWindowEvents& events, const BusyCursor& busyCursor,
             std::vector<MenuRow> menu);

    // Runs start-up; false when the program must end at once (second copy, pattern error).
    bool Form_Load();
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

    // The status panel, the EXP line, the log box and the glyph pictures.
    FormMainControls& Controls() { return controls_; }
    // The debug area follows a change of debug mode at once, but not while minimised.
    void RelayoutDebugArea();
    void BringToFront();

    // MainWindowControl
    void SetRunMenu(bool enabled, std::wstring_view caption) override;
    void SetStopMenuEnabled(bool enabled) override;
    void SetCaptureTimerEnabled(bool enabled) override;
    void SetCaptureTimerPeriod(std::int32_t milliseconds) override;

    static std::wstring CaptionText();

  private:
    bool IsFirstInstance();
    bool CreateWindowAndControls();
    void KeepDesignedClientHeight();
    void UpdateStatusPanel(PanelMode mode);

    void Form_Resize();
    void SnapToMinimumClientSize(bool width, bool height);
    void Form_Paint();
    void Form_QueryUnload();
    void Form_Click();
    bool IsBareBackground(POINT pt) const;

    ProgramServices svc_;
    MainWindowEvents& events_;
    const BusyCursor& busyCursor_;
    std::vector<MenuRow> menu_;
    WindowTimer timCaptureInterval_;
    FormMainControls controls_;
    int resizeDepth_ = 0;
    // The left button went down on the bare background and the window holds the mouse since.
    bool backgroundPressed_ = false;
    KernelHandle instanceMutex_;
};

} // namespace qv

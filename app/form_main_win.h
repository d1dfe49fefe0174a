// The main window: its controls and the menu bar, its look at start-up and the close. It
// presents; what its events do beyond the window is the program's (MainWindowEvents).
#pragma once

#include "app/form_main_controls_win.h"
#include "app/mini_figures.h"
#include "app/shell_services_win.h"
#include "measurement/measurement_record.h"
#include "measurement/program_state.h"
#include "services/debug_log.h"
#include "win/base_window_win.h"
#include "win/busy_cursor_win.h"
#include "win/handles_win.h"
#include "win/menu_bar_win.h"

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

namespace qv {

inline constexpr wchar_t kMenuRunCaption[] = L"開始";
inline constexpr wchar_t kMenuRunningCaption[] = L"ロギング";

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
    // A WM_TIMER of a timer the program set on the window.
    virtual void OnTimer(WPARAM timerId) = 0;
    // Form_Click: the player asked for the latest values.
    virtual void Click() = 0;
    // Form_QueryUnload's first step: the measurement ends, with its summary.
    virtual void EndMeasurement() = 0;
    // Form_QueryUnload: the program's other windows and the timer go before the main window.
    virtual void UnloadOtherWindows() = 0;
};

class FormMain : public BaseWindow<FormMain> {
  public:
    // `menu` is the menu bar as one table; its clicks run through the window's command table.
    FormMain(ProgramServices services, MainWindowEvents& events, const BusyCursor& busyCursor,
             std::vector<MenuRow> menu);

    // Builds the window and its controls, captions and clears it, and shows it; false when it
    // could not be made.
    bool CreateAndShow();
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

    // The status panel, the EXP line, the log box and the glyph pictures.
    FormMainControls& Controls() { return controls_; }
    // The measurement's state on the menu bar: "開始" while none runs, else "ロギング" (disabled),
    // "停止" and "一時停止" (or "再開" while paused).
    void ShowMeasurementState(const MeasurementRecord& record);
    // The debug area follows a change of debug mode at once, but not while minimised.
    void RelayoutDebugArea();
    void BringToFront();

    static std::wstring CaptionText();

  private:
    bool CreateWindowAndControls();
    void KeepDesignedClientHeight();

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
    FormMainControls controls_;
    int resizeDepth_ = 0;
    // The left button went down on the bare background and the window holds the mouse since.
    bool backgroundPressed_ = false;
};

} // namespace qv

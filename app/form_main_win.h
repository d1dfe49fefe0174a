// The main window: status panel, EXP line, log box, the debug area of glyph pictures, the menu
// bar and the capture timer; start-up and the two ways out.
#pragma once

#include "app/file_launcher_win.h"
#include "app/form_graph_win.h"
#include "app/form_popup_win.h"
#include "app/form_version_win.h"
#include "app/shell_services_win.h"
#include "config/form_option_win.h"
#include "measurement/log_view.h"
#include "measurement/measurement_engine.h"
#include "measurement/measurement_timing.h"
#include "measurement/program_state.h"
#include "measurement/status_panel.h"
#include "services/debug_log.h"
#include "win/base_window_win.h"
#include "win/busy_cursor_win.h"
#include "win/handles_win.h"
#include "win/ui_win.h"

#include <windows.h>

#include <array>
#include <filesystem>
#include <optional>
#include <string>

namespace qv {

// The capture timer: a window timer with a period that can be set while disabled.
class CaptureTimer {
  public:
    static constexpr UINT_PTR kId = 1;
    void Attach(HWND owner) { owner_ = owner; }
    void SetInterval(std::int32_t milliseconds);
    void SetEnabled(bool enabled);
    bool Enabled() const { return enabled_; }

  private:
    HWND owner_ = nullptr;
    std::int32_t interval_ = 0;
    bool enabled_ = false;
};

struct MainWindowServices {
    ProgramState& state;
    DebugLog& debugLog;
    MessageBoxSink& messages;
    Clock& clock;
    std::filesystem::path folder;
};

class FormMain : public BaseWindow<FormMain>,
                 public StatusPanelView,
                 public LogBox,
                 public MainWindowControl {
  public:
    explicit FormMain(MainWindowServices services);

    // Runs start-up; false when the program must end at once (second copy, pattern error).
    bool Form_Load();
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

    void LayoutDebugArea(int clientHeight);

    // StatusPanelView
    std::wstring Caption(PanelLabel label) const override;
    void SetCaption(PanelLabel label, std::wstring_view text) override;
    void RepaintPanel() override;
    // LogBox
    std::wstring Text() const override;
    void SetText(std::wstring_view text) override;
    void SetCaret(std::size_t position) override;
    void RepaintNow() override;
    // MainWindowControl
    void SetRunMenu(bool enabled, std::wstring_view caption) override;
    void SetStopMenuEnabled(bool enabled) override;
    void SetCaptureTimerEnabled(bool enabled) override;
    void SetCaptureTimerPeriod(std::int32_t milliseconds) override;

    static std::wstring CaptionText();

  private:
    bool IsFirstInstance();
    bool CreateWindowAndControls();
    void CreateControls();
    HMENU BuildMenu();
    void CreateGlyphPictures();
    void KeepDesignedClientHeight();
    bool BuildGlyphPatterns();
    void UpdateStatusPanel(PanelMode mode);
    void UpdateCaptureBufferSize();
    void SetCaptureCaption(std::wstring_view text);
    // The game's window as the measurement finds it, nullptr when it is not running.
    HWND FindGame();

    void Form_Resize();
    void SnapToMinimumClientSize(bool width, bool height);
    void Form_Paint();
    void Form_QueryUnload();
    void Form_Click();
    bool IsBareBackground(POINT pt) const;
    void menuEnd_Click();
    void menuGraph_Click();
    void menuOption_Click();
    void menuPrtScr_Click();
    void menuVersion_Click();
    void RelayoutDebugArea();
    void BringToFront();
    LRESULT OnCtlColorStatic(HDC dc, HWND control);
    void RefreshGraphIfBehind();
    std::wstring GraphCaption() const;
    void OnCommand(WORD id);
    void OnPictureSaveFailed(const std::wstring& fileName);
    void ShowPictureSaveFailure();

    MainWindowServices svc_;
    BusyCursor busyCursor_;
    CaptureTimer timCaptureInterval_;
    GdiObject<HFONT> font_, boldFont_, headingFont_;
    std::array<std::array<UniqueBitmap, kGlyphsPerSet>, kGlyphSetCount> patternBitmaps_;
    Win32Desktop desktop_;
    PumpWaiter waiter_;
    FormPopup popup_;
    PopupPresenter popupPresenter_;
    Win32Recognition recognition_;
    std::optional<MeasurementEngine> engine_;
    FormOption formOption_;
    Win32Launcher launcher_;
    FormVersion formVersion_;
    FormGraph formGraph_;
    std::uint64_t graphRevision_ = 0;

    HWND frame1_ = nullptr;
    std::array<HWND, 4> lines_{}; // Line1..Line4
    std::array<HWND, kPanelLabels.size()> panelLabels_{};
    std::array<HWND, 2> lblCapture_{};
    HWND txtLog_ = nullptr;
    std::array<std::array<HWND, kGlyphsPerSet>, kGlyphSetCount>
        picPattern_{}; // picPattern1, picPattern2
    int resizeDepth_ = 0;
    // The first picture of the run that could not be saved; later failures are only recorded.
    std::optional<std::wstring> firstSaveFailure_;
    bool backgroundPressed_ = false; // the left button went down on the bare background
    bool screenPrintWaiting_ = false;
    KernelHandle instanceMutex_;
};

} // namespace qv

// "ミニ表示": the measurement's figures in large digits in a small window that stays over the
// game, with a button that pauses and resumes. It never takes the foreground from the game (a
// capture waits whenever the game is not in front) and never stands over region 2 (a capture
// would read the window instead of the figure). Owned by nobody and without a taskbar button,
// so it stays when the main window is minimised; closing it only hides it.
#pragma once

#include "app/mini_figures.h"
#include "app/mini_placement.h"
#include "config/settings.h"
#include "measurement/measurement_record.h"
#include "win/base_window_win.h"
#include "win/handles_win.h"
#include "win/window_timer_win.h"

#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <utility>

namespace qv {

inline constexpr wchar_t kMiniTitle[] = L"Quorvane";

struct MiniWindowServices {
    const Settings& settings; // region 2, which the window keeps clear of
    std::function<HWND()> findGame;
    std::function<void()> pause; // the button: pauses, or resumes a paused measurement
};

class FormMini : public BaseWindow<FormMini>, public RecordListener {
  public:
    FormMini(const MeasurementRecord& record, MiniWindowServices services)
        : record_(record), svc_(std::move(services)) {}

    // Creates the window on first use and shows it, without activating it, at its opening
    // place when it was hidden. False when the window could not be created.
    bool Show();
    // Every publication shows the figures, and moves the window off the region should the game
    // have moved under it.
    void OnRecord(const MeasurementRecord&, RecordEvent) override;
    // Ends the window with the program.
    void Destroy();

    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

  private:
    bool EnsureWindow();
    void AddControls();
    void ShowFigures();
    // `proposed` moved off region 2 of the game as it stands now on the screen.
    ScreenRect ClearOfRegion(const ScreenRect& proposed) const;
    std::optional<ScreenRect> GameClientOnScreen() const;
    std::optional<ScreenRect> RegionOnScreen() const;
    ScreenRect Place() const;

    void Form_CaptionDown();
    void timDrag_Timer();
    void Form_PositionChanging(WINDOWPOS& pos);
    void Form_QueryUnload();
    void cmdPause_Click();

    const MeasurementRecord& record_;
    MiniWindowServices svc_;
    std::array<HWND, 4> figures_{}; // 増加量, 時給, 直近10分, 次のLvまで
    HWND cmdPause_ = nullptr;
    // While the caption is dragged: the mouse's place relative to the window's top-left, and
    // the timer that moves the window after the mouse.
    POINT dragOffset_{};
    WindowTimer timDrag_{1};
    GdiObject<HFONT> headingFont_, figureFont_;
};

} // namespace qv

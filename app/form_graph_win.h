// "EXPグラフ": the increase of the current (or last) measurement against time, drawn live.
// Modeless and owned by nobody, so it stays up while the main window is minimised; closing it
// only hides it.
#pragma once

#include "measurement/exp_chart.h"
#include "measurement/measurement_record.h"
#include "win/base_window_win.h"
#include "win/handles_win.h"

#include <windows.h>

#include <string>

namespace qv {

inline constexpr wchar_t kGraphTitle[] = L"EXPグラフ";
inline constexpr wchar_t kGraphNoDataText[] = L"測定データがありません";

class FormGraph : public BaseWindow<FormGraph>, public RecordListener {
  public:
    // Draws `record`: its readings, and over them its increase and hourly rate as the status
    // panel shows them.
    explicit FormGraph(const MeasurementRecord& record) : record_(record) {}

    // Creates the window on first use, shows it and brings it to the front. False when the
    // window could not be created.
    bool Show();
    // Repaints at once when the window is visible.
    void Refresh();
    // Every publication of the record, a stop's as a capture's, is drawn at once.
    void OnRecord(const MeasurementRecord&, RecordEvent) override { Refresh(); }
    // Ends the window with the program.
    void Destroy();

    // Draws the whole client area of width x height into `dc` (the paint draws off-screen).
    void Draw(HDC dc, int width, int height);

    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

  private:
    bool EnsureWindow();
    void Form_Paint();
    void Form_Resize();
    void Form_QueryUnload();
    void DrawAxes(HDC dc, const ChartLayout& layout, int charHeight);

    const MeasurementRecord& record_;
    GdiObject<HFONT> font_;
    GdiObject<HPEN> axisPen_, gridPen_, linePen_, fallPen_;
    GdiObject<HBRUSH> background_, pausedBrush_;
};

} // namespace qv

// The status panel ("測定状況"): one row per figure, each drawn from the measurement's record,
// and the summary line written to the log box when a measurement that took readings ends.
#pragma once

#include "measurement/log_view.h"
#include "measurement/measurement_record.h"
#include "services/debug_log.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace qv {

enum class PanelAlign { Left, Center, Right };

// One figure of the panel: its label, where the label sits in Frame1, and its text.
struct PanelRow {
    std::wstring_view control;
    int x, y, width, height;
    PanelAlign align;
    std::wstring (*text)(const MeasurementRecord& record);
};

// The panel's value labels, in the order the window creates them.
std::span<const PanelRow> PanelRows();

// The labels the rows are drawn into; `row` indexes PanelRows().
class StatusPanelView {
  public:
    virtual ~StatusPanelView() = default;
    virtual void SetCaption(std::size_t row, std::wstring_view text) = 0;
    virtual void RepaintPanel() = 0;
};

// Every row from the record, then a repaint. An empty record empties the panel.
void UpdateStatusPanel(const MeasurementRecord& record, StatusPanelView& view);

// Follows the record onto the panel.
class StatusPanel : public RecordListener {
  public:
    explicit StatusPanel(StatusPanelView& view) : view_(view) {}
    void OnRecord(const MeasurementRecord& record, RecordEvent) override {
        UpdateStatusPanel(record, view_);
    }

  private:
    StatusPanelView& view_;
};

// The increase as the panel shows it: plain digits from the first reading on, empty before.
std::wstring IncreaseText(const MeasurementRecord& record);

// The label on the EXP line beside the figure read.
inline constexpr std::wstring_view kLevelLabel = L"lblLevel";

// The time the EXP left to the next level takes at the hourly rate ("1:23"); empty while
// either is not known.
std::wstring TimeToNextLevel(const MeasurementRecord& record);

// The percent beside the figure read and, on a line of its own, the time to the next level, as
// the EXP line shows them ("83.18%", "次のLvまで 1:23"); each part only when known.
std::wstring LevelLineText(const MeasurementRecord& record);

// The line over the graph: the increase and the rates as the panel shows them, and the time to
// the next level.
std::wstring ChartHeading(const MeasurementRecord& record);

// A reading as plain digits (6024300), empty when there is none yet.
std::wstring PlainNumberText(const std::optional<double>& reading);

// The one-line summary of a measurement's start, latest values and increase (without the
// line breaks).
std::wstring BuildSummaryLine(const MeasurementRecord& record);

// A measurement that took readings ends: its summary line and two line breaks go to the log
// box, and the debug log records it. Nothing for one that read nothing.
void WriteMeasurementSummary(const MeasurementRecord& record, LogBox& log, DebugLog& debugLog);

} // namespace qv

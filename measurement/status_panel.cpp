#include "measurement/status_panel.h"

#include "base/column_format.h"
#include "base/number_text.h"

namespace qv {

namespace {

std::wstring TimeOf(const std::optional<TimedExp>& value) {
    return value ? FormatTimestamp(value->time) : std::wstring();
}

std::wstring ExpOf(const std::optional<TimedExp>& value) {
    return value ? WholeNumberText(value->exp) : std::wstring();
}

// The panel's figures, top to bottom and left to right; a new figure is one more row here and
// its place in the frame.
constexpr PanelRow kRows[] = {
    {L"lblStartTime", 56, 32, 127, 13, PanelAlign::Center,
     [](const MeasurementRecord& r) { return TimeOf(r.start); }},
    {L"lblStartExp", 187, 32, 66, 13, PanelAlign::Right,
     [](const MeasurementRecord& r) { return ExpOf(r.start); }},
    {L"lblEndTime", 56, 48, 127, 13, PanelAlign::Center,
     [](const MeasurementRecord& r) { return TimeOf(r.latest); }},
    {L"lblEndExp", 187, 48, 66, 13, PanelAlign::Right,
     [](const MeasurementRecord& r) { return ExpOf(r.latest); }},
    {L"lblElapseExp", 187, 68, 66, 13, PanelAlign::Right, IncreaseText},
    {L"lblExpPerHour", 56, 68, 127, 13, PanelAlign::Center,
     [](const MeasurementRecord& r) { return ExpPerHourCaption(r.expPerHour); }},
    // Below the frame, on the EXP line right of the figure read (the window keeps it there), the
    // time to the next level on a second line under the percent.
    {kLevelLabel, 236, 96, 28, 26, PanelAlign::Left, LevelLineText},
};

} // namespace

std::wstring IncreaseText(const MeasurementRecord& record) {
    return record.start ? WholeNumberText(record.increase) : std::wstring();
}

namespace {

std::wstring ExpColumn(double value) {
    return FormatColumn(value, 14, 1, 0, false).value_or(L" 0 ");
}

} // namespace

std::span<const PanelRow> PanelRows() {
    return kRows;
}

std::wstring TimeToNextLevel(const MeasurementRecord& record) {
    return TimeToNextLevelText(record.remainingExp, record.expPerHour);
}

std::wstring LevelLineText(const MeasurementRecord& record) {
    std::wstring line = record.percent ? PercentText(record.percent) + L"%" : std::wstring();
    const std::wstring time = TimeToNextLevel(record);
    if (!time.empty()) {
        line += (line.empty() ? L"" : L"\r\n") + (L"次のLvまで " + time);
    }
    return line;
}

std::wstring ChartHeading(const MeasurementRecord& record) {
    std::wstring heading = L"増加量 " + IncreaseText(record);
    if (record.expPerHour) {
        heading += L"    " + ExpPerHourCaption(record.expPerHour);
    }
    if (record.recentPerHour) {
        heading += L"    直近10分 " + GroupedNumberText(*record.recentPerHour);
    }
    const std::wstring time = TimeToNextLevel(record);
    if (!time.empty()) {
        heading += L"    次のLvまで " + time;
    }
    return heading;
}

void UpdateStatusPanel(const MeasurementRecord& record, StatusPanelView& view) {
    for (std::size_t i = 0; i < std::size(kRows); ++i) {
        view.SetCaption(i, kRows[i].text(record));
    }
    view.RepaintPanel();
}

std::wstring PlainNumberText(const std::optional<double>& reading) {
    if (!reading) {
        return {};
    }
    return WholeNumberText(*reading);
}

std::wstring BuildSummaryLine(const MeasurementRecord& record) {
    const auto exp = [](const std::optional<TimedExp>& v) { return ExpColumn(v ? v->exp : 0); };
    std::wstring line = L"開始時刻:";
    line.append(TimeOf(record.start)).append(L"  Exp:").append(exp(record.start));
    line.append(L"終了時刻:").append(TimeOf(record.latest)).append(L"  Exp:");
    line.append(exp(record.latest));
    line.append(L"\u3000増加量:").append(19, L' ');
    line.append(L"  Exp:").append(ExpColumn(record.increase));
    return line;
}

void WriteMeasurementSummary(const MeasurementRecord& record, LogBox& log, DebugLog& debugLog) {
    if (record.phase != MeasurementPhase::Measuring) {
        return;
    }
    AppendLog(log, BuildSummaryLine(record) + L"\r\n\r\n", kLogLineBreakCap);
    debugLog.Write(L"測定終了表示完了");
}

} // namespace qv

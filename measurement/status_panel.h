// The status panel ("測定状況"): start and latest time and EXP and the increase, and the
// summary line written to the log box when a measurement ends.
#pragma once

#include "measurement/log_view.h"
#include "services/debug_log.h"
#include "services/local_time.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

// ExpPerHour is the hourly rate in the increase row's time column.
enum class PanelLabel { StartTime, StartExp, EndTime, EndExp, ElapseExp, ExpPerHour };
inline constexpr std::array<PanelLabel, 6> kPanelLabels = {
    PanelLabel::StartTime, PanelLabel::StartExp,  PanelLabel::EndTime,
    PanelLabel::EndExp,    PanelLabel::ElapseExp, PanelLabel::ExpPerHour};

// The panel's value labels are the only store of the start and end values.
class StatusPanelView {
  public:
    virtual ~StatusPanelView() = default;
    virtual std::wstring Caption(PanelLabel label) const = 0;
    virtual void SetCaption(PanelLabel label, std::wstring_view text) = 0;
    virtual void RepaintPanel() = 0;
};

struct StatusPanelContext {
    StatusPanelView& panel;
    LogBox& log;
    Clock& clock;
    DebugLog& debugLog;
    // The last figure read: a capture that read nothing leaves it; nothing before the first.
    const std::optional<double>& latestExp;
    const std::wstring& logMark;
};

// The mode words of UpdateStatusPanel.
enum class PanelMode {
    INIT,   // empty the panel
    FAST,   // fill it from the first reading
    END,    // write the summary when a measurement log is open
    Latest, // the empty word: refresh the latest time and EXP
};

void UpdateStatusPanel(PanelMode mode, StatusPanelContext& context);

// A reading as plain digits (6024300), empty when there is none yet.
std::wstring PlainNumberText(const std::optional<double>& reading);

// The number spelled by the leading characters of a caption; 0 when there is none.
double LeadingNumber(std::wstring_view caption);

// The one-line summary of the panel's captions (without the line breaks).
std::wstring BuildSummaryLine(std::wstring_view startTime, std::wstring_view startExp,
                              std::wstring_view endTime, std::wstring_view endExp,
                              std::wstring_view elapseExp);

} // namespace qv

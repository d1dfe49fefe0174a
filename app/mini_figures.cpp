#include "app/mini_figures.h"

#include "measurement/exp_gain.h"
#include "measurement/status_panel.h"

namespace qv {

namespace {

std::wstring KnownOrDash(std::wstring text) {
    return text.empty() ? std::wstring(kUnknownFigure) : text;
}

std::wstring RateText(const std::optional<double>& rate) {
    return KnownOrDash(rate ? GroupedNumberText(*rate) : L"");
}

} // namespace

// The button is captioned like the menu item it stands for.
MiniFigures MiniFiguresOf(const MeasurementRecord& record) {
    MiniFigures f;
    f.increase = KnownOrDash(IncreaseText(record));
    f.expPerHour = RateText(record.expPerHour);
    f.lastTenMinutes = RateText(record.recentPerHour);
    f.toNextLevel = KnownOrDash(TimeToNextLevel(record));
    f.pauseCaption = PauseCaption(record);
    f.pauseEnabled = record.Running();
    return f;
}

} // namespace qv

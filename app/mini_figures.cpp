#include "app/mini_figures.h"

#include "measurement/exp_gain.h"
#include "measurement/status_panel.h"

namespace qv {

namespace {

std::wstring KnownOrDash(std::wstring text) {
    return text.empty() ? std::wstring(kUnknownFigure) : text;
}

} // namespace

// The record holds neither the last ten minutes' rate, nor the EXP to the next level, nor a
// pause yet: those two figures show the dash, and the button always offers "一時停止" while a
// measurement runs.
MiniFigures MiniFiguresOf(const MeasurementRecord& record) {
    MiniFigures f;
    f.increase = KnownOrDash(IncreaseText(record));
    f.expPerHour = KnownOrDash(record.expPerHour ? GroupedNumberText(*record.expPerHour) : L"");
    f.lastTenMinutes = kUnknownFigure;
    f.toNextLevel = kUnknownFigure;
    f.pauseCaption = L"一時停止";
    f.pauseEnabled = record.Running();
    return f;
}

} // namespace qv

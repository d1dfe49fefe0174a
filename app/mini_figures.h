// The figures of the small window ("ミニ表示") from the measurement's record, as text: what the
// window shows is decided here, so it can be checked without a window.
#pragma once

#include "measurement/measurement_record.h"

#include <string>

namespace qv {

// What a figure shows while it is not known: the dash of code page 932, which the window's
// Shift-JIS font has.
inline constexpr wchar_t kUnknownFigure[] = L"\u2015";

struct MiniFigures {
    std::wstring increase;       // 増加量, as the status panel shows it
    std::wstring expPerHour;     // 時給, the average since the first reading
    std::wstring lastTenMinutes; // 直近10分, the rate of the last ten minutes
    std::wstring toNextLevel;    // 次のLvまで
    // The button's caption ("一時停止", "再開" while paused) and whether it can be pressed.
    std::wstring pauseCaption;
    bool pauseEnabled = false;
};

MiniFigures MiniFiguresOf(const MeasurementRecord& record);

// The pause command's caption, on the menu bar and on the small window's button.
inline constexpr wchar_t kPauseCaption[] = L"一時停止";
inline constexpr wchar_t kResumeCaption[] = L"再開";
inline const wchar_t* PauseCaption(const MeasurementRecord& record) {
    return record.paused ? kResumeCaption : kPauseCaption;
}

} // namespace qv

// Timer periods, due-time arithmetic on the millisecond clock and the time texts of the
// measurement (log lines, snapshot file names).
#pragma once

#include "services/local_time.h"

#include <cstdint>
#include <optional>
#include <string>

namespace qv {

// One capture interval is split into this many milliseconds of timer period per second.
inline constexpr std::int32_t kTimerMillisecondsPerSecond = 240;
// Longest timer period used; longer intervals are polled at this period, since the capture
// follows the due time rather than the period.
inline constexpr std::int32_t kMaxCaptureTimerPeriod = 60000;

// a * b in 32-bit signed arithmetic; nothing when the product overflows.
std::optional<std::int32_t> CheckedMultiply(std::int32_t a, std::int32_t b);

// captureInterval x 240 ms, kept within [240, kMaxCaptureTimerPeriod].
std::int32_t CaptureTimerPeriod(std::int32_t captureInterval);

// seconds x 1000, kept within [0, INT32_MAX].
std::int32_t SecondsToMilliseconds(std::int32_t seconds);

// The clock value `milliseconds` after `now` (wrapping like the counter).
std::uint32_t ClockAfter(std::uint32_t now, std::int32_t milliseconds);

// True when `now` is at or after `due`. Both are wrapping counter values less than 2^31 ms
// apart, which holds while the timer ticks (at most a minute apart).
bool IsCaptureDue(std::uint32_t now, std::uint32_t due);

// "mm/dd hh:mm", the time at the head of a log line.
std::wstring FormatLogLineTime(const LocalTime& time);

// "_yyyymmddhhmmss", the stamp in saved picture names.
std::wstring FormatFileStamp(const LocalTime& time);

} // namespace qv

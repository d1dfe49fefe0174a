#include "measurement/measurement_timing.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace qv {

namespace {
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
} // namespace

std::optional<std::int32_t> CheckedMultiply(std::int32_t a, std::int32_t b) {
    const std::int64_t product = std::int64_t{a} * b;
    if (product > kInt32Max || product < kInt32Min) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(product);
}

std::int32_t CaptureTimerPeriod(std::int32_t captureInterval) {
    const auto period = CheckedMultiply(captureInterval, kTimerMillisecondsPerSecond);
    if (!period) {
        return captureInterval < 0 ? kTimerMillisecondsPerSecond : kMaxCaptureTimerPeriod;
    }
    return std::clamp(*period, kTimerMillisecondsPerSecond, kMaxCaptureTimerPeriod);
}

std::int32_t SecondsToMilliseconds(std::int32_t seconds) {
    if (seconds <= 0) {
        return 0;
    }
    return CheckedMultiply(seconds, 1000).value_or(std::numeric_limits<std::int32_t>::max());
}

std::uint32_t ClockAfter(std::uint32_t now, std::int32_t milliseconds) {
    return now + static_cast<std::uint32_t>(std::max(milliseconds, 0));
}

bool IsCaptureDue(std::uint32_t now, std::uint32_t due) {
    return static_cast<std::int32_t>(now - due) >= 0;
}

std::wstring FormatLogLineTime(const LocalTime& t) {
    wchar_t buffer[32];
    std::swprintf(buffer, 32, L"%02d/%02d %02d:%02d", t.month, t.day, t.hour, t.minute);
    return buffer;
}

std::wstring FormatFileStamp(const LocalTime& t) {
    wchar_t buffer[40];
    std::swprintf(buffer, 40, L"_%04d%02d%02d%02d%02d%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return buffer;
}

} // namespace qv

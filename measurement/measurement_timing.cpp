#include "measurement/measurement_timing.h"

#include "base/number_text.h"

#include <algorithm>
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
    return ZeroPadded(t.month, 2) + L"/" + ZeroPadded(t.day, 2) + L" " + ZeroPadded(t.hour, 2) +
           L":" + ZeroPadded(t.minute, 2);
}

std::wstring FormatFileStamp(const LocalTime& t) {
    return L"_" + ZeroPadded(t.year, 4) + ZeroPadded(t.month, 2) + ZeroPadded(t.day, 2) +
           ZeroPadded(t.hour, 2) + ZeroPadded(t.minute, 2) + ZeroPadded(t.second, 2);
}

} // namespace qv

#include "measurement/exp_gain.h"

#include "base/number_text.h"

#include <cmath>
#include <utility>

namespace qv {

namespace {
constexpr double kMillisecondsPerHour = 3600000.0;
constexpr wchar_t kRatePrefix[] = L"時給 ";
} // namespace

std::optional<double> HourlyRate(double increase, std::uint64_t elapsedMilliseconds) {
    if (elapsedMilliseconds < kRateMinimumMilliseconds) {
        return std::nullopt;
    }
    return std::floor(increase * kMillisecondsPerHour / static_cast<double>(elapsedMilliseconds));
}

std::optional<EvaluatedReading>
ExpGainTracker::Evaluate(const LocalTime& time, std::uint32_t clockMilliseconds, double reading) {
    const bool read = reading != 0 && std::isfinite(reading);
    if (!read && !started_) {
        return std::nullopt;
    }
    EvaluatedReading r;
    r.time = time;
    if (!read) {
        r.event = ReadingEvent::Unread;
    } else if (!started_) {
        started_ = true;
        lastClock_ = clockMilliseconds;
        r.reading = reading;
        r.event = ReadingEvent::Start;
    } else {
        // The difference of two counter values stays right across the counter's wrap.
        elapsed_ += static_cast<std::uint32_t>(clockMilliseconds - lastClock_);
        lastClock_ = clockMilliseconds;
        const double change = reading - previous_;
        if (change > 0) {
            increase_ += change;
        }
        r.reading = reading;
        r.change = change;
        r.event = change < 0 ? ReadingEvent::Fall : ReadingEvent::Steady;
    }
    if (read) {
        previous_ = reading;
    }
    r.elapsedMilliseconds = elapsed_;
    r.increase = increase_;
    r.expPerHour = HourlyRate(increase_, elapsed_);
    return r;
}

std::wstring GroupedNumberText(double value) {
    const std::wstring digits = WholeNumberText(std::floor(value));
    const std::size_t signs = !digits.empty() && digits[0] == L'-' ? 1 : 0;
    std::wstring text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        const std::size_t left = digits.size() - i;
        if (i > signs && left % 3 == 0) {
            text += L',';
        }
        text += digits[i];
    }
    return text;
}

std::wstring ExpPerHourCaption(const std::optional<double>& rate) {
    return rate ? kRatePrefix + GroupedNumberText(*rate) : std::wstring();
}

} // namespace qv

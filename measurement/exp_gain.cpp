#include "measurement/exp_gain.h"

#include "base/number_text.h"

#include <algorithm>
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

std::optional<EvaluatedReading> ExpGainTracker::Evaluate(const LocalTime& time,
                                                         std::uint32_t clockMilliseconds,
                                                         double reading,
                                                         std::optional<double> percent) {
    const bool read = reading != 0 && std::isfinite(reading);
    if (!read) {
        if (!started_) {
            return std::nullopt;
        }
        EvaluatedReading r = Record(time);
        r.event = ReadingEvent::Unread;
        return r;
    }
    if (!started_) {
        started_ = true;
        lastClock_ = clockMilliseconds;
        previous_ = base_ = reading;
        static_cast<void>(level_.Judge(reading, percent)); // the level's range begins here
        EvaluatedReading r = Record(time, percent);
        r.reading = reading;
        r.event = ReadingEvent::Start;
        return r;
    }
    Advance(clockMilliseconds);
    const double change = reading - previous_;
    Outcome outcome;
    const RangeCheck check = level_.Judge(reading, percent);
    switch (check.decision) {
    case RangeDecision::Misread:
        outcome.misread = true; // counts for nothing; what waits keeps waiting
        break;
    case RangeDecision::Rebegun:
        // The level's range came from a misread: the three readings that agree count.
        increase_ += check.rises;
        base_ = previous_ = reading;
        waiting_ = Waiting::Nothing;
        outcome.corrects = true;
        break;
    case RangeDecision::Rise:
    case RangeDecision::Fall:
        outcome = CountChecked(reading, check.decision == RangeDecision::Fall);
        break;
    case RangeDecision::Unchecked:
        outcome = CountUnchecked(reading, change);
        break;
    }
    EvaluatedReading r = Record(time, percent);
    r.reading = reading;
    r.change = change;
    r.event = outcome.misread ? ReadingEvent::Misread
              : outcome.fall  ? ReadingEvent::Fall
                              : ReadingEvent::Steady;
    r.correctsMisread = outcome.corrects;
    r.misreadFall = outcome.misreadFall;
    return r;
}

// The percent vouched for the reading: it counts at once, a rise whatever its size, a fall as a
// level-up or a death.
ExpGainTracker::Outcome ExpGainTracker::CountChecked(double reading, bool fall) {
    Outcome outcome = Settle(reading);
    if (!fall) {
        increase_ += std::max(0.0, reading - base_);
    }
    outcome.fall = fall;
    base_ = previous_ = reading;
    return outcome;
}

// Without a percent, the misread rules decide; a fall they take begins a new level's range.
ExpGainTracker::Outcome ExpGainTracker::CountUnchecked(double reading, double change) {
    Outcome outcome;
    if (change == 0) { // a repeated figure decides nothing
        return outcome;
    }
    outcome = Settle(reading);
    outcome.fall = Measure(reading);
    if (outcome.fall) {
        level_.BeginLevel();
    }
    previous_ = reading;
    return outcome;
}

std::optional<EvaluatedReading> ExpGainTracker::Finish(const LocalTime& time) {
    if (waiting_ != Waiting::Rise) {
        return std::nullopt;
    }
    SettleWaiting(previous_);
    EvaluatedReading r = Record(time);
    r.reading = previous_;
    return r;
}

// Settles what waits for `reading`: whether it showed a misread, and which fall that was.
ExpGainTracker::Outcome ExpGainTracker::Settle(double reading) {
    Outcome outcome;
    const bool fallWaited = waiting_ == Waiting::Fall;
    outcome.corrects = SettleWaiting(reading);
    if (outcome.corrects && fallWaited) {
        outcome.misreadFall = fallElapsed_;
    }
    return outcome;
}

bool ExpGainTracker::SettleWaiting(double reading) {
    const Waiting waited = std::exchange(waiting_, Waiting::Nothing);
    if (waited == Waiting::Fall) {
        if (reading >= base_) {
            return true; // a covered digit: the figure never fell
        }
        base_ = previous_;
    } else if (waited == Waiting::Rise) {
        if (reading < previous_) {
            // Back between the base and the held figure: that was a misread. Below the base
            // the held figure is only left out, and the fall is measured as any other.
            return reading >= base_;
        }
        increase_ += previous_ - base_;
        base_ = previous_;
    }
    return false;
}

bool ExpGainTracker::Measure(double reading) {
    if (reading < base_) {
        waiting_ = Waiting::Fall;
        fallElapsed_ = elapsed_;
        return true;
    }
    if (reading > 2 * base_) {
        waiting_ = Waiting::Rise;
        return false;
    }
    increase_ += reading - base_;
    base_ = reading;
    return false;
}

std::optional<EvaluatedReading> ExpGainTracker::Pause(const LocalTime& time,
                                                      std::uint32_t clockMilliseconds) {
    return MarkPause(time, clockMilliseconds, true);
}

std::optional<EvaluatedReading> ExpGainTracker::Resume(const LocalTime& time,
                                                       std::uint32_t clockMilliseconds) {
    return MarkPause(time, clockMilliseconds, false);
}

// The time up to the mark counts as it was (paused or not); from it on, as `paused` says.
std::optional<EvaluatedReading>
ExpGainTracker::MarkPause(const LocalTime& time, std::uint32_t clockMilliseconds, bool paused) {
    if (!started_) {
        return std::nullopt;
    }
    Advance(clockMilliseconds);
    paused_ = paused;
    EvaluatedReading r = Record(time);
    r.event = paused ? ReadingEvent::Pause : ReadingEvent::Resume;
    return r;
}

void ExpGainTracker::Advance(std::uint32_t clockMilliseconds) {
    // The difference of two counter values stays right across the counter's wrap.
    const std::uint32_t step = clockMilliseconds - lastClock_;
    lastClock_ = clockMilliseconds;
    elapsed_ += step;
    if (!paused_) {
        measured_ += step;
    }
}

EvaluatedReading ExpGainTracker::Record(const LocalTime& time, std::optional<double> percent) {
    EvaluatedReading r;
    r.percent = percent;
    r.remainingExp = level_.RemainingExp();
    r.time = time;
    r.elapsedMilliseconds = elapsed_;
    r.measuredMilliseconds = measured_;
    r.increase = increase_;
    r.expPerHour = HourlyRate(increase_, measured_);
    r.recentPerHour = RecentRate();
    return r;
}

// The increase since the last record at or before the span's start, over the span (the
// measured time itself while it is shorter).
std::optional<double> ExpGainTracker::RecentRate() {
    recent_.emplace_back(measured_, increase_);
    const std::uint64_t from =
        measured_ > kRecentMilliseconds ? measured_ - kRecentMilliseconds : 0;
    while (recent_.size() > 1 && recent_[1].first <= from) {
        recent_.pop_front();
    }
    const double before = recent_.front().first <= from ? recent_.front().second : 0;
    return HourlyRate(increase_ - before, measured_ - from);
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

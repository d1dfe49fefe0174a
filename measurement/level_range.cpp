#include "measurement/level_range.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace qv {

namespace {

constexpr double kInfinite = std::numeric_limits<double>::infinity();
constexpr double kMinutesPerHour = 60;
constexpr std::int64_t kMinutesPerDay = 24 * 60;
constexpr std::int64_t kLongestDays = 10000;

TotalRange Overlap(const TotalRange& a, const TotalRange& b) {
    return {std::max(a.low, b.low), std::min(a.high, b.high)};
}

std::wstring TwoDigits(std::int64_t v) {
    return (v < 10 ? L"0" : L"") + std::to_wstring(v);
}

} // namespace

bool TotalRange::Meets(const TotalRange& other) const {
    return std::max(low, other.low) <= std::min(high, other.high);
}

std::optional<TotalRange> ReadingRange(double figure, std::optional<double> percent) {
    if (!percent) {
        return std::nullopt;
    }
    // In hundredths, so that the bounds are exact divisions of whole numbers.
    const double hundredths = std::round(*percent * 100);
    if (hundredths < 1 || hundredths > 9999) {
        return std::nullopt;
    }
    const double high = hundredths <= 1 ? kInfinite : 10000 * figure / (hundredths - 1);
    return TotalRange{10000 * figure / (hundredths + 1), high};
}

RangeCheck LevelRange::Judge(double figure, std::optional<double> percent) {
    const std::optional<TotalRange> reading = ReadingRange(figure, percent);
    if (!reading || !range_ || !lastCounted_) {
        Count(figure, reading);
        return {};
    }
    return JudgeAgainstLevel(figure, *reading);
}

RangeCheck LevelRange::JudgeAgainstLevel(double figure, const TotalRange& reading) {
    if (figure >= *lastCounted_) {
        if (!reading.Meets(*range_)) {
            return Misread(figure, reading);
        }
        Count(figure, reading);
        return {RangeDecision::Rise};
    }
    if (reading.high < range_->low) { // about a tenth: a covered digit
        return Misread(figure, reading);
    }
    BeginLevel();
    Count(figure, reading);
    return {RangeDecision::Fall};
}

// A misread; the third of three different ones that agree with one another shows the level's
// range to be the misread instead.
RangeCheck LevelRange::Misread(double figure, const TotalRange& reading) {
    if (misreadCount_ > 0 && misreads_[misreadCount_ - 1].figure == figure) {
        return {RangeDecision::Misread}; // a figure held on screen decides nothing
    }
    if (misreadCount_ == misreads_.size()) {
        std::rotate(misreads_.begin(), misreads_.begin() + 1, misreads_.end());
        --misreadCount_;
    }
    misreads_[misreadCount_++] = {figure, reading};
    if (misreadCount_ < misreads_.size() || !MisreadsAgree()) {
        return {RangeDecision::Misread};
    }
    const auto& [first, second, third] = misreads_;
    const double rises =
        std::max(0.0, second.figure - first.figure) + std::max(0.0, third.figure - second.figure);
    range_ = Overlap(Overlap(first.range, second.range), third.range);
    lastCounted_ = figure;
    misreadCount_ = 0;
    return {RangeDecision::Rebegun, rises};
}

bool LevelRange::MisreadsAgree() const {
    const auto& [first, second, third] = misreads_;
    return first.range.Meets(second.range) && first.range.Meets(third.range) &&
           second.range.Meets(third.range);
}

void LevelRange::Count(double figure, std::optional<TotalRange> reading) {
    if (reading) {
        range_ = range_ ? Overlap(*range_, *reading) : *reading;
    }
    lastCounted_ = figure;
    misreadCount_ = 0;
}

void LevelRange::BeginLevel() {
    range_.reset();
}

std::optional<double> LevelRange::Total() const {
    if (!range_ || !std::isfinite(range_->high) ||
        range_->high - range_->low > kTotalPrecision * range_->Middle()) {
        return std::nullopt;
    }
    return range_->Middle();
}

std::optional<double> LevelRange::RemainingExp() const {
    const std::optional<double> total = Total();
    if (!total || !lastCounted_) {
        return std::nullopt;
    }
    return std::max(0.0, *total - *lastCounted_);
}

std::wstring TimeToNextLevelText(std::optional<double> remaining,
                                 std::optional<double> expPerHour) {
    if (!remaining || !expPerHour || !(*expPerHour > 0) || !(*remaining >= 0)) {
        return {};
    }
    const double minutes = std::ceil(*remaining * kMinutesPerHour / *expPerHour);
    if (!(minutes < static_cast<double>(kLongestDays * kMinutesPerDay))) {
        return {};
    }
    const auto total = static_cast<std::int64_t>(minutes);
    const std::int64_t days = total / kMinutesPerDay;
    const std::wstring clock =
        std::to_wstring(total % kMinutesPerDay / 60) + L":" + TwoDigits(total % 60);
    return days > 0 ? std::to_wstring(days) + L"日" + clock : clock;
}

} // namespace qv

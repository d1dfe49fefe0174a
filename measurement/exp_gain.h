// What a measurement has earned: the increase (the sum of the rises between consecutive
// readings), the hourly rate, and the one record of each evaluated capture that the status
// panel, the journal and any other follower are fed from.
#pragma once

#include "services/local_time.h"

#include <cstdint>
#include <optional>
#include <string>

namespace qv {

enum class ReadingEvent {
    Start,  // the first reading of the measurement
    Steady, // a rise or no change
    Fall,   // a level-up or a death
    Unread, // the capture read nothing
};

// One evaluated capture of a measurement.
struct EvaluatedReading {
    LocalTime time;
    // Millisecond-clock time from the measurement's first reading to this capture's reading
    // (for an unread capture, to the latest reading).
    std::uint64_t elapsedMilliseconds = 0;
    std::optional<double> reading; // nothing when the capture read nothing
    // Against the previous reading; nothing at the first reading and when nothing was read.
    std::optional<double> change;
    double increase = 0;
    std::optional<double> expPerHour; // nothing until kRateMinimumMilliseconds have passed
    ReadingEvent event = ReadingEvent::Steady;
};

// A rate from less than a minute of readings is noise and is not shown.
inline constexpr std::uint64_t kRateMinimumMilliseconds = 60000;

// EXP per hour, rounded down; nothing before kRateMinimumMilliseconds.
std::optional<double> HourlyRate(double increase, std::uint64_t elapsedMilliseconds);

// Sums the rises of one measurement. A fall adds nothing and the next rise counts from the
// fallen value; a capture that read nothing is skipped.
class ExpGainTracker {
  public:
    // Forgets the measurement; the next reading is a first reading.
    void Reset() { *this = ExpGainTracker(); }
    bool Started() const { return started_; }

    // `reading` 0 (or not finite) means nothing was read. Nothing is returned for such a
    // capture before the first reading: no measurement has begun to record it.
    std::optional<EvaluatedReading> Evaluate(const LocalTime& time, std::uint32_t clockMilliseconds,
                                             double reading);

  private:
    bool started_ = false;
    double previous_ = 0;
    double increase_ = 0;
    std::uint32_t lastClock_ = 0;
    std::uint64_t elapsed_ = 0;
};

// Who follows the evaluated captures (the journal, the graph).
class ReadingListener {
  public:
    virtual ~ReadingListener() = default;
    virtual void OnReading(const EvaluatedReading& reading) = 0;
};

// 1234567 as "1,234,567" (whole numbers, rounded down).
std::wstring GroupedNumberText(double value);

// The status panel's rate label: "時給 1,234,567", empty while there is no rate.
std::wstring ExpPerHourCaption(const std::optional<double>& rate);

} // namespace qv

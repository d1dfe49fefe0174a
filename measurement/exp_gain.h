// What a measurement has earned: the increase (the sum of the rises between consecutive
// readings, leaving out what a misread made up), the hourly rate, and the evaluation of each
// capture, which decides a fall and feeds the measurement's record.
#pragma once

#include "measurement/level_range.h"
#include "services/local_time.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <utility>

namespace qv {

enum class ReadingEvent {
    Start,   // the first reading of the measurement
    Steady,  // a rise or no change
    Fall,    // a level-up or a death
    Unread,  // the capture read nothing
    Misread, // the percent beside the figure shows the figure to be wrong: it counts for nothing
    Pause,   // the player paused the measurement
    Resume,  // the player resumed it
};

// One evaluated capture of a measurement.
struct EvaluatedReading {
    LocalTime time;
    // Millisecond-clock time from the measurement's first reading to this capture's reading
    // (for an unread capture, to the latest reading), pauses included: the graph's time.
    std::uint64_t elapsedMilliseconds = 0;
    // The same without the pauses: the time the rates are measured over.
    std::uint64_t measuredMilliseconds = 0;
    std::optional<double> reading; // nothing when the capture read nothing
    // Against the previous reading; nothing at the first reading and when nothing was read.
    std::optional<double> change;
    double increase = 0;
    std::optional<double> expPerHour; // nothing until kRateMinimumMilliseconds have passed
    // The rate of the last kRecentMilliseconds of measuring (of less, before that much has
    // passed); nothing until kRateMinimumMilliseconds.
    std::optional<double> recentPerHour;
    ReadingEvent event = ReadingEvent::Steady;
    // This reading showed an earlier figure to be a misread: a fall that was a covered digit,
    // or a held rise that was never there. The journal marks its row as the correction.
    bool correctsMisread = false;
    // The elapsedMilliseconds of the fall this reading showed to be a misread: its mark goes.
    std::optional<std::uint64_t> misreadFall;
    // The percent the game showed beside the figure, when it was read.
    std::optional<double> percent;
    // The level's total less the last counted figure, once the percent has told the total.
    std::optional<double> remainingExp;
};

// A rate from less than a minute of readings is noise and is not shown.
inline constexpr std::uint64_t kRateMinimumMilliseconds = 60000;
// The span of the recent rate, "直近10分".
inline constexpr std::uint64_t kRecentMilliseconds = 600000;

// EXP per hour, rounded down; nothing before kRateMinimumMilliseconds.
std::optional<double> HourlyRate(double increase, std::uint64_t elapsedMilliseconds);

// Sums the rises of one measurement from the figure the increase counts from (its base). A
// fall adds nothing and the next rise counts from the fallen value; a capture that read
// nothing is skipped. A covered digit or a stray one reads as a wrong figure for as long as
// it stays, so two kinds of change wait for the next different reading before they count:
// - a fall: if that reading is at least the base, the fall was a misread and the base stays;
//   otherwise the base becomes the fallen figure;
// - a rise to more than twice the base: if that reading is at least the held figure, the rise
//   counts; otherwise the held figure adds nothing. A rise still held at the end counts.
// The reading that decides is then measured against the base like any other.
class ExpGainTracker {
  public:
    // Forgets the measurement; the next reading is a first reading.
    void Reset() { *this = ExpGainTracker(); }
    bool Started() const { return started_; }

    // `reading` 0 (or not finite) means nothing was read. Nothing is returned for such a
    // capture before the first reading: no measurement has begun to record it. Where the
    // reading and the level both have a percent, the level's range decides (LevelRange);
    // elsewhere the rules above.
    std::optional<EvaluatedReading> Evaluate(const LocalTime& time, std::uint32_t clockMilliseconds,
                                             double reading,
                                             std::optional<double> percent = std::nullopt);
    // The measurement ends: a rise still held counts. The last reading's record with the
    // final increase, or nothing when the end changes nothing.
    std::optional<EvaluatedReading> Finish(const LocalTime& time);
    // The time from a pause to its resume counts for the graph, not for the rates. The pause's
    // or the resume's record, nothing before the first reading.
    std::optional<EvaluatedReading> Pause(const LocalTime& time, std::uint32_t clockMilliseconds);
    std::optional<EvaluatedReading> Resume(const LocalTime& time, std::uint32_t clockMilliseconds);

  private:
    enum class Waiting { Nothing, Fall, Rise };

    struct Outcome {
        bool fall = false;
        bool misread = false;
        bool corrects = false;
        std::optional<std::uint64_t> misreadFall;
    };
    Outcome CountChecked(double reading, bool fall);
    Outcome CountUnchecked(double reading, double change);
    Outcome Settle(double reading);
    // Settles what waits for `reading`; true when it showed a misread.
    bool SettleWaiting(double reading);
    // Measures `reading` against the base; true for a fall.
    bool Measure(double reading);
    std::optional<EvaluatedReading> MarkPause(const LocalTime& time,
                                              std::uint32_t clockMilliseconds, bool paused);
    // Moves the clocks on to `clockMilliseconds`; the measured time only while not paused.
    void Advance(std::uint32_t clockMilliseconds);
    EvaluatedReading Record(const LocalTime& time, std::optional<double> percent = std::nullopt);
    std::optional<double> RecentRate();

    bool started_ = false;
    double previous_ = 0; // the last figure read: the fallen or held figure while one waits
    double base_ = 0;
    double increase_ = 0;
    Waiting waiting_ = Waiting::Nothing;
    std::uint64_t fallElapsed_ = 0; // when the waiting fall was read
    std::uint32_t lastClock_ = 0;
    std::uint64_t elapsed_ = 0;
    std::uint64_t measured_ = 0;
    bool paused_ = false;
    LevelRange level_;
    // (measured time, increase) at every record of the last kRecentMilliseconds, and the last
    // one before them.
    std::deque<std::pair<std::uint64_t, double>> recent_;
};

// 1234567 as "1,234,567" (whole numbers, rounded down).
std::wstring GroupedNumberText(double value);

// The status panel's rate label: "時給 1,234,567", empty while there is no rate.
std::wstring ExpPerHourCaption(const std::optional<double>& rate);

} // namespace qv

// The level's total EXP as the percent beside the figure shows it, the readings it shows to be
// misreads, and the time to the next level.
//
// The game draws the figure E followed by its share P of the level's total T, to two decimals,
// rounded or cut off. So T lies between 100·E/(P+0.01) and 100·E/(P−0.01) (without an upper
// bound when P is 0.01 or less): a reading's range. The level's range is the overlap of the
// ranges of the readings counted since it began, which it does at the measurement's first
// reading with a percent and again at every counted fall (a level-up or a death).
//
// How the gain tracker uses it. Reset() when a measurement begins; then for every capture that
// read a figure (not for one that read nothing), before the tracker's own rules:
//
//     const RangeCheck check = levelRange.Judge(figure, percent);
//
//   Misread   the percent shows the figure to be wrong: it counts for nothing. The base, the
//             previous figure and anything held stay as they are; no fall sequence; the
//             journal's event is "誤認識". (Before this, the tracker would have counted it.)
//   Rebegun   the level's range came from a misread: the last three different readings agree
//             with one another and not with it. increase += check.rises (the rises among the
//             three); base = previous = figure; drop anything held. An ordinary steady reading
//             from then on.
//   Rise      a rise or an equal reading that meets the level's range: count it at once,
//             increase += figure − base, base = figure (no wait: the percent has vouched for it).
//             (Anything still held from an unchecked reading is settled with it first, as now.)
//   Fall      a fall not wholly below the level's range: a level-up or a death, at once (the
//             fall sequence, base = figure). The level's range has begun anew from it.
//   Unchecked the reading or the level has no percent: the tracker's rules without the percent
//             decide, unchanged. When they count a fall (at once or after their wait), call
//             BeginLevel(), so that the next reading with a percent begins the new level's range.
//
// With the percent 12.34 % throughout, these sequences of readings
//   1234567, 123567, 124567, 1234600, 1234610   gain 43  (two falls wholly below: misreads)
//   1234567, 12345, 123456, 1234580, 1234590    gain 23  (likewise)
//   123567, 1234580, 1234590, 1234600           gain 20  (the range began from a covered digit;
//                                                         the third rise begins it anew)
//   1234580, 12345800                           gain 0   (a rise far beyond the range)
// where the rules without the percent gain 1,111,043, 1,222,245, 1,111,033 and 11,111,220.
//
// The time to the next level: once the level's range is no wider than kTotalPrecision of its
// middle, the middle is the total, and the EXP left is the total less the last counted figure.
#pragma once

#include "base/number_text.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>

namespace qv {

// Where a level's total lies: [low, high]; high is infinite when the percent gives no bound.
struct TotalRange {
    double low = 0;
    double high = 0;

    bool Meets(const TotalRange& other) const;
    double Middle() const { return (low + high) / 2; }

    friend bool operator==(const TotalRange&, const TotalRange&) = default;
};

// The range of one reading; nothing without a percent or with one outside 0 < P < 100.
std::optional<TotalRange> ReadingRange(double figure, std::optional<double> percent);

// The range is the total once it is no wider than this share of its middle.
inline constexpr double kTotalPrecision = 0.02;

enum class RangeDecision { Unchecked, Rise, Fall, Misread, Rebegun };

struct RangeCheck {
    RangeDecision decision = RangeDecision::Unchecked;
    double rises = 0; // Rebegun only: the rises among the three readings that agreed
};

class LevelRange {
  public:
    void Reset() { *this = LevelRange(); }

    // Judges a reading of `figure` (not 0) against the level's range and keeps what it learned:
    // a counted reading narrows the range, a misread is remembered for the rule of three.
    RangeCheck Judge(double figure, std::optional<double> percent);
    // A fall the tracker counted without the percent: the range waits for the next percent.
    void BeginLevel();

    std::optional<TotalRange> Range() const { return range_; }
    // The level's total: the middle of its range once the range is narrow enough.
    std::optional<double> Total() const;
    // The total less the last counted figure (never below 0); nothing before the total is known.
    std::optional<double> RemainingExp() const;

  private:
    struct Seen {
        double figure = 0;
        TotalRange range;
    };

    RangeCheck JudgeAgainstLevel(double figure, const TotalRange& reading);
    RangeCheck Misread(double figure, const TotalRange& reading);
    bool MisreadsAgree() const; // the three kept misreads meet one another's ranges
    void Count(double figure, std::optional<TotalRange> reading);

    std::optional<TotalRange> range_;
    std::optional<double> lastCounted_;
    // The last misreads with different figures, oldest first, since the last counted reading.
    std::array<Seen, 3> misreads_{};
    std::size_t misreadCount_ = 0;
};

// The time `remaining` EXP takes at `expPerHour`: "h:mm", "d日h:mm" from a day on, rounded up
// to the minute. Empty without either figure, without a positive rate, and from 10000 days on.
std::wstring TimeToNextLevelText(std::optional<double> remaining, std::optional<double> expPerHour);

} // namespace qv

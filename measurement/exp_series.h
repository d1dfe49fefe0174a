// The graph's data for one measurement: the increase so far at each reading, against the
// time since the first reading, and the times of the falls (level-ups or deaths).
#pragma once

#include "measurement/exp_gain.h"
#include "services/local_time.h"

#include <cstdint>
#include <vector>

namespace qv {

// A paused span of the measurement, in seconds since its first reading.
struct PausedSpan {
    double from = 0;
    double to = 0; // equal to `from` while the pause lasts
};

struct SeriesPoint {
    double seconds = 0;  // since the first reading of the measurement
    double increase = 0; // the measurement's increase at that reading
};

// Kept by the evaluation in the measurement's record.
class ExpSeries {
  public:
    // A measurement's first reading starts a new graph; an unread capture adds nothing. A
    // reading that shows a fall to be a misread takes its mark away. A pause opens a span, the
    // resume closes it with the line flat across.
    void OnReading(const EvaluatedReading& reading);
    // A rise held until the end counts: the line rises at the last reading.
    void OnMeasurementEnd(const EvaluatedReading& final);

    // The first reading of a measurement: the previous graph is forgotten. `at` is the local
    // time of the reading, for the clock labels.
    void Begin(const LocalTime& at);
    // A later reading, `elapsedMilliseconds` after the first, with the increase so far; a fall
    // also gets its mark.
    void Add(std::uint64_t elapsedMilliseconds, double increase, bool fall = false);

    bool Empty() const { return points_.empty(); }
    const std::vector<SeriesPoint>& Points() const { return points_; }
    const std::vector<double>& Falls() const { return falls_; }
    const std::vector<PausedSpan>& Pauses() const { return pauses_; }
    const LocalTime& StartTime() const { return startTime_; }
    double Seconds() const { return points_.empty() ? 0 : points_.back().seconds; }
    double Increase() const { return points_.empty() ? 0 : points_.back().increase; }

  private:
    LocalTime startTime_;
    std::vector<SeriesPoint> points_;
    std::vector<double> falls_; // seconds since the first reading
    std::vector<PausedSpan> pauses_;
};

} // namespace qv

#include "measurement/exp_series.h"

namespace qv {

void ExpSeries::OnReading(const EvaluatedReading& reading) {
    switch (reading.event) {
    case ReadingEvent::Start:
        Begin(reading.time);
        break;
    case ReadingEvent::Steady:
    case ReadingEvent::Fall:
        Add(reading.elapsedMilliseconds, reading.increase, reading.event == ReadingEvent::Fall);
        break;
    case ReadingEvent::Unread:
        break;
    }
}

void ExpSeries::Begin(const LocalTime& at) {
    startTime_ = at;
    points_.clear();
    falls_.clear();
    points_.push_back(SeriesPoint{0, 0});
    ++revision_;
}

void ExpSeries::Add(std::uint64_t elapsedMilliseconds, double increase, bool fall) {
    if (points_.empty()) {
        return; // no first reading yet: nothing to measure from
    }
    const double seconds = static_cast<double>(elapsedMilliseconds) / 1000.0;
    points_.push_back(SeriesPoint{seconds, increase});
    if (fall) {
        falls_.push_back(seconds);
    }
    ++revision_;
}

} // namespace qv

#include "measurement/exp_series.h"

namespace qv {

namespace {
double SecondsOf(std::uint64_t milliseconds) {
    return static_cast<double>(milliseconds) / 1000.0;
}
} // namespace

void ExpSeries::OnReading(const EvaluatedReading& reading) {
    switch (reading.event) {
    case ReadingEvent::Start:
        Begin(reading.time);
        break;
    case ReadingEvent::Steady:
    case ReadingEvent::Fall:
        Add(reading.elapsedMilliseconds, reading.increase, reading.event == ReadingEvent::Fall);
        break;
    case ReadingEvent::Pause:
        Add(reading.elapsedMilliseconds, reading.increase);
        pauses_.push_back(PausedSpan{Seconds(), Seconds()});
        break;
    case ReadingEvent::Resume:
        Add(reading.elapsedMilliseconds, reading.increase);
        if (!pauses_.empty()) {
            pauses_.back().to = Seconds();
        }
        break;
    case ReadingEvent::Unread:
    case ReadingEvent::Misread:
        break;
    }
    if (reading.misreadFall) {
        std::erase(falls_, SecondsOf(*reading.misreadFall));
    }
}

void ExpSeries::OnMeasurementEnd(const EvaluatedReading& final) {
    Add(final.elapsedMilliseconds, final.increase);
}

void ExpSeries::Begin(const LocalTime& at) {
    startTime_ = at;
    points_.clear();
    falls_.clear();
    pauses_.clear();
    points_.push_back(SeriesPoint{0, 0});
}

void ExpSeries::Add(std::uint64_t elapsedMilliseconds, double increase, bool fall) {
    if (points_.empty()) {
        return; // no first reading yet: nothing to measure from
    }
    const double seconds = SecondsOf(elapsedMilliseconds);
    points_.push_back(SeriesPoint{seconds, increase});
    if (fall) {
        falls_.push_back(seconds);
    }
}

} // namespace qv

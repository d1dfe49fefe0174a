#include "measurement/measurement_evaluation.h"

namespace qv {

void MeasurementEvaluation::Start() {
    gain_.Reset();
    finished_ = false;
    record_.paused = false;
    record_.phase = MeasurementPhase::WaitingForGame;
    record_.capture.reset();
    Publish(RecordEvent::Started);
}

std::optional<EvaluatedReading> MeasurementEvaluation::Capture(double reading,
                                                               std::optional<double> percent) {
    const LocalTime now = clock_.Now();
    const std::optional<EvaluatedReading> evaluated =
        gain_.Evaluate(now, clock_.Milliseconds(), reading, percent);
    if (!evaluated) {
        return std::nullopt;
    }
    if (evaluated->event == ReadingEvent::Start) {
        // The figures of the last measurement stay on view until this moment.
        record_.phase = MeasurementPhase::Measuring;
        record_.start = record_.latest = TimedExp{now, *evaluated->reading};
    }
    record_.series.OnReading(*evaluated);
    if (evaluated->reading) {
        record_.lastReading = TimedExp{now, *evaluated->reading};
        record_.percent = evaluated->percent;
    }
    Take(*evaluated);
    Publish(RecordEvent::Captured);
    return evaluated;
}

void MeasurementEvaluation::Finish() {
    if (!record_.Running() || finished_) {
        return;
    }
    finished_ = true;
    const LocalTime now = clock_.Now();
    record_.capture.reset();
    if (const std::optional<EvaluatedReading> final = gain_.Finish(now)) {
        record_.series.OnMeasurementEnd(*final);
        Take(*final);
    }
    // The summary ends at the end itself, not at the last fall or click.
    if (record_.phase == MeasurementPhase::Measuring && record_.lastReading) {
        record_.latest = TimedExp{now, record_.lastReading->exp};
    }
    Publish(RecordEvent::Ended);
}

void MeasurementEvaluation::Stop() {
    gain_.Reset();
    finished_ = false;
    record_.paused = false;
    record_.phase = MeasurementPhase::Idle;
    record_.capture.reset();
    Publish(RecordEvent::Stopped);
}

void MeasurementEvaluation::SetPaused(bool paused) {
    if (!record_.Running() || record_.paused == paused) {
        return;
    }
    record_.paused = paused;
    const LocalTime now = clock_.Now();
    const std::uint32_t ms = clock_.Milliseconds();
    const std::optional<EvaluatedReading> mark =
        paused ? gain_.Pause(now, ms) : gain_.Resume(now, ms);
    record_.capture.reset();
    if (mark) {
        record_.series.OnReading(*mark);
        Take(*mark);
    }
    Publish(paused ? RecordEvent::Paused : RecordEvent::Resumed);
}

// Before any figure was read there is nothing to show, and an empty panel stays empty.
void MeasurementEvaluation::ShowLatest(RecordEvent event) {
    if (!record_.lastReading) {
        return;
    }
    record_.latest = TimedExp{clock_.Now(), record_.lastReading->exp};
    record_.capture.reset();
    Publish(event);
}

void MeasurementEvaluation::Take(const EvaluatedReading& evaluated) {
    record_.increase = evaluated.increase;
    record_.expPerHour = evaluated.expPerHour;
    record_.recentPerHour = evaluated.recentPerHour;
    record_.remainingExp = evaluated.remainingExp;
    record_.capture = evaluated;
}

void MeasurementEvaluation::Publish(RecordEvent event) {
    for (RecordListener* listener : listeners_) {
        listener->OnRecord(record_, event);
    }
}

} // namespace qv

// The evaluation of a measurement: one place decides what each capture means (with the misread
// rules of ExpGainTracker, which also decide a fall) and keeps the record every view renders.
#pragma once

#include "measurement/measurement_record.h"
#include "services/local_time.h"

#include <optional>
#include <vector>

namespace qv {

class MeasurementEvaluation {
  public:
    explicit MeasurementEvaluation(Clock& clock) : clock_(clock) {}

    // `listener` hears every publication in the order listeners were added; it must outlive
    // the evaluation.
    void AddListener(RecordListener& listener) { listeners_.push_back(&listener); }
    const MeasurementRecord& Record() const { return record_; }

    // A measurement begins: the record keeps the last one's figures until the first reading.
    void Start();
    // One capture: `reading` 0 (or not finite) is nothing read. The evaluated capture, or
    // nothing before the first reading while nothing is read. Its event Fall is a level-up or a
    // death; its misreadFall names an earlier fall that was none.
    std::optional<EvaluatedReading> Capture(double reading,
                                            std::optional<double> percent = std::nullopt);
    // A fall's sequence has ended: the latest values become now and the last figure read.
    void ShowFall() { ShowLatest(RecordEvent::FallShown); }
    // A click on the window: the same, once a figure has been read.
    void Click() { ShowLatest(RecordEvent::Clicked); }
    // The measurement ends (a stop, the game lost, a close, the menu's end): a rise still held
    // counts and the latest values move to the end. Nothing when no measurement runs.
    void Finish();
    // Nothing runs any more; the record keeps its figures for the panel and the graph.
    void Stop();
    // The running measurement pauses or goes on from its last reading.
    void Pause() { SetPaused(true); }
    void Resume() { SetPaused(false); }

  private:
    void ShowLatest(RecordEvent event);
    void SetPaused(bool paused);
    void Take(const EvaluatedReading& evaluated);
    void Publish(RecordEvent event);

    Clock& clock_;
    ExpGainTracker gain_;
    MeasurementRecord record_;
    bool finished_ = false; // the running measurement has ended and waits for its stop
    std::vector<RecordListener*> listeners_;
};

} // namespace qv

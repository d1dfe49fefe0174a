// The evaluation of one reading: nothing read, first reading, unchanged, gain or fall.
#include "measurement/measurement_engine.h"
#include "measurement/measurement_timing.h"

#include <cmath>

namespace qv {

namespace {
// Any non-empty text marks an open measurement log; only its emptiness is tested.
constexpr wchar_t kLogOpenMark[] = L"open";
} // namespace

void MeasurementEngine::EvaluateReading() {
    const LocalTime now = host_.clock.Now();
    const std::wstring stampText = FormatLogLineTime(now);
    const double reading = state_.expReading.value_or(0);
    MeasurementState& m = state_.measurement;
    if (reading == 0 || !std::isfinite(reading)) {
        // Nothing read: the next attempt counts from the end of this one.
        ScheduleCaptureIn(SecondsToMilliseconds(state_.settings.captureInterval));
        PublishReading(now, reading);
        return;
    }
    m.currentSecond = static_cast<std::int32_t>(host_.clock.Milliseconds() / 1000);
    m.currentExp = reading;
    // Whether a reading was taken is the tracker's to say: whole seconds of the counter are 0
    // again after its wrap.
    if (!m.gain.Started()) {
        m.previousExp = reading;
        m.previousSecond = m.currentSecond;
        m.logMark = kLogOpenMark;
        UpdateStatusPanel(PanelMode::FAST);
        PublishReading(now, reading);
        host_.debugLog.Write(L"Fast ImageRecognition");
        return;
    }
    PublishReading(now, reading);
    if (reading == m.previousExp) {
        m.previousSecond = m.currentSecond;
        return;
    }
    m.lastExpChange = reading - m.previousExp;
    m.previousExp = reading;
    m.previousSecond = m.currentSecond;
    if (m.lastExpChange > 0) {
        return;
    }
    HandleFall(stampText);
}

void MeasurementEngine::PublishReading(const LocalTime& time, double reading) {
    const std::optional<EvaluatedReading> evaluated =
        state_.measurement.gain.Evaluate(time, host_.clock.Milliseconds(), reading);
    if (!evaluated) {
        return;
    }
    Publish(*evaluated, &ReadingListener::OnReading);
}

void MeasurementEngine::FinishMeasurement() {
    const std::optional<EvaluatedReading> final = state_.measurement.gain.Finish(host_.clock.Now());
    if (final) {
        Publish(*final, &ReadingListener::OnMeasurementEnd);
    }
    journal_.Finish();
}

void MeasurementEngine::Publish(const EvaluatedReading& evaluated, ListenerCall call) {
    host_.panel.SetCaption(PanelLabel::ElapseExp, PlainNumberText(evaluated.increase));
    host_.panel.SetCaption(PanelLabel::ExpPerHour, ExpPerHourCaption(evaluated.expPerHour));
    (journal_.*call)(evaluated);
    for (ReadingListener* listener : listeners_) {
        (listener->*call)(evaluated);
    }
}

// A fall is a level-up or a death. The history is already updated, so a tick or a stop
// arriving in the pauses sees a consistent state; the remaining steps run all the same unless
// the program is ending.
void MeasurementEngine::HandleFall(const std::wstring& stampText) {
    if (state_.settings.beepOnCapture) {
        host_.desktop.Beep();
    }
    const std::wstring base = L"LvUP" + FormatFileStamp(host_.clock.Now());
    for (std::size_t i = 0; i < kSnapshotSuffixes.size(); ++i) {
        if (i > 0 && !WaitAndGoOn(kSnapshotPauseMilliseconds)) {
            return;
        }
        if (!SaveSnapshot(base + kSnapshotSuffixes[i])) {
            return;
        }
    }
    AppendLog(host_.log, stampText + kLevelUpLineText, kLogLineBreakCap);
    UpdateStatusPanel(PanelMode::Latest);
    host_.debugLog.Write(L"Print Screen･･･End ");
}

bool MeasurementEngine::SaveSnapshot(const std::wstring& fileName) {
    switch (SaveForegroundSnapshot(host_.desktop, host_.waiter, host_.folder / fileName)) {
    case SnapshotStatus::Saved:
        return true;
    case SnapshotStatus::WriteFailed:
        host_.debugLog.Write(L"Snapshot save failed: " + fileName);
        return true;
    case SnapshotStatus::QuitRequested:
        break;
    }
    return false;
}

} // namespace qv

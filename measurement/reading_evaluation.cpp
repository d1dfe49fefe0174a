// What the evaluation of one reading decides: nothing, the first reading, or a fall and its
// level-up sequence.
#include "measurement/measurement_engine.h"
#include "measurement/measurement_timing.h"

#include <cmath>

namespace qv {

void MeasurementEngine::EvaluateReading(double reading, std::optional<double> percent) {
    const std::wstring stampText = FormatLogLineTime(host_.clock.Now());
    if (reading == 0 || !std::isfinite(reading)) {
        // Nothing read: the next attempt counts from the end of this one.
        ScheduleCaptureIn(SecondsToMilliseconds(state_.settings.captureInterval));
        if (evaluation_.Record().phase == MeasurementPhase::WaitingForGame &&
            ++unreadAtStart_ == kUnreadCapturesBeforeHint) {
            AppendLog(host_.log, stampText + kUnreadHintText, kLogLineBreakCap);
        }
    }
    const std::optional<EvaluatedReading> evaluated = evaluation_.Capture(reading, percent);
    if (!evaluated) {
        return;
    }
    if (evaluated->misreadFall) {
        ReportMisread(stampText);
    }
    if (evaluated->event == ReadingEvent::Start) {
        host_.debugLog.Write(L"Fast ImageRecognition");
    } else if (evaluated->event == ReadingEvent::Fall) {
        HandleFall(stampText);
    }
}

// The fall's pictures and line stay: they show what the screen showed. The player learns that
// the detection was none.
void MeasurementEngine::ReportMisread(const std::wstring& stampText) {
    AppendLog(host_.log, stampText + kMisreadLineText, kLogLineBreakCap);
    host_.debugLog.Write(L"Misread fall withdrawn");
}

// A fall is a level-up or a death, decided by the evaluation at the capture that shows it, so
// the pictures catch the moment. The record is already updated, so a tick or a stop arriving
// in the pauses sees a consistent state; the remaining steps run all the same unless the
// program is ending.
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
    evaluation_.ShowFall();
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

#include "measurement/measurement_engine.h"

#include "measurement/measurement_timing.h"
#include "measurement/status_panel.h"

namespace qv {

SnapshotStatus SaveForegroundSnapshot(Desktop& desktop, Waiter& waiter,
                                      const std::filesystem::path& path) {
    if (waiter.WaitMilliseconds(0) != WaitResult::Elapsed) {
        return SnapshotStatus::QuitRequested;
    }
    return desktop.SaveForegroundWindowBitmap(path) ? SnapshotStatus::Saved
                                                    : SnapshotStatus::WriteFailed;
}

MeasurementEngine::MeasurementEngine(ProgramState& state, MeasurementHost host)
    : state_(state), host_(std::move(host)), evaluation_(host_.clock),
      journal_(host_.folder, host_.debugLog) {
    evaluation_.AddListener(journal_);
}

WaitResult MeasurementEngine::SetMeasurementState(MeasurementMode mode) {
    switch (mode) {
    case MeasurementMode::RUN:
        return Run();
    case MeasurementMode::STOP:
        Stop();
        break;
    }
    return WaitResult::Elapsed;
}

WaitResult MeasurementEngine::Run() {
    const Settings& settings = state_.settings;
    evaluation_.Start();
    unreadAtStart_ = 0;
    ScheduleCaptureIn(SecondsToMilliseconds(settings.captureInterval));
    const std::int32_t delay = SecondsToMilliseconds(settings.startDelay);
    if (delay == 0) {
        return WaitResult::Elapsed;
    }
    // A stop or a tick may run inside this wait; nothing of the start is left to do after it.
    return host_.waiter.WaitMilliseconds(delay);
}

void MeasurementEngine::Stop() {
    evaluation_.Finish();
    host_.popup.HidePopupMessage();
    evaluation_.Stop();
}

void MeasurementEngine::menuRun_Click() {
    if (SetMeasurementState(MeasurementMode::RUN) == WaitResult::QuitRequested ||
        state_.shuttingDown) {
        return;
    }
    host_.debugLog.Write(L"Loging ManualStart･･･ ");
}

void MeasurementEngine::menuStop_Click() {
    if (state_.popupShown) {
        host_.popup.HidePopupMessage();
    }
    EndForClose();
    SetMeasurementState(MeasurementMode::STOP);
    host_.debugLog.Write(L"Loging Stop･･･End ");
}

// While paused no capture runs (the timer is off; a tick inside a wait does nothing) and the
// time does not count for the rates; the popup stays hidden.
void MeasurementEngine::menuPause_Click() {
    if (!evaluation_.Record().Running()) {
        return;
    }
    if (evaluation_.Record().paused) {
        evaluation_.Resume();
        ScheduleCaptureIn(0);
        host_.debugLog.Write(L"Loging Resume･･･ ");
        return;
    }
    if (state_.popupShown) {
        host_.popup.HidePopupMessage();
    }
    evaluation_.Pause();
    host_.debugLog.Write(L"Loging Pause･･･ ");
}

void MeasurementEngine::EndForClose() {
    evaluation_.Finish();
    WriteMeasurementSummary(evaluation_.Record(), host_.log, host_.debugLog);
}

void MeasurementEngine::timCaptureInterval_Timer() {
    if (evaluation_.Record().paused) {
        return;
    }
    const std::uint32_t now = host_.clock.Milliseconds();
    if (!IsCaptureDue(now, state_.measurement.nextCaptureTime)) {
        return;
    }
    // Set before the capture, so the capture's own duration does not push the next one back.
    state_.measurement.nextCaptureTime =
        ClockAfter(now, SecondsToMilliseconds(state_.settings.captureInterval));
    WatchAndCapture();
}

void MeasurementEngine::WatchAndCapture() {
    if (state_.shuttingDown) {
        return;
    }
    const std::optional<WindowId> game = host_.desktop.FindWindowByTitle(kGameTitle);
    if (!game) {
        GameMissing();
        return;
    }
    if (state_.popupShown) {
        host_.popup.HidePopupMessage();
    }
    if (host_.desktop.ForegroundWindow() != *game) {
        ScheduleCaptureIn(kNotInFrontDelayMilliseconds);
        return;
    }
    host_.desktop.CaptureWindowRegion(*game, state_.settings.captureRegions[kExpCaptureIndex],
                                      kExpCaptureIndex);
    const std::optional<ExpReadout> read = host_.recognition.RecognizeExpReadout();
    if (!read || state_.shuttingDown) {
        return;
    }
    EvaluateReading(read->value, read->percent);
}

void MeasurementEngine::GameMissing() {
    const std::wstring lost = std::wstring(L"Lost ") + kGameTitle;
    if (!state_.popupShown) {
        host_.popup.ShowPopupMessage(std::wstring(kGameTitle) + kGameMissingSuffix, kErrorTitle,
                                     kGameMissingFontSize);
    }
    if (evaluation_.Record().phase != MeasurementPhase::Measuring) {
        WriteDebugOnly(lost + L" Then Capture Stop");
        return;
    }
    // A measurement that has readings starts afresh, so the game's next session begins with
    // a first reading of its own.
    SetMeasurementState(MeasurementMode::STOP);
    WriteDebugOnly(lost + L" Then Log Stop");
    if (SetMeasurementState(MeasurementMode::RUN) == WaitResult::QuitRequested ||
        state_.shuttingDown) {
        return;
    }
    WriteDebugOnly(L"Loging AutoRestart･･･ ");
}

void MeasurementEngine::ScheduleCaptureIn(std::int32_t milliseconds) {
    state_.measurement.nextCaptureTime = ClockAfter(host_.clock.Milliseconds(), milliseconds);
}

void MeasurementEngine::WriteDebugOnly(std::wstring_view message) {
    if (state_.settings.debugMode) {
        host_.debugLog.Write(message);
    }
}

bool MeasurementEngine::WaitAndGoOn(double milliseconds) {
    return host_.waiter.WaitMilliseconds(milliseconds) == WaitResult::Elapsed &&
           !state_.shuttingDown;
}

} // namespace qv

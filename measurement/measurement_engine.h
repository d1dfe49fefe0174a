// Starting and stopping a measurement, the capture timer's tick, the game-window watch and the
// evaluation of each reading. Everything runs on the user-interface thread; every wait
// dispatches events, so each handler may be re-entered by a tick, a menu command or a close.
#pragma once

#include "measurement/exp_journal.h"
#include "measurement/measurement_host.h"
#include "measurement/program_state.h"
#include "services/program_identity.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

inline constexpr wchar_t kMenuRunCaption[] = L"開始";
inline constexpr wchar_t kMenuRunningCaption[] = L"ロギング";
inline constexpr wchar_t kGameMissingSuffix[] = L"が起動していません";
inline constexpr std::int32_t kGameMissingFontSize = 14;
// Deferral when the game runs but is not in front.
inline constexpr std::int32_t kNotInFrontDelayMilliseconds = 10000;
// Pause between the four snapshots of a level-up or death.
inline constexpr double kSnapshotPauseMilliseconds = 333;
inline constexpr std::array<const wchar_t*, 4> kSnapshotSuffixes = {L"_a.bmp", L"_b.bmp", L"_c.bmp",
                                                                    L"_d.bmp"};
inline constexpr wchar_t kLevelUpLineText[] = L"  LvUP or Dead 検出 \r\n";

// The mode words of SetMeasurementState.
enum class MeasurementMode {
    RUN,  // start a measurement
    STOP, // end one and forget the EXP history
};

class MeasurementEngine {
  public:
    MeasurementEngine(ProgramState& state, MeasurementHost host);

    // RUN starts a measurement (menus, timer, first due time, then the start delay); STOP
    // ends one and forgets the EXP history. QuitRequested when the program began to end
    // during the start delay.
    WaitResult SetMeasurementState(MeasurementMode mode);

    void menuRun_Click();
    void menuStop_Click();
    void timCaptureInterval_Timer();
    // The step run when a capture falls due: find the game, capture, recognise, evaluate.
    void WatchAndCapture();
    // Interprets ProgramState::expReading against the measurement's history.
    void EvaluateReading();
    // `listener` hears every evaluated capture after the panel and the journal; it must
    // outlive the engine.
    void AddReadingListener(ReadingListener& listener);
    // The measurement ends: a rise still held counts (on the panel, in the journal, for the
    // listeners) and the journal puts away the lines its file did not take. Every stop runs
    // it; a close must run it before the summary.
    void FinishMeasurement();

  private:
    WaitResult Run();
    void Stop();
    void GameMissing();
    void HandleFall(const std::wstring& stampText);
    // Evaluates a capture and publishes it.
    void PublishReading(const LocalTime& time, double reading);
    // The one place an evaluated record goes: the panel's increase and rate, the journal, then
    // the listeners, each through `call` (a capture, or the end of the measurement).
    using ListenerCall = void (ReadingListener::*)(const EvaluatedReading&);
    void Publish(const EvaluatedReading& evaluated, ListenerCall call);
    // Saves one snapshot; false when the program began to end, so the level-up stops there.
    bool SaveSnapshot(const std::wstring& fileName);
    void ScheduleCaptureIn(std::int32_t milliseconds);
    void UpdateStatusPanel(PanelMode mode);
    void WriteDebugOnly(std::wstring_view message);
    // Waits and tells whether the caller may go on (false once the program is ending).
    bool WaitAndGoOn(double milliseconds);

    ProgramState& state_;
    MeasurementHost host_;
    ExpJournal journal_;
    std::vector<ReadingListener*> listeners_;
};

} // namespace qv

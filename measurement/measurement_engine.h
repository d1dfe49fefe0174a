// Starting and stopping a measurement, the capture timer's tick, the game-window watch and what
// the evaluation of a reading decides (the level-up sequence). Everything runs on the
// user-interface thread; every wait dispatches events, so each handler may be re-entered by a tick,
// a menu command or a close.
#pragma once

#include "measurement/exp_journal.h"
#include "measurement/measurement_evaluation.h"
#include "measurement/measurement_host.h"
#include "measurement/program_state.h"
#include "services/program_identity.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

inline constexpr wchar_t kGameMissingSuffix[] = L"が起動していません";
inline constexpr std::int32_t kGameMissingFontSize = 14;
// Deferral when the game runs but is not in front.
inline constexpr std::int32_t kNotInFrontDelayMilliseconds = 10000;
// Pause between the four snapshots of a level-up or death.
inline constexpr double kSnapshotPauseMilliseconds = 333;
inline constexpr std::array<const wchar_t*, 4> kSnapshotSuffixes = {L"_a.bmp", L"_b.bmp", L"_c.bmp",
                                                                    L"_d.bmp"};
inline constexpr wchar_t kLevelUpLineText[] = L"  LvUP or Dead 検出 \r\n";
// A measurement whose first captures all read nothing: the figure is elsewhere, or drawn other.
inline constexpr int kUnreadCapturesBeforeHint = 10;
inline constexpr wchar_t kUnreadHintText[] = L"  EXPが読めません（「設定」の「自動で探す」）\r\n";
// A later reading showed that a fall which ran the level-up sequence was a misread.
inline constexpr wchar_t kMisreadLineText[] = L"  誤認識（前の検出を取り消し）\r\n";

// The mode words of SetMeasurementState.
enum class MeasurementMode {
    RUN,  // start a measurement
    STOP, // end one and forget the EXP history
};

class MeasurementEngine {
  public:
    MeasurementEngine(ProgramState& state, MeasurementHost host);

    // The record every view renders; listeners go here (the journal is the first).
    MeasurementEvaluation& Evaluation() { return evaluation_; }

    // RUN starts a measurement (its state published, first due time, then the start delay);
    // STOP ends one and forgets the EXP history. QuitRequested when the program began to end
    // during the start delay.
    WaitResult SetMeasurementState(MeasurementMode mode);

    void menuRun_Click();
    void menuStop_Click();
    // "一時停止" pauses the running measurement, "再開" goes on from its last reading.
    void menuPause_Click();
    void timCaptureInterval_Timer();
    // The step run when a capture falls due: find the game, capture, recognise, evaluate.
    void WatchAndCapture();
    // Evaluates one reading (0: nothing read) and runs what it decides: the level-up sequence
    // for a fall, the log line for a fall that turned out a misread.
    void EvaluateReading(double reading, std::optional<double> percent = std::nullopt);
    // The close: the measurement ends (a held rise counted, the journal put away) and its
    // summary goes to the log box; the measurement is not stopped.
    void EndForClose();
    // The menu's immediate end: only the journal's end, so that no line is lost.
    void EndForExit() { evaluation_.Finish(); }

  private:
    WaitResult Run();
    void Stop();
    void GameMissing();
    void HandleFall(const std::wstring& stampText);
    void ReportMisread(const std::wstring& stampText);
    // Saves one snapshot; false when the program began to end, so the level-up stops there.
    bool SaveSnapshot(const std::wstring& fileName);
    void ScheduleCaptureIn(std::int32_t milliseconds);
    void WriteDebugOnly(std::wstring_view message);
    // Waits and tells whether the caller may go on (false once the program is ending).
    bool WaitAndGoOn(double milliseconds);

    ProgramState& state_;
    MeasurementHost host_;
    MeasurementEvaluation evaluation_;
    ExpJournal journal_;
    // Captures of the running measurement that read nothing before its first reading.
    int unreadAtStart_ = 0;
};

} // namespace qv

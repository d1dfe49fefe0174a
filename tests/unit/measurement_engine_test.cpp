#include "measurement/measurement_timing.h"
#include "measurement_fakes.h"
#include "services/program_identity.h"

#include <algorithm>
#include <limits>

namespace qv {
namespace {

using testing_fakes::FakeDesktop;
using testing_fakes::MeasurementFixture;

constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();

TEST(MeasurementTiming, TimerPeriodAndMilliseconds) {
    struct Case {
        std::int32_t seconds;
        std::int32_t period;
        std::int32_t milliseconds;
    };
    const Case cases[] = {
        {10, 2400, 10'000},
        {1, 240, 1000},
        {250, 60'000, 250'000},
        {0, 240, 0},
        {-5, 240, 0},
        {2'147'483, 60'000, 2'147'483'000},
        {2'147'484, 60'000, kInt32Max},
        {kInt32Max, 60'000, kInt32Max},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        EXPECT_EQ(CaptureTimerPeriod(c.seconds), c.period);
        EXPECT_EQ(SecondsToMilliseconds(c.seconds), c.milliseconds);
    }
    EXPECT_EQ(CheckedMultiply(kInt32Max, 2), std::nullopt);
    EXPECT_EQ(CheckedMultiply(-65536, 32768), std::numeric_limits<std::int32_t>::min());
}

TEST(MeasurementTiming, DueComparisonAcrossTheCounterWrap) {
    struct Case {
        std::uint32_t now;
        std::uint32_t due;
        bool isDue;
    };
    const Case cases[] = {
        {1000, 1000, true},
        {999, 1000, false},
        {0xFFFF'FF00u, ClockAfter(0xFFFF'FF00u, 10'000), false},
        {ClockAfter(0xFFFF'FF00u, 10'000), ClockAfter(0xFFFF'FF00u, 10'000), true},
        {5, 0xFFFF'FFF0u, true},
        {0xFFFF'FFF0u, 5, false},
        {0, ClockAfter(0, kInt32Max), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsCaptureDue(c.now, c.due), c.isDue) << c.now << " vs " << c.due;
    }
}

class MeasurementRunControl : public MeasurementFixture {};

TEST_F(MeasurementRunControl, RunThenStop) {
    engine.EvaluateReading(1500); // a measurement before: its figures stay on view
    state.settings.captureInterval = 10;
    state.settings.startDelay = 3;
    const std::uint32_t startMs = clock.ms;
    EXPECT_EQ(engine.SetMeasurementState(MeasurementMode::RUN), WaitResult::Elapsed);
    EXPECT_EQ(Phase(), MeasurementPhase::WaitingForGame);
    EXPECT_EQ(state.measurement.nextCaptureTime, startMs + 10'000);
    EXPECT_EQ(waiter.waits, std::vector<double>{3000});
    EXPECT_EQ(Record().start->exp, 1500); // a start leaves the last figures alone

    EXPECT_EQ(engine.SetMeasurementState(MeasurementMode::STOP), WaitResult::Elapsed);
    EXPECT_EQ(Phase(), MeasurementPhase::Idle);
    EXPECT_EQ(popup.hides, 1); // whether or not it showed
    EXPECT_EQ(Record().lastReading->exp, 1500);
    // The menus and the timer follow these.
    EXPECT_EQ(published.events,
              (std::vector<RecordEvent>{RecordEvent::Captured, RecordEvent::Started,
                                        RecordEvent::Ended, RecordEvent::Stopped}));
}

// No capture while paused; on resuming the measurement goes on from the last reading, so a
// fall found at the first capture after it is a fall.
TEST_F(MeasurementRunControl, PauseHoldsTheCapturesAndResumeGoesOn) {
    recognition.readings = {1000};
    StartMeasurement();
    DueTick();
    engine.menuPause_Click();
    EXPECT_TRUE(Record().paused);
    for (int i = 0; i < 5; ++i) {
        clock.Advance(10'000);
        engine.timCaptureInterval_Timer();
    }
    EXPECT_EQ(desktop.captures.size(), 1u);
    recognition.readings = {500};
    recognition.calls = 0;
    engine.menuPause_Click();
    EXPECT_FALSE(Record().paused);
    engine.timCaptureInterval_Timer();
    EXPECT_EQ(desktop.captures.size(), 2u);
    EXPECT_EQ(desktop.saved.size(), 4u);
    const auto r = Records();
    EXPECT_NE(std::find(r.begin(), r.end(), L"Loging Pause･･･ "), r.end());
    EXPECT_NE(std::find(r.begin(), r.end(), L"Loging Resume･･･ "), r.end());
}

TEST_F(MeasurementRunControl, ManualStartIsRecordedAfterTheStartDelay) {
    state.settings.startDelay = 3;
    bool recordedDuringDelay = true;
    waiter.during = [&](std::size_t) {
        const auto r = Records();
        recordedDuringDelay = std::find(r.begin(), r.end(), L"Loging ManualStart･･･ ") != r.end();
    };
    engine.menuRun_Click();
    EXPECT_FALSE(recordedDuringDelay);
    EXPECT_EQ(Records(), std::vector<std::wstring>{L"Loging ManualStart･･･ "});
}

TEST_F(MeasurementRunControl, StopInsideTheStartDelayTakesFullEffect) {
    state.settings.startDelay = 30;
    waiter.during = [&](std::size_t) { engine.menuStop_Click(); };
    engine.menuRun_Click();
    EXPECT_EQ(Phase(), MeasurementPhase::Idle);
    EXPECT_EQ(Records(),
              (std::vector<std::wstring>{L"Loging Stop･･･End ", L"Loging ManualStart･･･ "}));
}

// A delay longer than the interval: a tick inside the wait captures once the due time comes.
TEST_F(MeasurementRunControl, TickInsideTheStartDelayCapturesWhenDue) {
    state.settings.startDelay = 15;
    recognition.readings = {6024300};
    waiter.during = [&](std::size_t) { engine.timCaptureInterval_Timer(); };
    engine.menuRun_Click();
    ASSERT_EQ(desktop.captures.size(), 1u);
    EXPECT_EQ(Record().start->exp, 6024300);
    EXPECT_EQ(Records(),
              (std::vector<std::wstring>{L"Fast ImageRecognition", L"Loging ManualStart･･･ "}));
}

TEST_F(MeasurementRunControl, CloseInsideTheStartDelayUnwindsQuietly) {
    state.settings.startDelay = 5;
    waiter.quitAt = 0;
    engine.menuRun_Click();
    EXPECT_TRUE(Records().empty());
}

// The close is noticed after the start delay, which itself ends normally.
TEST_F(MeasurementRunControl, CloseDuringTheStartDelayWritesNoStartRecord) {
    state.settings.startDelay = 5;
    waiter.during = [&](std::size_t) { state.shuttingDown = true; };
    engine.menuRun_Click();
    EXPECT_TRUE(Records().empty());
}

TEST_F(MeasurementRunControl, StopHidesThePopupAndWritesTheSummaryOfAnOpenLog) {
    StartMeasurement();
    recognition.readings = {6024300};
    DueTick();
    popup.ShowPopupMessage(L"x", L"y", 1);
    window.logText.clear();
    engine.menuStop_Click();
    EXPECT_FALSE(state.popupShown);
    EXPECT_EQ(window.logText.rfind(L"開始時刻:2024/10/02 18:04:19", 0), 0u);
    EXPECT_EQ(window.logText.substr(window.logText.size() - 4), L"\r\n\r\n");
    const auto r = Records();
    ASSERT_GE(r.size(), 2u);
    EXPECT_EQ(r[r.size() - 2], L"測定終了表示完了");
    EXPECT_EQ(r.back(), L"Loging Stop･･･End ");
    EXPECT_EQ(Phase(), MeasurementPhase::Idle);
}

class MeasurementTick : public MeasurementFixture {};

TEST_F(MeasurementTick, CaptureFallsDueAtTheFirstTickAtOrAfterTheDueTime) {
    clock.ms = 1000;
    StartMeasurement();
    for (int i = 0; i < 12; ++i) {
        clock.Advance(2400);
        engine.timCaptureInterval_Timer();
    }
    std::vector<std::uint32_t> at;
    for (const auto& c : desktop.captures) {
        at.push_back(c.atMs);
    }
    // Due at 11,000: the tick at 13,000 captures and the next is due at 23,000, met at 25,000.
    EXPECT_EQ(at, (std::vector<std::uint32_t>{13'000, 25'000}));
}

struct WatchCase {
    const char* name;
    bool gameRunning;
    bool inFront;
    bool logOpen;
    bool debugMode;
    bool shuttingDown;
    bool popupBefore;
    // expected
    std::size_t captures;
    std::size_t popupShows;
    bool popupAfter;
    bool runningAfter;
    std::uint32_t nextDueIn; // ms after the tick
    std::vector<std::wstring> records;
};

void PrintTo(const WatchCase& c, std::ostream* os) {
    *os << c.name;
}

class MeasurementWatch : public MeasurementFixture,
                         public ::testing::WithParamInterface<WatchCase> {};

TEST_P(MeasurementWatch, Branches) {
    const WatchCase& c = GetParam();
    state.settings.captureInterval = 60;
    state.settings.debugMode = c.debugMode;
    state.settings.startDelay = 2;
    StartMeasurement();
    if (c.popupBefore) {
        popup.ShowPopupMessage(L"x", L"y", 1);
    }
    if (c.logOpen) {
        engine.EvaluateReading(1000);
    }
    popup.shows.clear();
    desktop.gameRunning = c.gameRunning;
    desktop.foreground = c.inFront ? FakeDesktop::kGame : FakeDesktop::kOther;
    state.shuttingDown = c.shuttingDown;
    recognition.readings = {1000};
    const auto recordsBefore = Records().size();

    const std::uint32_t tickMs = state.measurement.nextCaptureTime;
    DueTick();

    EXPECT_EQ(desktop.captures.size(), c.captures);
    EXPECT_EQ(popup.shows.size(), c.popupShows);
    EXPECT_EQ(state.popupShown, c.popupAfter);
    EXPECT_EQ(Record().Running(), c.runningAfter);
    EXPECT_EQ(state.measurement.nextCaptureTime - tickMs, c.nextDueIn);
    const auto records = Records();
    EXPECT_EQ(std::vector<std::wstring>(records.begin() + recordsBefore, records.end()), c.records);
    for (const auto& show : popup.shows) {
        EXPECT_EQ(show.text, QV_GAME_TITLE L"が起動していません");
        EXPECT_EQ(show.title, L"エラー");
        EXPECT_EQ(show.size, 14);
    }
    for (const auto& capture : desktop.captures) {
        EXPECT_EQ(capture.window, FakeDesktop::kGame);
        EXPECT_EQ(capture.region, state.settings.captureRegions[1]);
        EXPECT_EQ(capture.slot, 1);
    }
    EXPECT_TRUE(std::all_of(desktop.searchedTitles.begin(), desktop.searchedTitles.end(),
                            [](const std::wstring& t) { return t == kGameTitle; }));
}

INSTANTIATE_TEST_SUITE_P(
    Measurement, MeasurementWatch,
    ::testing::Values(
        WatchCase{
            "MissingQuiet", false, false, false, false, false, false, 0, 1, true, true, 60'000, {}},
        WatchCase{"MissingPopupAlreadyUp",
                  false,
                  false,
                  false,
                  false,
                  false,
                  true,
                  0,
                  0,
                  true,
                  true,
                  60'000,
                  {}},
        WatchCase{"MissingDebug",
                  false,
                  false,
                  false,
                  true,
                  false,
                  false,
                  0,
                  1,
                  true,
                  true,
                  60'000,
                  {L"Lost " QV_GAME_TITLE L" Then Capture Stop"}},
        // An open log restarts: stop (popup hidden), start with its delay, due anew.
        WatchCase{"MissingWithOpenLog",
                  false,
                  false,
                  true,
                  true,
                  false,
                  false,
                  0,
                  1,
                  false,
                  true,
                  60'000,
                  {L"Lost " QV_GAME_TITLE L" Then Log Stop", L"Loging AutoRestart･･･ "}},
        WatchCase{"MissingWithOpenLogQuiet",
                  false,
                  false,
                  true,
                  false,
                  false,
                  false,
                  0,
                  1,
                  false,
                  true,
                  60'000,
                  {}},
        WatchCase{
            "NotInFront", true, false, false, true, false, true, 0, 0, false, true, 10'000, {}},
        WatchCase{"InFront",
                  true,
                  true,
                  false,
                  true,
                  false,
                  true,
                  1,
                  0,
                  false,
                  true,
                  60'000,
                  {L"Fast ImageRecognition"}},
        WatchCase{
            "ShuttingDown", false, false, true, true, true, false, 0, 0, false, true, 60'000, {}}),
    [](const ::testing::TestParamInfo<WatchCase>& info) { return std::string(info.param.name); });

TEST_F(MeasurementTick, RestartAfterTheGameIsLostBeginsWithAFirstReading) {
    recognition.readings = {5000, 5000, 4000};
    StartMeasurement();
    DueTick(); // first reading opens the log
    ASSERT_EQ(Phase(), MeasurementPhase::Measuring);
    desktop.gameRunning = false;
    DueTick(); // restart
    EXPECT_EQ(Phase(), MeasurementPhase::WaitingForGame);
    desktop.gameRunning = true;
    recognition.readings = {4000};
    recognition.calls = 0;
    DueTick(); // lower than before the loss, but a first reading of the new measurement
    EXPECT_TRUE(desktop.saved.empty());
    EXPECT_EQ(Record().start->exp, 4000);
}

TEST_F(MeasurementTick, CloseInsideTheRestartDelayWritesNoRestartRecord) {
    state.settings.debugMode = true;
    state.settings.startDelay = 5;
    StartMeasurement();
    engine.EvaluateReading(1000);
    desktop.gameRunning = false;
    waiter.quitAt = waiter.waits.size();
    DueTick();
    const auto r = Records();
    EXPECT_EQ(r.back(), L"Lost " QV_GAME_TITLE L" Then Log Stop");
}

TEST_F(MeasurementTick, AbandonedRecognitionIsNotEvaluated) {
    StartMeasurement();
    recognition.abandon = true;
    DueTick();
    EXPECT_EQ(desktop.captures.size(), 1u);
    EXPECT_FALSE(Record().start);
}

} // namespace
} // namespace qv

#include "measurement_fakes.h"

#include <algorithm>
#include <limits>

namespace qv {
namespace {

using testing_fakes::FakeDesktop;
using testing_fakes::MeasurementFixture;

class MeasurementEvaluation : public MeasurementFixture {
  protected:
    void Evaluate(double reading) { engine.EvaluateReading(reading); }
    int Count(const std::wstring& record) {
        const auto r = Records();
        return static_cast<int>(std::count(r.begin(), r.end(), record));
    }
    static int Lines(const std::wstring& log, std::wstring_view text) {
        int n = 0;
        for (std::size_t p = log.find(text); p != std::wstring::npos; p = log.find(text, p + 1)) {
            ++n;
        }
        return n;
    }
    static int LevelUpLines(const std::wstring& log) { return Lines(log, L"LvUP or Dead"); }
};

// The rule that counts the increase decides the level-up sequence, at the capture that shows
// the fall; a fall a later reading shows to be a misread gets its line.
TEST_F(MeasurementEvaluation, OneEvaluationDecidesTheFallAndTheIncrease) {
    struct Case {
        const char* name;
        std::vector<double> readings;
        // The percent beside each reading: none, one for all, or one each.
        std::vector<double> percents;
        int sequences;
        int withdrawn;
        double increaseAtStop;
    };
    const Case cases[] = {
        {"gain, same, fall", {1000, 1500, 1500, 1200}, {}, 1, 0, 500},
        {"a covered digit", {1234567, 123567, 1234600}, {}, 1, 1, 33},
        {"back from a stray digit is no fall", {1000, 5000, 1010}, {}, 0, 0, 10},
        {"a rise held at the stop counts", {1000, 1100, 5000}, {}, 0, 0, 4000},
        {"a fall, then lower", {1000, 100, 50, 60}, {}, 2, 0, 10},
        // With the percent beside the figure a misread counts for nothing and runs nothing.
        {"the pointer over the digits",
         {1234567, 123567, 124567, 1234600, 1234610},
         {12.34},
         0,
         0,
         43},
        {"a tooltip sliding off", {1234567, 12345, 123456, 1234580, 1234590}, {12.34}, 0, 0, 23},
        {"a digit covered at the first capture",
         {123567, 1234580, 1234590, 1234600},
         {12.34},
         0,
         0,
         20},
        {"a stray digit", {1234580, 12345800}, {12.34}, 0, 0, 0},
        {"a level-up", {9900000, 9950000, 50000, 60000}, {99.00, 99.50, 0.40, 0.48}, 1, 0, 60000},
        {"a death", {9900000, 9500000}, {99.00, 95.00}, 1, 0, 0},
    };
    state.settings.beepOnCapture = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartMeasurement();
        window.logText.clear();
        desktop.saved.clear();
        desktop.beeps = 0;
        for (std::size_t i = 0; i < c.readings.size(); ++i) {
            clock.Advance(10'000);
            const std::size_t p = c.percents.size() > 1 ? i : 0;
            engine.EvaluateReading(c.readings[i], c.percents.empty()
                                                      ? std::nullopt
                                                      : std::optional<double>(c.percents[p]));
        }
        EXPECT_EQ(desktop.saved.size(), 4u * c.sequences);
        EXPECT_EQ(desktop.beeps, c.sequences);
        EXPECT_EQ(LevelUpLines(window.logText), c.sequences);
        EXPECT_EQ(Lines(window.logText, L"  誤認識（前の検出を取り消し）\r\n"), c.withdrawn);
        EXPECT_EQ(Record().start->exp, c.readings.front());
        engine.menuStop_Click();
        EXPECT_EQ(Record().increase, c.increaseAtStop);
    }
    EXPECT_EQ(Count(L"Fast ImageRecognition"), static_cast<int>(std::size(cases)));
    EXPECT_EQ(Count(L"Misread fall withdrawn"), 1);
}

TEST_F(MeasurementEvaluation, FallSavesFourPicturesUnderOneStampAndOneLogLine) {
    // 18:04:59.500: the pauses cross into the next minute, and neither the line nor the
    // file names may take a second reading of the clock.
    clock.now = LocalTime{2024, 10, 2, 18, 4, 59, 500};
    Evaluate(2000);
    Evaluate(1000);
    const std::vector<std::wstring> expected = {
        L"LvUP_20241002180459_a.bmp", L"LvUP_20241002180459_b.bmp", L"LvUP_20241002180459_c.bmp",
        L"LvUP_20241002180459_d.bmp"};
    EXPECT_EQ(desktop.SavedNames(), expected);
    for (const auto& path : desktop.saved) {
        EXPECT_EQ(path.parent_path(), folder);
    }
    // Each snapshot first lets pending events run (a wait of 0), then the pauses between them.
    EXPECT_EQ(waiter.waits, (std::vector<double>{0, 333, 0, 333, 0, 333, 0}));
    EXPECT_EQ(window.logText, L"10/02 18:04  LvUP or Dead 検出 \r\n");
    EXPECT_EQ(clock.now.minute, 5);
    EXPECT_EQ(FormatTimestamp(Record().latest->time), L"2024/10/02 18:05:00");
    EXPECT_EQ(desktop.beeps, 0); // beepOnCapture is off
}

TEST_F(MeasurementEvaluation, ZeroReadingsOnlyMoveTheDueTime) {
    for (const bool afterFirstReading : {false, true}) {
        SCOPED_TRACE(afterFirstReading);
        if (afterFirstReading) {
            Evaluate(5000);
        }
        const MeasurementPhase phase = Phase();
        const auto records = Records().size();
        clock.Advance(1234);
        Evaluate(0);
        EXPECT_EQ(state.measurement.nextCaptureTime, clock.ms + 10'000);
        EXPECT_EQ(Phase(), phase);
        EXPECT_EQ(Record().lastReading.has_value(), afterFirstReading);
        EXPECT_EQ(Records().size(), records);
    }
    EXPECT_TRUE(desktop.saved.empty());
    EXPECT_TRUE(window.logText.empty());
}

TEST_F(MeasurementEvaluation, FirstReadingAfterAStopOnlySetsTheStartValues) {
    Evaluate(1000);
    Evaluate(1200);
    engine.menuStop_Click();
    EXPECT_EQ(Phase(), MeasurementPhase::Idle);
    StartMeasurement();
    clock.now.minute = 30;
    Evaluate(900); // lower than before the stop, but a first reading
    EXPECT_TRUE(desktop.saved.empty());
    EXPECT_EQ(Record().start->exp, 900);
    EXPECT_EQ(FormatTimestamp(Record().start->time), L"2024/10/02 18:30:09");
    EXPECT_EQ(Count(L"Fast ImageRecognition"), 2);
    Evaluate(800);
    EXPECT_EQ(desktop.saved.size(), 4u);
}

// Ten captures that read nothing at the start of a measurement point to the search, once.
TEST_F(MeasurementEvaluation, UnreadStartGetsOneHint) {
    for (int run = 0; run < 2; ++run) {
        StartMeasurement();
        for (int i = 0; i < 25; ++i) {
            Evaluate(0);
        }
        EXPECT_EQ(
            Lines(window.logText, L"10/02 18:04  EXPが読めません（「設定」の「自動で探す」）\r\n"),
            run + 1);
        Evaluate(1000);
        Evaluate(0);
        engine.menuStop_Click();
    }
}

// The counter wraps every 49.7 days; its whole seconds are 0 again for the first second after.
TEST_F(MeasurementEvaluation, CounterWrapDoesNotStartTheMeasurementAgain) {
    clock.ms = 0xFFFFF000u;
    Evaluate(3000);
    clock.Advance(0x1000u + 500);
    Evaluate(3100);
    clock.Advance(10'000);
    Evaluate(3300);
    EXPECT_EQ(Count(L"Fast ImageRecognition"), 1);
    EXPECT_EQ(Record().increase, 300);
}

// A stop after a capture that read nothing ends on the last figure read; a held rise counts.
TEST_F(MeasurementEvaluation, StopAfterNothingReadEndsOnTheLastFigure) {
    Evaluate(1000);
    Evaluate(2500);
    Evaluate(0);
    clock.now.minute = 30;
    engine.menuStop_Click();
    EXPECT_EQ(Record().latest->exp, 2500);
    EXPECT_EQ(FormatTimestamp(Record().latest->time), L"2024/10/02 18:30:09");
    EXPECT_NE(window.logText.find(L"Exp:        1,500 \r\n"), std::wstring::npos);
}

TEST_F(MeasurementEvaluation, FailedSnapshotIsRecordedAndTheRestGoesOn) {
    clock.now = LocalTime{2025, 1, 5, 3, 7, 8, 0};
    desktop.failingNames = {L"LvUP_20250105030708_b.bmp"};
    Evaluate(20);
    Evaluate(10);
    EXPECT_EQ(desktop.SavedNames(),
              (std::vector<std::wstring>{L"LvUP_20250105030708_a.bmp", L"LvUP_20250105030708_c.bmp",
                                         L"LvUP_20250105030708_d.bmp"}));
    const auto records = Records();
    const std::vector<std::wstring> tail(records.end() - 2, records.end());
    EXPECT_EQ(tail, (std::vector<std::wstring>{L"Snapshot save failed: LvUP_20250105030708_b.bmp",
                                               L"Print Screen･･･End "}));
    EXPECT_EQ(LevelUpLines(window.logText), 1);
}

// A stop between snapshots ends the measurement at once; the fall still gets its pictures,
// its log line, its end values and its record.
TEST_F(MeasurementEvaluation, StopInsideTheSnapshotPausesLetsTheFallFinish) {
    StartMeasurement();
    Evaluate(500);
    waiter.during = [&](std::size_t i) {
        if (i == 1) { // the first pause
            engine.menuStop_Click();
        }
    };
    Evaluate(100);
    EXPECT_EQ(desktop.saved.size(), 4u);
    EXPECT_EQ(Phase(), MeasurementPhase::Idle); // the stop stands
    const std::wstring& log = window.logText;
    const auto summary = log.find(L"開始時刻:");
    const auto levelUp = log.find(L"LvUP or Dead");
    ASSERT_NE(summary, std::wstring::npos);
    ASSERT_NE(levelUp, std::wstring::npos);
    EXPECT_LT(summary, levelUp);
    const auto records = Records();
    EXPECT_EQ(records.back(), L"Print Screen･･･End ");
    EXPECT_NE(std::find(records.begin(), records.end(), L"Loging Stop･･･End "), records.end());
}

// A tick in the pauses may capture again when the interval is shorter than the fall takes.
TEST_F(MeasurementEvaluation, TickInsideTheSnapshotPausesCapturesConsistently) {
    state.settings.captureInterval = 1;
    StartMeasurement();
    recognition.readings = {700, 600, 600};
    DueTick(); // first reading
    DueTick(); // fall
    EXPECT_EQ(desktop.captures.size(), 2u);
    // Slow pauses: the second nested tick (1,466 ms in) finds the next capture due.
    waiter.during = [&](std::size_t i) {
        if (waiter.waits[i] == 0) {
            return; // only the pauses are slow
        }
        clock.Advance(400);
        engine.timCaptureInterval_Timer();
    };
    recognition.readings = {500, 400};
    recognition.calls = 0;
    DueTick();
    // 700 -> 600 in the first fall, 600 -> 500 at the third capture, then 400 in the nested
    // capture: a fall inside a fall, under its own stamp.
    EXPECT_EQ(Record().lastReading->exp, 400);
    EXPECT_EQ(LevelUpLines(window.logText), 3);
    const auto names = desktop.SavedNames();
    EXPECT_EQ(names.size(), 12u);
    EXPECT_EQ(std::set<std::wstring>(names.begin(), names.end()).size(), 12u);
    EXPECT_EQ(Count(L"Print Screen･･･End "), 3);
}

TEST_F(MeasurementEvaluation, CloseInsideTheSnapshotPausesStopsFurtherWork) {
    Evaluate(50);
    waiter.quitAt = 3; // the second pause ends because the program is quitting
    Evaluate(40);
    EXPECT_EQ(desktop.SavedNames().size(), 2u);
    EXPECT_TRUE(window.logText.empty());
    EXPECT_EQ(Count(L"Print Screen･･･End "), 0);
}

// The close arrives inside the first pause; the wait itself ends normally.
TEST_F(MeasurementEvaluation, CloseNoticedAfterASnapshotPauseStopsFurtherWork) {
    Evaluate(50);
    waiter.during = [&](std::size_t wait) {
        if (wait == 1) { // the pause after the first snapshot
            state.shuttingDown = true;
        }
    };
    Evaluate(40);
    EXPECT_EQ(desktop.SavedNames().size(), 1u);
    EXPECT_TRUE(window.logText.empty());
    EXPECT_EQ(Count(L"Print Screen･･･End "), 0);
}

// A reading that overflowed to infinity is nothing read, before and after a first reading.
TEST_F(MeasurementEvaluation, InfiniteReadingCountsAsNothingRead) {
    const double infinity = std::numeric_limits<double>::infinity();
    Evaluate(infinity);
    EXPECT_FALSE(Record().start);
    Evaluate(1000);
    Evaluate(infinity);
    Evaluate(1100);
    EXPECT_TRUE(desktop.saved.empty());
    EXPECT_EQ(Record().lastReading->exp, 1100);
    EXPECT_EQ(Count(L"Fast ImageRecognition"), 1);
}

// A close met while the last snapshot lets events run is the program ending, not a file that
// could not be written.
TEST_F(MeasurementEvaluation, CloseBeforeASnapshotIsNotASaveFailure) {
    Evaluate(50);
    waiter.quitAt = 6;
    Evaluate(40);
    EXPECT_EQ(desktop.SavedNames().size(), 3u);
    for (const std::wstring& record : Records()) {
        EXPECT_FALSE(record.starts_with(L"Snapshot save failed")) << "a close is not a failure";
    }
    EXPECT_EQ(Count(L"Print Screen･･･End "), 0);
}

} // namespace
} // namespace qv

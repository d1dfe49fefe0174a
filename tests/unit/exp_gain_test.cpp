// The increase, the hourly rate and the journal of a measurement.
#include "base/ansi_text.h"
#include "measurement/exp_gain.h"
#include "measurement/exp_journal.h"
#include "measurement/status_panel.h"
#include "measurement_fakes.h"

#include <fstream>
#include <sstream>

namespace qv {
namespace {

constexpr double kNotRead = 0;
constexpr double kEnd = -1; // the measurement ends

struct GainCase {
    bool goesOn; // the readings go on with the measurement of the row above
    std::vector<double> readings;
    double increase;
    // One letter a published record: S start, . steady (or the end counting a held rise),
    // F fall, N nothing read, C corrects a held figure, R corrects a fall.
    std::string events;
};

char Letter(const EvaluatedReading& r) {
    return r.misreadFall ? 'R' : r.correctsMisread ? 'C' : "S.FN"[static_cast<int>(r.event)];
}

TEST(ExpGain, IncreaseSumsTheRisesAndLeavesOutMisreads) {
    const GainCase cases[] = {
        {false, {kNotRead, 1000, 1500, 1500, 2100}, 1100, "S..."},
        // A covered digit, a stray one, a level-up and a death: the plain sum would be 12,222,902.
        {false, {1234567, 123567, 123567, 1234580}, 13, "SF.R"},
        {true, {12345190, 12345190, 1234590}, 23, "..C"},
        {true, {5321, 5321, 6000}, 702, "F.."},
        {true, {6500, 6200, 6200, 6300}, 1302, ".F.."},
        {false, {1000, 1500, kNotRead, 1600}, 600, "S.N."},
        {false, {10, 35, 35, 40}, 30, "S..."}, // a real doubling at a low level
        {false, {1000, 2500, 1200}, 200, "S.C"},
        {false, {1000, 2500, 800, 900}, 100, "S.F."},
        {false, {1000, 2500, kEnd}, 1500, "S.."},
        {false, {1000, 100, 1000, 2500, 1000}, 0, "SFR.C"}, // back at the figure before
    };
    ExpGainTracker tracker;
    std::uint32_t clock = 0;
    for (const GainCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.readings));
        if (!c.goesOn) {
            tracker.Reset();
        }
        std::string events;
        double increase = -1;
        for (const double reading : c.readings) {
            const auto r = reading == kEnd ? tracker.Finish(LocalTime{})
                                           : tracker.Evaluate(LocalTime{}, clock += 1000, reading);
            if (r) {
                increase = r->increase;
                events += Letter(*r);
            }
        }
        EXPECT_EQ(increase, c.increase);
        EXPECT_EQ(events, c.events);
    }
}

TEST(ExpGain, NothingIsRecordedBeforeTheFirstReading) {
    ExpGainTracker tracker;
    EXPECT_FALSE(tracker.Evaluate(LocalTime{}, 1000, kNotRead).has_value());
    EXPECT_FALSE(tracker.Started());
    EXPECT_EQ(tracker.Evaluate(LocalTime{}, 2000, 70)->event, ReadingEvent::Start);
}

TEST(ExpGain, ElapsedTimeSurvivesTheCounterWrap) {
    ExpGainTracker tracker;
    tracker.Evaluate(LocalTime{}, 0xFFFF0000u, 1000);
    const auto later = tracker.Evaluate(LocalTime{}, 0x0000EA60u, 1600);
    EXPECT_EQ(later->elapsedMilliseconds, 0x10000u + 0xEA60u);
}

TEST(ExpGain, HourlyRate) {
    struct Case {
        double increase;
        std::uint64_t ms;
        std::optional<double> rate;
        const wchar_t* caption;
    };
    const Case cases[] = {
        {1000, 59'999, std::nullopt, L""},
        {1000, 60'000, 60'000, L"時給 60,000"},
        {1000, 7'000'000, 514, L"時給 514"}, // 514.28... rounded down
        {123'456'789, 3'600'001, 123'456'754, L"時給 123,456,754"},
        {0, 120'000, 0, L"時給 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ms);
        EXPECT_EQ(HourlyRate(c.increase, c.ms), c.rate);
        EXPECT_EQ(ExpPerHourCaption(HourlyRate(c.increase, c.ms)), c.caption);
    }
}

// The last ten minutes' rate beside the average: pauses and misreads count for neither.
TEST(ExpGain, RecentRateAndAverageLeaveOutPausesAndMisreads) {
    enum Act { Read, Pause, Resume };
    struct Step {
        double minute;
        Act act;
        double reading;
    };
    // A reading a minute rising by `step` from 1000, minutes `from` to `to` after the first.
    const auto rising = [](int from, int to, double step, double base = 1000) {
        std::vector<Step> steps;
        for (int m = from; m <= to; ++m) {
            steps.push_back({static_cast<double>(m), Read, base + step * m});
        }
        return steps;
    };
    const auto join = [](std::vector<Step> a, const std::vector<Step>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        std::optional<double> average, recent;
    };
    const Case cases[] = {
        {"a steady rise", rising(0, 20, 100), 6000, 6000},
        {"a burst older than ten minutes", join({{0, Read, 1000}}, rising(1, 20, 10, 1890)), 3270,
         600},
        {"a pause inside the window",
         join(join(rising(0, 10, 100), {{10, Pause, 0}, {40, Resume, 0}}),
              rising(41, 45, 100, -2000)),
         6000, 6000},
        {"a misread inside the window",
         join(join(rising(0, 11, 100), {{12, Read, 220}}), rising(13, 15, 100)), 6000, 6000},
        {"younger than ten minutes", rising(0, 5, 100), 6000, 6000},
        {"younger than a minute", {{0, Read, 1000}, {0.5, Read, 1500}}, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpGainTracker gain;
        std::optional<EvaluatedReading> last;
        for (const Step& s : c.steps) {
            const auto ms = static_cast<std::uint32_t>(s.minute * 60000);
            const LocalTime at{2024, 10, 2, 18, 0, 0, 0};
            last = s.act == Read    ? gain.Evaluate(at, ms, s.reading)
                   : s.act == Pause ? gain.Pause(at, ms)
                                    : gain.Resume(at, ms);
        }
        ASSERT_TRUE(last);
        EXPECT_EQ(last->expPerHour, c.average);
        EXPECT_EQ(last->recentPerHour, c.recent);
    }
}

// An unchanged figure shows 0 without a sign; a rise of 1 shows "+1".
TEST(ExpJournalLine, TheChangeCarriesASignUnlessItIsZero) {
    EvaluatedReading r;
    r.time = LocalTime{2024, 10, 2, 18, 4, 9, 0};
    r.reading = 1000.0;
    r.change = 0.0;
    r.increase = 500;
    EXPECT_EQ(JournalLine(r), L"2024/10/02 18:04:09,1000,0,500,,,,,\r\n");
    r.change = 1;
    EXPECT_EQ(JournalLine(r), L"2024/10/02 18:04:09,1000,+1,500,,,,,\r\n");
}

// No figure outgrows its text: 2^212 has 64 digits.
TEST(ExpGain, SixtyFourDigitFigureIsWrittenWhole) {
    const double figure = 0x1p212;
    EXPECT_EQ(PlainNumberText(figure),
              L"6582018229284824168619876730229402019930943462534319453394436096");
    EXPECT_EQ(GroupedNumberText(figure), L"6,582,018,229,284,824,168,619,876,730,229,402,019,930,"
                                         L"943,462,534,319,453,394,436,096");
}

class ExpJournalTest : public testing_fakes::MeasurementFixture {
  protected:
    // A capture read `reading` at `seconds` after the fixture's start.
    void ReadAt(std::uint32_t seconds, double reading) {
        clock.Advance(start_ + seconds * 1000 - clock.ms);
        engine.EvaluateReading(reading);
    }
    std::vector<std::filesystem::path> Journals() const {
        std::vector<std::filesystem::path> found;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.path().filename().string().starts_with("ExpLog_")) {
                found.push_back(entry.path());
            }
        }
        return found;
    }
    std::uint32_t start_ = clock.ms;
};

TEST_F(ExpJournalTest, WorkedExampleOnThePanelAndInTheJournal) {
    StartMeasurement();
    ReadAt(0, 1000);
    ReadAt(20, 1500);
    ReadAt(40, 1800);
    EXPECT_FALSE(Record().expPerHour);
    ReadAt(60, 200);
    EXPECT_EQ(Record().expPerHour, 48000);
    ReadAt(80, kNotRead);
    ReadAt(100, 400);
    EXPECT_EQ(Record().increase, 1000);
    EXPECT_EQ(Record().expPerHour, 36000);
    ReadAt(120, 4000); // a stray digit, shown a misread by the next different reading
    ReadAt(140, 410);
    ReadAt(160, 900); // held until the stop, which counts it
    engine.menuStop_Click();
    EXPECT_EQ(Record().expPerHour, 33750) << "kept after a stop";
    const std::wstring summaryEnd =
        L"　増加量:" + std::wstring(21, L' ') + L"Exp:" + std::wstring(8, L' ') + L"1,500 ";
    EXPECT_NE(window.logText.find(summaryEnd), std::wstring::npos)
        << "summary: " << testing::PrintToString(window.logText);

    // A run without a reading writes no journal.
    StartMeasurement();
    ReadAt(120, kNotRead);
    engine.menuStop_Click();

    const auto journals = Journals();
    ASSERT_EQ(journals.size(), 1u);
    EXPECT_EQ(journals[0].filename(), "ExpLog_20241002180409.csv");
    std::ifstream in(journals[0], std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const std::string expected =
        ToAnsi(L"時刻,Exp,増減,増加量,時給,出来事,%,次のLvまで,直近10分\r\n"
               L"2024/10/02 18:04:09,1000,,0,,開始,,,\r\n"
               L"2024/10/02 18:04:29,1500,+500,500,,,,,\r\n"
               L"2024/10/02 18:04:49,1800,+300,800,,,,,\r\n"
               L"2024/10/02 18:05:09,200,-1600,800,48000,LvUP or Dead,,,48000\r\n"
               L"2024/10/02 18:05:29,,,800,48000,認識NG,,,48000\r\n"
               L"2024/10/02 18:05:49,400,+200,1000,36000,,,,36000\r\n"
               L"2024/10/02 18:06:09,4000,+3600,1000,30000,,,,30000\r\n"
               L"2024/10/02 18:06:29,410,-3590,1010,25971,誤認識補正,,,25971\r\n"
               L"2024/10/02 18:06:49,900,+490,1010,22725,,,,22725\r\n"
               L"2024/10/02 18:06:49,900,,1500,33750,,,,33750\r\n");
    EXPECT_EQ(bytes.str(), expected);
}

// A name already taken (the clock set back, a second copy in the folder) is left alone.
TEST_F(ExpJournalTest, EachMeasurementWritesOnlyIntoAFileItCreated) {
    std::ofstream(folder / "ExpLog_20241002180409.csv") << "another's";
    std::filesystem::create_directory(folder / "ExpLog_20241002180409_2.csv");
    StartMeasurement();
    ReadAt(0, 1000);
    engine.menuStop_Click();
    StartMeasurement();
    ReadAt(5, 700);
    EXPECT_EQ(std::filesystem::file_size(folder / "ExpLog_20241002180409.csv"), 9u) << "written";
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / "ExpLog_20241002180409_3.csv"));
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / "ExpLog_20241002180414.csv"));
}

} // namespace
} // namespace qv

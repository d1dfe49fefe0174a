#include "base/ansi_text.h"
#include "measurement/status_panel.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>

namespace qv {
namespace {

class FakePanel : public StatusPanelView {
  public:
    std::map<std::size_t, std::wstring> captions;
    int repaints = 0;
    // The caption of the row that draws `control`.
    std::wstring Caption(std::wstring_view control) const {
        const auto rows = PanelRows();
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].control == control) {
                auto it = captions.find(i);
                return it == captions.end() ? L"" : it->second;
            }
        }
        ADD_FAILURE() << "no row for the label";
        return L"";
    }
    void SetCaption(std::size_t row, std::wstring_view t) override { captions[row] = t; }
    void RepaintPanel() override { ++repaints; }
};

class FakeLog : public LogBox {
  public:
    std::wstring text;
    std::wstring Text() const override { return text; }
    void SetText(std::wstring_view t) override { text = t; }
    void SetCaret(std::size_t) override {}
    void RepaintNow() override {}
};

class FixedClock : public Clock, public DebugLogHost {
  public:
    LocalTime Now() override { return {2024, 10, 2, 18, 4, 9, 0}; }
    std::uint32_t Milliseconds() override { return 0; }
    MemoryStatus QueryMemoryStatus() override { return {}; }
    std::wstring SystemDescription() override { return L""; }
};

class NoMessages : public MessageSink {
  public:
    void ShowMessage(std::wstring_view, std::wstring_view) override {}
};

TimedExp At(int minute, double exp) {
    return TimedExp{LocalTime{2024, 10, 2, 18, minute, 9, 0}, exp};
}

// A measurement that started at 18:04:09 with 6024300.
MeasurementRecord Started() {
    MeasurementRecord r;
    r.phase = MeasurementPhase::Measuring;
    r.start = r.latest = r.lastReading = At(4, 6024300);
    return r;
}

TEST(StatusPanel, EveryRowIsDrawnFromTheRecord) {
    const MeasurementRecord empty;
    MeasurementRecord later = Started();
    later.latest = At(34, 6100000);
    later.increase = 75700;
    later.expPerHour = 151400;
    later.percent = 83.18;
    later.remainingExp = 209000; // 82.8 minutes at the rate
    struct Case {
        const MeasurementRecord& record;
        // start time, start EXP, end time, end EXP, increase, rate, percent and next level
        std::vector<std::wstring> texts;
    };
    const MeasurementRecord first = Started();
    const Case cases[] = {
        {empty, {L"", L"", L"", L"", L"", L"", L""}},
        {first,
         {L"2024/10/02 18:04:09", L"6024300", L"2024/10/02 18:04:09", L"6024300", L"0", L"", L""}},
        {later,
         {L"2024/10/02 18:04:09", L"6024300", L"2024/10/02 18:34:09", L"6100000", L"75700",
          L"時給 151,400", L"83.18%\r\n次のLvまで 1:23"}},
    };
    const wchar_t* labels[] = {L"lblStartTime", L"lblStartExp",   L"lblEndTime", L"lblEndExp",
                               L"lblElapseExp", L"lblExpPerHour", L"lblLevel"};
    for (const Case& c : cases) {
        FakePanel panel;
        UpdateStatusPanel(c.record, panel);
        for (std::size_t i = 0; i < std::size(labels); ++i) {
            EXPECT_EQ(panel.Caption(labels[i]), c.texts[i]) << i;
        }
        EXPECT_EQ(panel.repaints, 1);
    }
    EXPECT_EQ(ChartHeading(later), L"増加量 75700    時給 151,400    次のLvまで 1:23");
    EXPECT_EQ(ChartHeading(empty), L"増加量 ");
}

TEST(StatusPanel, SummaryLineOfTheRecord) {
    MeasurementRecord r = Started();
    const std::wstring increase = L"\u3000増加量:" + std::wstring(19, L' ') + L"  Exp:";
    EXPECT_EQ(BuildSummaryLine(r), L"開始時刻:2024/10/02 18:04:09  Exp:    6,024,300 "
                                   L"終了時刻:2024/10/02 18:04:09  Exp:    6,024,300 " +
                                       increase + std::wstring(12, L' ') + L"0 ");
    r.latest = At(34, 6100000);
    r.increase = 75700;
    EXPECT_EQ(BuildSummaryLine(r), L"開始時刻:2024/10/02 18:04:09  Exp:    6,024,300 "
                                   L"終了時刻:2024/10/02 18:34:09  Exp:    6,100,000 " +
                                       increase + L"       75,700 ");
    const std::wstring zero = std::wstring(12, L' ') + L"0 ";
    EXPECT_EQ(BuildSummaryLine(MeasurementRecord{}),
              L"開始時刻:  Exp:" + zero + L"終了時刻:  Exp:" + zero + increase + zero);
}

// Only a measurement that took readings has a summary; it goes to the log box and is recorded.
TEST(StatusPanel, SummaryIsWrittenForAMeasurementWithReadings) {
    const auto folder = std::filesystem::temp_directory_path() / "qv_panel_summary";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    FixedClock clock;
    NoMessages messages;
    DebugLog debugLog{folder, clock, clock, messages};
    FakeLog log;
    MeasurementRecord r = Started();
    r.phase = MeasurementPhase::WaitingForGame;
    WriteMeasurementSummary(r, log, debugLog);
    EXPECT_EQ(log.text, L"");
    EXPECT_FALSE(std::filesystem::exists(folder / "debug.txt"));
    r.phase = MeasurementPhase::Measuring;
    WriteMeasurementSummary(r, log, debugLog);
    EXPECT_EQ(log.text, BuildSummaryLine(r) + L"\r\n\r\n");
    std::ifstream in(folder / "debug.txt", std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    EXPECT_NE(FromAnsi(ss.str()).find(L"測定終了表示完了\r\n"), std::wstring::npos);
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace qv

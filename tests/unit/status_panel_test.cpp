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
    std::map<PanelLabel, std::wstring> captions;
    int repaints = 0;
    std::wstring Caption(PanelLabel l) const override {
        auto it = captions.find(l);
        return it == captions.end() ? L"" : it->second;
    }
    void SetCaption(PanelLabel l, std::wstring_view t) override { captions[l] = t; }
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
    LocalTime now{2024, 10, 2, 18, 4, 9, 0};
    LocalTime Now() override { return now; }
    std::uint32_t Milliseconds() override { return 0; }
    MemoryStatus QueryMemoryStatus() override { return {}; }
    std::wstring SystemDescription() override { return L""; }
};

class NoMessages : public MessageSink {
  public:
    void ShowMessage(std::wstring_view, std::wstring_view) override {}
};

class StatusPanelTest : public ::testing::Test {
  protected:
    static std::filesystem::path FreshFolder() {
        auto dir = std::filesystem::temp_directory_path() /
                   (std::string("qv_panel_") +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        return dir;
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    void Update(PanelMode mode) {
        StatusPanelContext c{panel, log, clock, debugLog, reading, logMark};
        UpdateStatusPanel(mode, c);
    }
    // The panel updated with a reading taken at 18:mm:09 (18:04:09 unless given).
    void Update(PanelMode mode, std::optional<double> value, int minute = 4) {
        clock.now.minute = minute;
        reading = value;
        Update(mode);
    }
    std::wstring DebugText() {
        std::ifstream in(folder / "debug.txt", std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return FromAnsi(ss.str());
    }

    std::filesystem::path folder = FreshFolder();
    FakePanel panel;
    FakeLog log;
    FixedClock clock;
    NoMessages messages;
    DebugLog debugLog{folder, clock, clock, messages};
    std::optional<double> reading;
    std::wstring logMark;
};

TEST_F(StatusPanelTest, FirstReadingFillsStartAndEndWithOneTimestamp) {
    Update(PanelMode::FAST, 6024300.0);
    EXPECT_EQ(panel.Caption(PanelLabel::StartTime), L"2024/10/02 18:04:09");
    EXPECT_EQ(panel.Caption(PanelLabel::EndTime), L"2024/10/02 18:04:09");
    EXPECT_EQ(panel.Caption(PanelLabel::StartExp), L"6024300");
    EXPECT_EQ(panel.Caption(PanelLabel::EndExp), L"6024300");
    EXPECT_EQ(panel.Caption(PanelLabel::ElapseExp), L"0");
    EXPECT_EQ(panel.repaints, 1);
}

TEST_F(StatusPanelTest, InitEmptiesEveryValueLabel) {
    Update(PanelMode::FAST, 5.0);
    Update(PanelMode::INIT);
    for (PanelLabel l : kPanelLabels) {
        EXPECT_EQ(panel.Caption(l), L"");
    }
}

TEST_F(StatusPanelTest, LatestModeMovesOnlyTheEndValues) {
    Update(PanelMode::FAST, 100.0);
    Update(PanelMode::Latest, 90.0, 30);
    EXPECT_EQ(panel.Caption(PanelLabel::StartExp), L"100");
    EXPECT_EQ(panel.Caption(PanelLabel::EndTime), L"2024/10/02 18:30:09");
    EXPECT_EQ(panel.Caption(PanelLabel::EndExp), L"90");
    EXPECT_EQ(panel.Caption(PanelLabel::ElapseExp), L"0");
}

TEST_F(StatusPanelTest, ClickOnAnEmptyPanelLeavesItEmpty) {
    Update(PanelMode::Latest);
    EXPECT_EQ(panel.Caption(PanelLabel::EndTime), L"");
    EXPECT_EQ(panel.Caption(PanelLabel::EndExp), L"");
    EXPECT_EQ(panel.Caption(PanelLabel::StartTime), L"");
}

TEST_F(StatusPanelTest, EndWithoutLogMarkOnlyRepaints) {
    Update(PanelMode::FAST, 6024300.0);
    Update(PanelMode::END);
    EXPECT_EQ(log.text, L"");
    EXPECT_FALSE(std::filesystem::exists(folder / "debug.txt"));
    EXPECT_EQ(panel.repaints, 2);
}

TEST_F(StatusPanelTest, EndWithLogMarkAppendsTheSummaryLine) {
    Update(PanelMode::FAST, 6024300.0);
    logMark = L"running";
    Update(PanelMode::END);
    const std::wstring increase = L"\u3000増加量:" + std::wstring(19, L' ') + L"  Exp:";
    const std::wstring expected = L"開始時刻:2024/10/02 18:04:09  Exp:    6,024,300 "
                                  L"終了時刻:2024/10/02 18:04:09  Exp:    6,024,300 " +
                                  increase + std::wstring(12, L' ') + L"0 \r\n\r\n";
    EXPECT_EQ(log.text, expected);
    EXPECT_NE(DebugText().find(L"測定終了表示完了\r\n"), std::wstring::npos);
}

TEST_F(StatusPanelTest, SummaryAfterLaterReadingsKeepsTheStartApart) {
    Update(PanelMode::FAST, 6024300.0);
    Update(PanelMode::Latest, 6100000.0, 34);
    panel.captions[PanelLabel::ElapseExp] = L"75700";
    logMark = L"running";
    Update(PanelMode::END);
    EXPECT_EQ(log.text, L"開始時刻:2024/10/02 18:04:09  Exp:    6,024,300 "
                        L"終了時刻:2024/10/02 18:34:09  Exp:    6,100,000 "
                        L"\u3000増加量:" +
                            std::wstring(19, L' ') + L"  Exp:       75,700 \r\n\r\n");
}

TEST_F(StatusPanelTest, SummaryRefreshesTheEndValuesFirstWhenAReadingExists) {
    Update(PanelMode::FAST, 100.0);
    logMark = L"running";
    Update(PanelMode::END, 90.0, 30);
    EXPECT_EQ(panel.Caption(PanelLabel::EndTime), L"2024/10/02 18:30:09");
    EXPECT_EQ(panel.Caption(PanelLabel::EndExp), L"90");
    EXPECT_NE(log.text.find(L"終了時刻:2024/10/02 18:30:09  Exp:           90 "),
              std::wstring::npos);

    panel.captions.clear(); // an empty panel without a reading stays empty
    reading.reset();
    Update(PanelMode::END);
    EXPECT_EQ(panel.Caption(PanelLabel::EndTime), L"");
}

TEST_F(StatusPanelTest, SummaryOfAnEmptyPanelShowsZeros) {
    const std::wstring line = BuildSummaryLine(L"", L"", L"", L"", L"");
    const std::wstring zero = std::wstring(12, L' ') + L"0 ";
    EXPECT_EQ(line, L"開始時刻:  Exp:" + zero + L"終了時刻:  Exp:" + zero + L"\u3000増加量:" +
                        std::wstring(19, L' ') + L"  Exp:" + zero);
}

TEST(LeadingNumber, ReadsTheNumberTheCaptionStartsWith) {
    EXPECT_EQ(LeadingNumber(L"6024300"), 6024300.0);
    EXPECT_EQ(LeadingNumber(L""), 0.0);
    EXPECT_EQ(LeadingNumber(L"12abc"), 12.0);
    EXPECT_EQ(LeadingNumber(L"abc"), 0.0);
    EXPECT_EQ(LeadingNumber(L" -15"), -15.0);
}

} // namespace
} // namespace qv

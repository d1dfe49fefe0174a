// The level's range, the misreads the percent shows and the time to the next level, driven the
// way the gain tracker uses them.
#include "measurement/level_range.h"

#include <gtest/gtest.h>
#include <vector>

namespace qv {
namespace {

struct Reading {
    double figure;
    std::optional<double> percent = 12.34;
};
constexpr std::nullopt_t kNoPercent = std::nullopt;

struct Case {
    std::vector<Reading> readings;
    double increase;
    std::string decisions; // U unchecked, R rise, F fall, M misread, B range begun anew
};

// The tracker's side: the increase counted from the decisions (an unchecked reading counted
// as the rules without the percent count a plain rise or fall).
std::string Drive(LevelRange& range, const std::vector<Reading>& readings, double& increase) {
    std::string decisions;
    std::optional<double> base;
    for (const Reading& r : readings) {
        const RangeCheck check = range.Judge(r.figure, r.percent);
        decisions += "URFMB"[static_cast<int>(check.decision)];
        switch (check.decision) {
        case RangeDecision::Misread:
            continue;
        case RangeDecision::Rebegun:
            increase += check.rises;
            break;
        case RangeDecision::Fall:
            break;
        case RangeDecision::Unchecked:
            if (base && r.figure < *base) {
                range.BeginLevel();
                break;
            }
            [[fallthrough]];
        case RangeDecision::Rise:
            increase += base ? r.figure - *base : 0;
        }
        base = r.figure;
    }
    return decisions;
}

TEST(LevelRange, PercentDecidesWhichReadingsCount) {
    const Case cases[] = {
        {{{1234567}, {123567}, {124567}, {1234600}, {1234610}}, 43, "UMMRR"}, // a pointer
        {{{1234567}, {12345}, {123456}, {1234580}, {1234590}}, 23, "UMMRR"},  // a tooltip
        {{{123567}, {1234580}, {1234590}, {1234600}}, 20, "UMMB"}, // covered at the start
        {{{1234580}, {12345800}}, 0, "UM"},                        // a stray digit
        {{{12345800}, {1234590}, {1234590}, {1234600}, {1234610}}, 20, "UMMMB"},
        {{{1234567}, {12345800}, {12360800}, {12375800}}, 0, "UMMM"}, // the third drifted off
        {{{1234567}, {12345800}, {1234580}, {12345810}, {12345820}}, 13, "UMRMM"},
        {{{1234567}, {1234567, 11.34}, {1234580}}, 13, "UMR"}, // the percent misread
        // A level-up (10,000,000 to 11,000,000) and a death.
        {{{9990000, 99.90}, {9999000, 99.99}, {1100, 0.01}, {220000, 2.00}}, 227900, "URFR"},
        {{{1234567}, {1111111, 11.11}, {1111200, 11.11}}, 89, "UFR"},
        {{{1234567}, {1234580, kNoPercent}, {1234590}, {5000, kNoPercent}, {6000, 0.05}},
         1023,
         "UURUU"},
    };
    for (const Case& c : cases) {
        LevelRange range;
        double increase = 0;
        EXPECT_EQ(Drive(range, c.readings, increase), c.decisions) << c.decisions;
        EXPECT_EQ(increase, c.increase) << c.decisions;
    }
}

TEST(LevelRange, TotalIsKnownOnceTheRangeIsNarrowAndRemainingCountsFromTheLastFigure) {
    LevelRange range;
    range.Judge(1000, 0.01); // no upper bound
    EXPECT_FALSE(range.Total());
    range.Judge(50000, 0.50); // 9,803,921 to 10,204,081: too wide
    EXPECT_FALSE(range.RemainingExp());
    range.Judge(1000000, 10.00);
    range.Judge(123567, 10.00); // a misread leaves the last counted figure
    ASSERT_TRUE(range.Total());
    EXPECT_NEAR(*range.Total(), 10000000, 10000);
    EXPECT_NEAR(*range.RemainingExp(), 9000000, 10000);
}

TEST(LevelRange, TimeToNextLevelAndPercentTexts) {
    const struct {
        std::optional<double> remaining, rate;
        std::wstring text;
    } cases[] = {
        {std::nullopt, 1000, L""}, {1000, std::nullopt, L""}, {1000, 0, L""},
        {1000, -60, L""},          {-1, 1000, L""},           {1e9, 1, L""},
        {0, 1000, L"0:00"},        {1001, 60000, L"0:02"},    {25, 6, L"4:10"},
        {2500, 100, L"1日1:00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TimeToNextLevelText(c.remaining, c.rate), c.text) << c.text;
    }
    EXPECT_TRUE((TotalRange{1, 2}.Meets({2, 3}))); // ranges that touch meet
    EXPECT_EQ(PercentText(12.34), L"12.34");
    EXPECT_EQ(PercentText(5), L"5.00");
    EXPECT_EQ(PercentText(std::nullopt), L"");
}

} // namespace
} // namespace qv

#include "measurement/exp_chart.h"

#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace qv {
namespace {

std::vector<std::wstring> Labels(const Axis& axis) {
    std::vector<std::wstring> labels;
    for (const Tick& t : axis.ticks) {
        labels.push_back(t.label);
    }
    return labels;
}

struct ExpAxisCase {
    double increase;
    int intervals;
    double step, max;
    std::vector<std::wstring> labels;
};

TEST(ExpChartAxes, ExpAxisHasRoundStepsAndThousandsSeparators) {
    const ExpAxisCase cases[] = {
        {0, 5, 1, 1, {L"0", L"1"}},
        {7, 5, 2, 8, {L"0", L"2", L"4", L"6", L"8"}},
        {1000, 4, 500, 1000, {L"0", L"500", L"1,000"}},
        {123456789,
         7,
         20000000,
         140000000,
         {L"0", L"20,000,000", L"40,000,000", L"60,000,000", L"80,000,000", L"100,000,000",
          L"120,000,000", L"140,000,000"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.increase);
        const Axis axis = ExpAxis(c.increase, c.intervals);
        EXPECT_EQ(axis.step, c.step);
        EXPECT_EQ(axis.max, c.max);
        EXPECT_EQ(Labels(axis), c.labels);
    }
}

struct TimeAxisCase {
    const char* name;
    double seconds;
    LocalTime start;
    int intervals;
    double step;
    std::vector<std::wstring> labels;
};

TEST(ExpChartAxes, TimeAxisTicksSitOnTheLocalClock) {
    const TimeAxisCase cases[] = {
        {"one point", 0, {2026, 12, 7, 14, 7, 33}, 6, 1, {L"14:08"}},
        {"59 s", 59, {2026, 12, 7, 14, 7, 0}, 6, 1, {L"14:07", L"14:08"}},
        {"8 h",
         8 * 3600,
         {2026, 12, 7, 9, 0, 0},
         6,
         100,
         {L"10:00", L"11:40", L"13:20", L"15:00", L"16:40"}},
        {"8 h, wide", 8 * 3600, {2026, 12, 7, 9, 0, 0}, 20, 50, {}},
        {"past midnight", 3600, {2026, 12, 7, 23, 30, 0}, 3, 20, {L"23:40", L"00:00", L"00:20"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Axis axis = TimeAxis(c.seconds, c.start, c.intervals);
        EXPECT_EQ(axis.step, c.step);
        if (!c.labels.empty()) {
            EXPECT_EQ(Labels(axis), c.labels);
        }
        EXPECT_GE(axis.max, 1.0); // never shorter than a minute
    }
    // 14:07:33 + 27 s is 14:08: the tick's value is minutes since the first reading.
    EXPECT_NEAR(TimeAxis(0, {2026, 12, 7, 14, 7, 33}, 6).ticks[0].value, 0.45, 1e-9);
}

TEST(ExpChartPixels, EdgesMapToTheEndPixelsAndBeyondIsClamped) {
    const PixelScale right(0, 100, 10, 50);
    EXPECT_EQ(right.ToPixel(0), 10);
    EXPECT_EQ(right.ToPixel(99.99), 59);
    EXPECT_EQ(right.ToPixel(100), 59);
    EXPECT_EQ(right.ToPixel(-5), 10);
    EXPECT_EQ(right.ToPixel(1e12), 59);
    EXPECT_EQ(right.ToPixel(2), 11); // each pixel covers 2 units

    const PixelScale up(0, 1000, 199, 100, true);
    EXPECT_EQ(up.ToPixel(0), 199);
    EXPECT_EQ(up.ToPixel(1000), 100);

    EXPECT_EQ(PixelScale(5, 5, 30, 100).ToPixel(5), 30); // an empty range
}

TEST(ExpChartColumns, ThirtyThousandPointsKeepEachColumnsMinimumAndMaximum) {
    // One reading a second; 100 of them per column. In column c the readings are 5, except a
    // peak of 1000 + c at 37 and a dip of -c at 71 within the column.
    std::vector<SeriesPoint> points;
    for (int i = 0; i < 30000; ++i) {
        const int c = i / 100, k = i % 100;
        const double v = k == 37 ? 1000 + c : k == 71 ? -c : 5;
        points.push_back({static_cast<double>(i), v});
    }
    const auto columns = ReduceToColumns(points, PixelScale(0, 30000, 0, 300));
    ASSERT_EQ(columns.size(), 300u);
    for (int c = 0; c < 300; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(columns[c].column, c);
        EXPECT_EQ(columns[c].max, 1000 + c);
        EXPECT_EQ(columns[c].min, -c);
        EXPECT_EQ(columns[c].first, 5);
        EXPECT_EQ(columns[c].last, 5);
    }
}

TEST(ExpSeriesFeed, FollowsTheEvaluatedCapturesOfOneMeasurementAtATime) {
    ExpGainTracker gain;
    ExpSeries series;
    const LocalTime at{2026, 12, 7, 14, 0, 0};
    // 200 a fall, 0 nothing read, 40 a covered digit, 9000 a stray one, 5000 held to the end.
    const double readings[] = {1000, 1500, 1800, 200, 0, 400, 40, 450, 9000, 500, 5000};
    std::uint32_t clock = 50000;
    for (const double r : readings) {
        if (const auto evaluated = gain.Evaluate(at, clock += 1000, r)) {
            series.OnReading(*evaluated);
        }
    }
    series.OnMeasurementEnd(*gain.Finish(at));
    const std::vector<std::pair<double, double>> expected{
        {0, 0},    {1, 500},  {2, 800},  {3, 800},   {5, 1000}, {6, 1000},
        {7, 1050}, {8, 1050}, {9, 1100}, {10, 1100}, {10, 5600}};
    std::vector<std::pair<double, double>> points;
    for (const SeriesPoint& p : series.Points()) {
        points.emplace_back(p.seconds, p.increase);
    }
    EXPECT_EQ(points, expected);
    EXPECT_EQ(series.Falls(), std::vector<double>{3});

    // The next measurement's first reading starts a new graph.
    gain.Reset();
    series.OnReading(*gain.Evaluate({2026, 12, 7, 15, 0, 0}, clock + 1000, 9000));
    ASSERT_EQ(series.Points().size(), 1u);
    EXPECT_TRUE(series.Falls().empty());
    EXPECT_EQ(series.StartTime().hour, 15);
}

// An increase that reached infinity and a window of any size still give a few ticks.
TEST(ExpChartLayout, InfiniteIncreaseAndHugeClientAreaKeepTheTicksFew) {
    EXPECT_LE(ExpAxis(std::numeric_limits<double>::infinity(), 5).ticks.size(), 6u);
    ExpSeries series;
    series.Begin({2026, 12, 7, 14, 0, 0});
    series.Add(36'000'000, 1e15);
    const int huge = std::numeric_limits<int>::max();
    const ChartLayout layout = LayoutChart(series, huge, huge, {8, 16});
    EXPECT_LE(layout.expTicks.size() + layout.timeTicks.size(), 2002u);
}

TEST(ExpChartLayout, FallsAndTheLastReadingReachTheRightEdge) {
    ExpSeries series;
    series.Begin({2026, 12, 7, 14, 0, 0});
    series.Add(60000, 400);
    series.Add(120000, 1000, true);
    const ChartLayout layout = LayoutChart(series, 600, 400, {8, 16});
    ASSERT_TRUE(layout.hasData);
    ASSERT_FALSE(layout.line.empty());
    EXPECT_EQ(layout.line.front().x, layout.left);
    EXPECT_EQ(layout.line.front().y, layout.bottom - 1);
    EXPECT_EQ(layout.line.back().x, layout.right - 1);
    EXPECT_EQ(layout.line.back().y, layout.expTicks.back().pixel); // 1000 on the top tick
    EXPECT_EQ(layout.falls, std::vector<int>{layout.right - 1});
    EXPECT_FALSE(LayoutChart(ExpSeries{}, 600, 400, {8, 16}).hasData);
}

} // namespace
} // namespace qv

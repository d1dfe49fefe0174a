#include "app/mini_figures.h"
#include "app/mini_placement.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

// A 1024 x 768 screen; the demo game's region 2 (463, 570, 90 x 9) under a client area at
// (300, 30); the window 264 x 180.
constexpr ScreenRect kScreen{0, 0, 1024, 768};
constexpr ScreenRect kRegion{763, 600, 853, 609};

ScreenRect WindowAt(int left, int top) {
    return {left, top, left + 264, top + 180};
}

TEST(MiniPlacement, AMoveOverTheRegionEndsAboveItOrBelowItAtTheScreensTop) {
    struct Case {
        const char* name;
        ScreenRect proposed;
        ScreenRect region;
        ScreenRect expected;
    };
    const Case cases[] = {
        {"over the region: bottom 4 px above its top", WindowAt(700, 500), kRegion,
         WindowAt(700, 600 - 4 - 180)},
        {"touching its top row only", WindowAt(500, 600 - 180 + 1), kRegion, WindowAt(500, 416)},
        {"already 1 px above it: untouched", WindowAt(700, 420), kRegion, WindowAt(700, 420)},
        {"beside it: untouched", WindowAt(853, 500), kRegion, WindowAt(853, 500)},
        {"exactly fits above it", WindowAt(100, 50), {0, 184, 400, 200}, WindowAt(100, 0)},
        {"no room above: 4 px below it", WindowAt(100, 50), {0, 183, 400, 200}, WindowAt(100, 204)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KeepClearOfRegion(c.proposed, c.region, kScreen), c.expected) << c.name;
    }
}

TEST(MiniPlacement, OpensAtTheTopRightCornerOfTheGameOrOfTheWorkArea) {
    const ScreenRect gameClient{300, 30, 1100, 630};
    EXPECT_EQ(OpeningPlace(264, 180, gameClient, kRegion, kScreen),
              (ScreenRect{1100 - 264, 30, 1100, 210}));
    EXPECT_EQ(OpeningPlace(264, 180, std::nullopt, std::nullopt, {0, 40, 1024, 768}),
              (ScreenRect{760, 40, 1024, 220}));
    // A region in the corner pushes the opening window below it.
    EXPECT_EQ(OpeningPlace(264, 180, gameClient, ScreenRect{1000, 40, 1090, 49}, kScreen),
              (ScreenRect{836, 53, 1100, 233}));
}

TEST(MiniFigures, DashesUntilAFigureIsKnown) {
    MeasurementRecord record;
    record.increase = 5433;
    EXPECT_EQ(MiniFiguresOf(record).increase, kUnknownFigure) << "before the first reading";
    record.start = TimedExp{{}, 1000};
    record.expPerHour = 1234567;
    const MiniFigures f = MiniFiguresOf(record);
    EXPECT_EQ(f.increase, L"5433");
    EXPECT_EQ(f.expPerHour, L"1,234,567");
    EXPECT_EQ(f.lastTenMinutes, kUnknownFigure);
    EXPECT_EQ(f.toNextLevel, kUnknownFigure);
}

} // namespace
} // namespace qv

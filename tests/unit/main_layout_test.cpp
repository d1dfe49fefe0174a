#include "app/main_layout.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

std::array<int, kGlyphsPerSet> Heights(int digit, int delimiter) {
    std::array<int, kGlyphsPerSet> h{};
    h.fill(digit);
    h[10] = delimiter;
    return h;
}

const auto kRow1 = Heights(17, 17);
const auto kRow2 = Heights(13, 13);

TEST(MainLayout, DesignedSizeWithoutDebugModeGivesTheLogBoxTheRest) {
    const auto size = ClampClientSize(280, 270);
    EXPECT_FALSE(size.snapWidth);
    EXPECT_FALSE(size.snapHeight);
    EXPECT_EQ(LogBoxWidth(size.width), 264);
    const auto layout = ComputeDebugArea(size.height, false, 152, kRow1, kRow2);
    EXPECT_FALSE(layout.patternsVisible);
    EXPECT_EQ(layout.logHeight, 110);
}

TEST(MainLayout, DebugModeStacksBothPictureRowsUnderTheLogBox) {
    const auto layout = ComputeDebugArea(270, true, 152, kRow1, kRow2);
    EXPECT_TRUE(layout.patternsVisible);
    EXPECT_EQ(layout.logHeight, 64);
    for (int k = 0; k < kGlyphsPerSet; ++k) {
        EXPECT_EQ(layout.row1Top[k], 224) << k;
        EXPECT_EQ(layout.row2Top[k], 245) << k;
    }
}

TEST(MainLayout, SecondRowFollowsTheFirstRowPictureOfTheSameIndex) {
    auto row1 = kRow1;
    row1[3] = 21;
    const auto layout = ComputeDebugArea(300, true, 152, row1, kRow2);
    EXPECT_EQ(layout.row2Top[3], 300 - 21 - 8);
    EXPECT_EQ(layout.row2Top[4], 300 - 17 - 8);
    // The stack height is taken from element 0 only.
    EXPECT_EQ(layout.row1Top[3], 300 - 46);
}

TEST(MainLayout, SmallClientAreaSnapsToTheMinimumAndLaysOutAt256) {
    struct Case {
        int w, h;
        bool snapW, snapH;
        int outW, outH;
    };
    const Case cases[] = {{280, 270, false, false, 280, 270}, {200, 270, true, false, 256, 270},
                          {280, 100, false, true, 280, 256},  {10, 10, true, true, 256, 256},
                          {256, 256, false, false, 256, 256}, {255, 255, true, true, 256, 256}};
    for (const Case& c : cases) {
        const auto d = ClampClientSize(c.w, c.h);
        EXPECT_EQ(d.snapWidth, c.snapW) << c.w << "x" << c.h;
        EXPECT_EQ(d.snapHeight, c.snapH) << c.w << "x" << c.h;
        EXPECT_EQ(d.width, c.outW);
        EXPECT_EQ(d.height, c.outH);
    }
}

TEST(MainLayout, MinimumHeightLeavesTheLogBoxPositive) {
    EXPECT_EQ(ComputeDebugArea(256, true, 152, kRow1, kRow2).logHeight, 50);
    EXPECT_EQ(ComputeDebugArea(256, false, 152, kRow1, kRow2).logHeight, 96);
}

} // namespace
} // namespace qv

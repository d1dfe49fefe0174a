// Placement of the popup's message: centred, the window growing but never shrinking.
#include "services/popup_layout.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

struct LayoutCase {
    const char* name;
    Size2 window, client, label;
    int left, top;
    bool grow;
    Size2 newWindow;
};

TEST(PopupLayout, CentresTheLabelAndGrowsOnlyWhereItDoesNotFit) {
    // Window 320 x 80 around a 312 x 48 client area (8 wide and 32 high of frame).
    const Size2 w{320, 80}, c{312, 48};
    const LayoutCase cases[] = {
        {"fits", w, c, {100, 18}, 106, 15, false, w},
        {"exact fit", w, c, {312, 48}, 0, 0, false, w},
        {"odd differences truncate", w, c, {101, 19}, 105, 14, false, w},
        // (48 - 49) / 2 truncates toward zero to 0: one pixel over does not grow the window.
        {"one over truncates to zero", w, c, {313, 49}, 0, 0, false, w},
        {"taller", w, c, {100, 60}, 106, 0, true, {320, 92}},
        {"wider", w, c, {400, 18}, 0, 15, true, {408, 80}},
        {"taller and wider", w, c, {400, 60}, 0, 0, true, {408, 92}},
        {"three over in both", w, c, {315, 51}, 0, 0, true, {323, 83}},
    };
    for (const LayoutCase& k : cases) {
        SCOPED_TRACE(k.name);
        const PopupPlacement p = PlacePopupLabel(k.window, k.client, k.label);
        EXPECT_EQ(p.labelLeft, k.left);
        EXPECT_EQ(p.labelTop, k.top);
        EXPECT_EQ(p.grow, k.grow);
        EXPECT_EQ(p.windowSize.width, k.newWindow.width);
        EXPECT_EQ(p.windowSize.height, k.newWindow.height);
    }
}

TEST(PopupLayout, AGrownWindowKeepsItsSizeForAShorterMessage) {
    const PopupPlacement grown = PlacePopupLabel({320, 80}, {312, 48}, {400, 60});
    ASSERT_TRUE(grown.grow);
    // The client area after growing is exactly the label's size.
    const Size2 client{grown.windowSize.width - 8, grown.windowSize.height - 32};
    EXPECT_EQ(client.width, 400);
    EXPECT_EQ(client.height, 60);

    const PopupPlacement shorter = PlacePopupLabel(grown.windowSize, client, {100, 18});
    EXPECT_FALSE(shorter.grow);
    EXPECT_EQ(shorter.windowSize.width, 408);
    EXPECT_EQ(shorter.windowSize.height, 92);
    EXPECT_EQ(shorter.labelLeft, 150);
    EXPECT_EQ(shorter.labelTop, 21);
}

} // namespace
} // namespace qv

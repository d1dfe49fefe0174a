// The delayed screen print: its file name, the order of its steps and a save that fails.
#include "app/screen_print.h"
#include "tests/unit/measurement_fakes.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using testing_fakes::MeasurementFixture;

TEST(ScreenPrintNameTest, StampFromTheLocalTime) {
    EXPECT_EQ(ScreenPrintFileName({2024, 10, 2, 18, 4, 19, 0}), L"PrtScr_20241002180419.bmp");
    EXPECT_EQ(ScreenPrintFileName({2025, 1, 9, 0, 0, 5, 999}), L"PrtScr_20250109000005.bmp");
}

class ScreenPrintTest : public MeasurementFixture {
  protected:
    bool Print() {
        return PrintScreenDelayed(ScreenPrintContext{
            desktop, waiter, clock, debugLog, state.settings, folder, [this] { ++frontCalls; }});
    }
    int frontCalls = 0;
};

TEST_F(ScreenPrintTest, SavesTheFrontWindowTenSecondsLaterAndComesBack) {
    clock.now = {2024, 10, 2, 18, 4, 9, 0};
    state.settings.beepOnCapture = false;
    ASSERT_TRUE(Print());
    EXPECT_EQ(waiter.waits, (std::vector<double>{10000, 0})); // the delay, then pending events
    // The stamp is taken after the wait.
    EXPECT_EQ(desktop.SavedNames(), std::vector<std::wstring>{L"PrtScr_20241002180419.bmp"});
    EXPECT_EQ(desktop.saved.front().parent_path(), folder);
    EXPECT_EQ(desktop.beeps, 0);
    EXPECT_EQ(frontCalls, 1);
    EXPECT_EQ(Records(), std::vector<std::wstring>{L"Print Screen･･･End "});
}

TEST_F(ScreenPrintTest, BeepFollowsTheSettingAsItIsAfterTheWait) {
    state.settings.beepOnCapture = false;
    waiter.during = [this](std::size_t) { state.settings.beepOnCapture = true; };
    ASSERT_TRUE(Print());
    EXPECT_EQ(desktop.beeps, 1);
}

TEST_F(ScreenPrintTest, AFileThatCannotBeSavedIsRecordedAndTheRestGoesOn) {
    clock.now = {2024, 10, 2, 18, 4, 9, 0};
    desktop.failingNames.insert(L"PrtScr_20241002180419.bmp");
    ASSERT_TRUE(Print());
    EXPECT_EQ(frontCalls, 1);
    EXPECT_EQ(Records(),
              (std::vector<std::wstring>{L"Screen print save failed: PrtScr_20241002180419.bmp",
                                         L"Print Screen･･･End "}));
}

TEST_F(ScreenPrintTest, QuitDuringTheWaitSavesNothing) {
    waiter.quitAt = 0;
    EXPECT_FALSE(Print());
    EXPECT_TRUE(desktop.saved.empty());
    EXPECT_EQ(frontCalls, 0);
    EXPECT_TRUE(Records().empty());
}

} // namespace
} // namespace qv

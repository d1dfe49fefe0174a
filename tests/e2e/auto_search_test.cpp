// "自動で探す" with the demo game drawing its EXP strip at twice the built-in size at an unusual
// place of a 1280 x 720 client, HP and MP beside it: the search moves region 2 onto the figure,
// the enlarged digits read it at once, the measurement reads it, and "保 存" keeps both.
#include "tests/e2e/e2e_fixture.h"

namespace qv::e2e {
namespace {

constexpr int kExpPictureId = 110;   // picCapture(1)
constexpr int kCaptureLabelId = 115; // lblCapture(1), the EXP line's reading
constexpr int kRegion2XId = 201;     // lblCapture_sx(1); y, width and height follow by 2

class AutoSearchTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        // Measuring every second from the start, region 2 where the design's client has it.
        ASSERT_TRUE(WriteFileBytes(File(kConfigFile),
                                   AnsiBytes(L"1,1,1,1, a\r\n463,570,90,9, b\r\n"
                                             L"True, c\r\n1, d\r\nFalse, e\r\n0, f\r\n\r\n")));
    }
};

TEST_F(AutoSearchTest, FindsTheFigureAtTwiceTheSizeAndTheMeasurementReadsIt) {
    HWND game = StartGame(L"--scale 2 --client 1280 720 --at 611 287 --exp 1234567");
    ASSERT_NE(game, nullptr);
    Process* program = Launch();
    ASSERT_NE(program, nullptr);
    HWND main = WaitUntilReady(*program);
    ASSERT_NE(main, nullptr);
    HWND options = OpenOptions(main);
    ASSERT_NE(options, nullptr);

    HWND button = FindChildByText(options, L"自動で探す");
    ASSERT_NE(button, nullptr);
    PostMessageW(button, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(button) == FALSE; }));
    ASSERT_TRUE(BringToFront(game));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(button) != FALSE; }, Millis(16000)));
    HWND picture = FindChildById(options, kExpPictureId);
    EXPECT_TRUE(WaitUntil([&] {
        return WindowText(picture) == L"読取: 1234567 82.30%（2倍の大きさ）";
    })) << Utf8(WindowText(picture));
    const wchar_t* region[] = {L"611", L"287", L"200", L"18"}; // 2 x (6 x (7 + 2) + 46) wide
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(WindowText(FindChildById(options, kRegion2XId + 2 * i)), region[i]) << i;
    }
    PauseForScreenshot(options);

    EXPECT_TRUE(BringToFront(game));
    HWND reading = FindChildById(main, kCaptureLabelId);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(reading) == L"1234567"; }, Millis(14000)));

    EXPECT_FALSE(Exists(L"QvanGlyphs.bmp")); // nothing is kept before "保 存"
    PostMessageW(FindChildByText(options, L"保 存"), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return Exists(L"QvanGlyphs.bmp"); }));
    CloseProgram(main, *program);
    const std::string saved = Bytes(kConfigFile).value_or("");
    EXPECT_NE(saved.find("611"), std::string::npos) << saved;
    EXPECT_NE(saved.find("287"), std::string::npos) << saved;
}

} // namespace
} // namespace qv::e2e

// The options dialog's "テスト" with the demo game: the ten-second count on the button while
// a measurement goes on, the two regions drawn into the picture boxes with region 2's reading,
// a close during the count, and a test without the game.
#include "capture/screen_capture_win.h"
#include "config/capture_preview.h"
#include "tests/e2e/e2e_fixture.h"
#include "tools/demogame/figure_image.h"

#include <algorithm>
#include <string>
#include <vector>

namespace qv::e2e {
namespace {

constexpr wchar_t kTestButton[] = L"テスト";
constexpr wchar_t kRecordStart[] = L"Capture Test･･･ ";
constexpr int kPictureIds[] = {109, 110}; // picCapture(0) and (1)
constexpr Millis kCountWait{16000};

// Whether a control's client area shows the colour on screen.
bool Shows(HWND control, Pixel colour) {
    RECT r{};
    GetClientRect(control, &r);
    MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&r), 2);
    PixelArray pixels;
    CaptureWindowPixels(GetDesktopWindow(),
                        CaptureRegion{r.left, r.top, r.right - r.left, r.bottom - r.top}, pixels);
    const Pixel* begin = pixels.Data();
    const Pixel* end = begin + static_cast<std::size_t>(pixels.Width()) * pixels.Height();
    return std::any_of(begin, end, [&](Pixel p) { return (p & 0xFFFFFF) == colour; });
}

class OptionCaptureTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        // The demo settings (measuring every second from the start), with region 1 around the
        // game's EXP bar.
        ASSERT_TRUE(WriteFileBytes(File(kConfigFile),
                                   AnsiBytes(L"450,562,140,25, a\r\n463,570,90,9, b\r\nTrue, c\r\n"
                                             L"1, d\r\nFalse, e\r\n0, f\r\n\r\n")));
    }

    std::vector<std::wstring> TestRecords() const {
        std::vector<std::wstring> found;
        for (const auto& m : Messages()) {
            if (m.starts_with(kRecordStart)) {
                found.push_back(m.substr(std::wstring_view(kRecordStart).size()));
            }
        }
        return found;
    }

    int MemoryRecords() const {
        const auto m = Messages();
        return static_cast<int>(std::count_if(m.begin(), m.end(), [](const std::wstring& s) {
            return s.starts_with(kMemoryRecordStart);
        }));
    }
};

TEST_F(OptionCaptureTest, CountsDownShowsBothRegionsCancelsOnCloseAndMissesTheGame) {
    HWND game = StartGame(L"--exp 1234567");
    ASSERT_NE(game, nullptr);
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    HWND options = OpenOptions(main);
    ASSERT_NE(options, nullptr);
    HWND button = FindChildByText(options, kTestButton);
    HWND pictures[] = {FindChildById(options, kPictureIds[0]),
                       FindChildById(options, kPictureIds[1])};
    ASSERT_TRUE(button != nullptr && pictures[0] != nullptr && pictures[1] != nullptr);

    // The count: the button shows 10 … 1 while disabled, and the measurement goes on.
    PostMessageW(button, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(button) == FALSE; }));
    ASSERT_TRUE(BringToFront(game));
    const int readsBefore = MemoryRecords();
    // The numbers seen while it counts (a text read as it changes is left out).
    std::vector<std::wstring> shown;
    ASSERT_TRUE(WaitUntil(
        [&] {
            const bool enabled = IsWindowEnabled(button) != FALSE;
            const std::wstring text = WindowText(button);
            const bool number = !text.empty() && text.find_first_not_of(L"0123456789") == text.npos;
            if (number && (shown.empty() || shown.back() != text)) {
                shown.push_back(text);
            }
            return enabled;
        },
        kCountWait));
    const std::vector<std::wstring> expected = {L"10", L"9", L"8", L"7", L"6",
                                                L"5",  L"4", L"3", L"2", L"1"};
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(WindowText(button), kTestButton);
    // Opening the dialog took the front from the game, which puts the next reading off by 10 s.
    EXPECT_GE(MemoryRecords() - readsBefore, 1) << "the measurement stood still during the count";

    // Region 2 read by the recognizer, both regions drawn on the dark background.
    ASSERT_TRUE(WaitUntil([&] { return !WindowText(pictures[1]).empty(); }));
    EXPECT_EQ(WindowText(pictures[1]), L"読取: 1234567 82.30%");
    EXPECT_EQ(WindowText(pictures[0]), L"");
    EXPECT_TRUE(WaitForLineEnding(File(kDebugLog), L"Capture Test･･･ 読取: 1234567 82.30%"));
    ASSERT_TRUE(BringToFront(options)); // the game was put over it for the count
    EXPECT_TRUE(WaitUntil([&] {
        return Shows(pictures[0], kPreviewBackground) && Shows(pictures[1], kPreviewBackground) &&
               Shows(pictures[0], demo::kBackground); // region 1 reaches past the EXP bar
    })) << "the boxes do not show the dark background and the game's pixels";
    PauseForScreenshot(options);

    // A close during the count cancels the test.
    PostMessageW(button, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(button) == FALSE; }));
    ASSERT_TRUE(RequestClose(options));
    ASSERT_TRUE(WaitWindowGone(options));

    // Without the game both boxes say so, and only the two finished tests were recorded.
    ASSERT_EQ(ChooseMenu(main, {L"停止"}), MenuResult::Chosen);
    ASSERT_TRUE(RequestClose(game));
    ASSERT_TRUE(WaitWindowGone(game));
    options = OpenOptions(main);
    ASSERT_NE(options, nullptr);
    button = FindChildByText(options, kTestButton);
    ASSERT_NE(button, nullptr) << "the rebuilt dialog's button is not back to its caption";
    EXPECT_NE(IsWindowEnabled(button), FALSE);
    PostMessageW(button, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil(
        [&] { return WindowText(FindChildById(options, kPictureIds[1])) == kGameMissingText; },
        kCountWait));
    EXPECT_EQ(WindowText(FindChildById(options, kPictureIds[0])), kGameMissingText);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(button) != FALSE; }));
    EXPECT_EQ(TestRecords(),
              (std::vector<std::wstring>{L"読取: 1234567 82.30%", kGameMissingText}));

    ASSERT_TRUE(RequestClose(main));
}

} // namespace
} // namespace qv::e2e

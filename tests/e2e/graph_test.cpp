// "グラフ" during a demo measurement: the graph window opens beside the game, on its own,
// follows the readings (a fall gets its mark) and only hides when closed.
#include "capture/screen_capture_win.h"
#include "tests/e2e/e2e_fixture.h"

namespace qv::e2e {
namespace {

constexpr wchar_t kGraphTitle[] = L"EXPグラフ";
constexpr Pixel kFallColour = 0xDC2828; // the fall marks' red
constexpr Millis kReadingWait{14000};

int PixelsOfColour(HWND hwnd, Pixel colour) {
    RECT client{};
    GetClientRect(hwnd, &client);
    PixelArray pixels;
    if (CaptureWindowPixels(hwnd, CaptureRegion{0, 0, client.right, client.bottom}, pixels) == 0) {
        return -1;
    }
    int count = 0;
    for (int y = 0; y < pixels.Height(); ++y) {
        for (int x = 0; x < pixels.Width(); ++x) {
            count += (pixels.At(x, y) & 0xFFFFFF) == colour;
        }
    }
    return count;
}

std::vector<std::wstring> MenuBarCaptions(HWND main) {
    std::vector<std::wstring> captions;
    for (const auto& item : MenuItems(main).value_or(std::vector<MenuItemState>{})) {
        captions.push_back(item.caption);
    }
    return captions;
}

TEST_F(ProgramTest, GraphMenuOpensTheGraphWhichFollowsTheMeasurement) {
    ASSERT_TRUE(
        folder_.CopyIn(WindowsPathFromUnix(QV_SOURCE_DIR) + L"\\tools\\demo\\QvanConfig.ini"));
    HWND game = StartGame(L"--exp 1234567 --pos 300 0");
    ASSERT_NE(game, nullptr);
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    const DWORD pid = processes_.back().Id();
    ASSERT_TRUE(BringToFront(game));
    ASSERT_TRUE(WaitForLineEnding(File(kDebugLog), L"Fast ImageRecognition", kReadingWait));

    const std::vector<std::wstring> bar{L"ファイル", L"設定",   L"ロギング", L"停止",
                                        L"一時停止", L"グラフ", L"ヘルプ"};
    EXPECT_EQ(MenuBarCaptions(main), bar);
    ASSERT_EQ(ChooseMenu(main, {L"グラフ"}), MenuResult::Chosen);
    HWND graph = FindTopWindow(kGraphTitle, kDefaultWait, pid);
    ASSERT_NE(graph, nullptr);
    EXPECT_TRUE(IsWindowVisible(graph));
    EXPECT_EQ(GetWindow(graph, GW_OWNER), nullptr) << "owned by nobody";
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == graph; }, Millis(2000)));

    // Beside the game, clear of it, and the game back in front for the captures.
    SetWindowPos(graph, nullptr, 0, 640, 600, 340, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(BringToFront(game));
    EXPECT_EQ(PixelsOfColour(graph, kFallColour), 0) << "no fall yet";
    ASSERT_TRUE(SetDemoFigure(game, 5000));
    ASSERT_TRUE(WaitForLineEnding(File(kDebugLog), L"Print Screen･･･End ", kReadingWait));
    EXPECT_TRUE(WaitUntil([&] { return PixelsOfColour(graph, kFallColour) > 50; }, Millis(4000)))
        << "the fall's mark never showed";

    // Closing hides it; the menu brings the same window back.
    ASSERT_TRUE(RequestClose(graph));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(graph); }, Millis(2000)));
    EXPECT_TRUE(IsWindow(graph));
    ASSERT_EQ(ChooseMenu(main, {L"グラフ"}), MenuResult::Chosen);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(graph) != FALSE; }, Millis(2000)));

    CloseProgram(main, processes_.back());
}

} // namespace
} // namespace qv::e2e

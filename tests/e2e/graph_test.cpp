// "表示" during a demo measurement: the graph window opens beside the game, on its own, follows
// the readings (a fall gets its mark) and only hides when closed; "ミニ表示" stays over the game.
#include "capture/screen_capture_win.h"
#include "tests/e2e/e2e_fixture.h"

namespace qv::e2e {
namespace {

constexpr wchar_t kGraphTitle[] = L"EXPグラフ";
constexpr Pixel kFallColour = 0xDC2828; // the fall marks' red
constexpr Millis kReadingWait{14000};
constexpr wchar_t kMiniTitle[] = L"Quorvane";
// Region 2 of the demo settings, in the game's client coordinates.
constexpr RECT kRegion2{463, 570, 463 + 90, 570 + 9};

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

// The demo game showing 1234567 beside the program, which has read it once.
class ViewTest : public ProgramTest {
  protected:
    void MeasureTheDemo() {
        ASSERT_TRUE(
            folder_.CopyIn(WindowsPathFromUnix(QV_SOURCE_DIR) + L"\\tools\\demo\\QvanConfig.ini"));
        game = StartGame(L"--exp 1234567 --pos 300 0");
        ASSERT_NE(game, nullptr);
        main = Start();
        ASSERT_NE(main, nullptr);
        pid = processes_.back().Id();
        ASSERT_TRUE(BringToFront(game));
        ASSERT_TRUE(WaitForLineEnding(File(kDebugLog), L"Fast ImageRecognition", kReadingWait));
    }

    HWND game = nullptr, main = nullptr;
    DWORD pid = 0;
};

TEST_F(ViewTest, GraphMenuOpensTheGraphWhichFollowsTheMeasurement) {
    ASSERT_NO_FATAL_FAILURE(MeasureTheDemo());

    const std::vector<std::wstring> bar{L"ファイル", L"設定", L"ロギング", L"停止",
                                        L"一時停止", L"表示", L"ヘルプ"};
    EXPECT_EQ(MenuBarCaptions(main), bar);
    ASSERT_EQ(ChooseMenu(main, {L"表示", L"グラフ"}), MenuResult::Chosen);
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
    ASSERT_EQ(ChooseMenu(main, {L"表示", L"グラフ"}), MenuResult::Chosen);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(graph) != FALSE; }, Millis(2000)));

    CloseProgram(main, processes_.back());
}

RECT ClientOnScreen(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEST_F(ViewTest, MiniWindowStaysOverTheGameWithoutTakingTheFrontOrCoveringRegion2) {
    ASSERT_NO_FATAL_FAILURE(MeasureTheDemo());

    ASSERT_EQ(ChooseMenu(main, {L"表示", L"ミニ表示"}), MenuResult::Chosen);
    HWND mini = FindTopWindow(kMiniTitle, kDefaultWait, pid);
    ASSERT_NE(mini, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(mini) != FALSE; }, Millis(2000)));
    const LONG_PTR exStyle = GetWindowLongPtrW(mini, GWL_EXSTYLE);
    EXPECT_NE(exStyle & WS_EX_TOPMOST, 0);
    EXPECT_NE(exStyle & WS_EX_TOOLWINDOW, 0) << "no taskbar button";
    EXPECT_EQ(GetWindow(mini, GW_OWNER), nullptr);
    const RECT client = ClientOnScreen(game);
    EXPECT_EQ(RectOf(mini).right, client.right);
    EXPECT_EQ(RectOf(mini).top, client.top);

    ASSERT_TRUE(SetDemoFigure(game, 1240000));
    // The figure follows its heading, as a screen reader reads the window.
    HWND increase = GetWindow(FindChildByText(mini, L"増加量"), GW_HWNDNEXT);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(increase) == L"5433"; }, kReadingWait));
    PauseForScreenshot(game);

    // A click on the button pauses the measurement and leaves the game in front; a second one
    // resumes it.
    ASSERT_TRUE(BringToFront(game));
    HWND pause = FindChildByText(mini, L"一時停止");
    ASSERT_NE(pause, nullptr);
    const auto click = [&] {
        MouseAt(CentreOf(pause), MOUSEEVENTF_LEFTDOWN);
        MouseAt(CentreOf(pause), MOUSEEVENTF_LEFTUP);
    };
    click();
    EXPECT_TRUE(WaitForLineEnding(File(kDebugLog), L"Loging Pause･･･ ", kReadingWait));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(pause) == L"再開"; }, Millis(2000)));
    EXPECT_FALSE(WaitUntil([&] { return GetForegroundWindow() != game; }, Millis(1000)));
    click();
    EXPECT_TRUE(WaitForLineEnding(File(kDebugLog), L"Loging Resume･･･ ", kReadingWait));

    // Dragged by its caption over region 2, it ends with its bottom 4 px above the region.
    const RECT from = RectOf(mini);
    const POINT grab{from.left + 30, (from.top + ClientOnScreen(mini).top) / 2};
    const POINT drop{client.left + kRegion2.left, grab.y + client.top + kRegion2.top - from.top};
    MouseAt(grab, MOUSEEVENTF_LEFTDOWN);
    MouseAt({(grab.x + drop.x) / 2, (grab.y + drop.y) / 2}, 0);
    MouseAt(drop, 0);
    MouseAt(drop, MOUSEEVENTF_LEFTUP);
    const int regionTop = client.top + kRegion2.top;
    EXPECT_TRUE(WaitUntil([&] { return RectOf(mini).bottom == regionTop - 4; }, Millis(2000)))
        << "bottom " << RectOf(mini).bottom << ", region's top " << regionTop;
    EXPECT_EQ(RectOf(mini).left, drop.x - 30) << "moved along with the mouse";
    EXPECT_EQ(GetForegroundWindow(), game);

    ASSERT_TRUE(RequestClose(mini));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(mini); }, Millis(2000)));
    EXPECT_TRUE(IsWindow(mini));
    CloseProgram(main, processes_.back());
}

} // namespace
} // namespace qv::e2e

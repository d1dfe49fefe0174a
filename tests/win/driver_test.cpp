// The end-to-end driver against the demo game: finding windows, reading and setting the
// figure, and, most of all, choosing menu items by caption inside another process.
#include "capture/pixel_array.h"
#include "testkit/glyph_files.h"
#include "testkit/glyph_render.h"
#include "tools/demogame/demo_script.h"
#include "tools/driver/driver.h"

#include <gtest/gtest.h>

namespace {

using namespace qv::e2e;

// Copies a rectangle of a window's client area, as the program's capture does.
qv::PixelArray CaptureClient(HWND window, int x, int y, int width, int height) {
    qv::PixelArray pixels(width, height);
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, x, y, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.Data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    for (int py = 0; py < height; ++py) {
        for (int px = 0; px < width; ++px) {
            pixels.At(px, py) &= 0xFFFFFF; // the fourth byte is not part of the colour
        }
    }
    return pixels;
}

class DemoGameDriverTest : public ::testing::Test {
  protected:
    void StartGame(std::wstring_view args) {
        ASSERT_TRUE(folder_.ok());
        ASSERT_TRUE(folder_.CopyIn(JoinPath(ExeDirectory(), L"DemoGame.exe")));
        auto process = Process::Launch(folder_.File(L"DemoGame.exe"), args);
        ASSERT_TRUE(process);
        game_.emplace(std::move(*process));
        window_ = FindTopWindow(qv::kGameTitle, kDefaultWait, game_->Id());
        ASSERT_NE(window_, nullptr);
    }

    RunFolder folder_;
    std::optional<Process> game_;
    HWND window_ = nullptr;
};

// The strip as the demo game draws it: the figure and the percent of its level.
qv::PixelArray DemoStrip(std::uint64_t figure, const qv::GlyphImageSet& glyphs, int scale = 1) {
    const std::string percent = qv::demo::PercentText(figure);
    qv::StripLayout layout;
    layout.scale = scale;
    layout.percent = percent;
    return qv::RenderExpStrip(std::to_string(figure), glyphs, layout);
}

TEST_F(DemoGameDriverTest, FigureFromCommandLineAndFromTheDriver) {
    StartGame(L"--exp 7654321");
    EXPECT_EQ(DemoFigure(window_), 7654321u);
    ASSERT_TRUE(SetDemoFigure(window_, 42));
    EXPECT_EQ(DemoFigure(window_), 42u);
    ASSERT_TRUE(RequestClose(window_));
    EXPECT_TRUE(game_->WaitForExit());
}

TEST_F(DemoGameDriverTest, PaintsTheFigureWithTheGlyphsAtTheCaptureRegion) {
    auto glyphs = qv::LoadGlyphImageSet(qv::GlyphFolder(QV_SOURCE_DIR), 1);
    ASSERT_TRUE(glyphs);
    StartGame(L"--exp 9081726 --pos 0 0");
    qv::PixelArray expected = DemoStrip(9081726, *glyphs);
    qv::PixelArray seen;
    for (int attempt = 0; attempt < 60 && seen != expected; ++attempt) {
        Sleep(50);
        seen = CaptureClient(window_, 463, 570, expected.Width(), expected.Height());
    }
    EXPECT_EQ(seen, expected);

    ASSERT_TRUE(SetDemoFigure(window_, 12));
    expected = DemoStrip(12, *glyphs);
    for (int attempt = 0; attempt < 60 && seen != expected; ++attempt) {
        Sleep(50);
        seen = CaptureClient(window_, 463, 570, expected.Width(), expected.Height());
    }
    EXPECT_EQ(seen, expected);
}

// --scale 2: the strip twice the size, from the same top-left corner.
TEST_F(DemoGameDriverTest, PaintsTheFigureEnlarged) {
    auto glyphs = qv::LoadGlyphImageSet(qv::GlyphFolder(QV_SOURCE_DIR), 1);
    ASSERT_TRUE(glyphs);
    StartGame(L"--exp 4053 --pos 0 0 --scale 2");
    const qv::PixelArray expected = DemoStrip(4053, *glyphs, 2);
    qv::PixelArray seen;
    for (int attempt = 0; attempt < 60 && seen != expected; ++attempt) {
        Sleep(50);
        seen = CaptureClient(window_, 463, 570, expected.Width(), expected.Height());
    }
    EXPECT_EQ(seen, expected);
}

TEST_F(DemoGameDriverTest, ChoosesCommandsOnTheBarAndInDropDowns) {
    StartGame(L"--menu --exp 5000");

    // A command on the bar itself.
    ASSERT_EQ(ChooseMenu(window_, {L"増加"}), MenuResult::Chosen);
    auto deadline = GetTickCount() + 3000;
    while (DemoFigure(window_) != 6000u && GetTickCount() < deadline) {
        Sleep(20);
    }
    EXPECT_EQ(DemoFigure(window_), 6000u);

    // A command in a drop-down; the mnemonic marker is not part of the caption.
    ASSERT_EQ(ChooseMenu(window_, {L"ファイル", L"リセット(R)"}), MenuResult::Chosen);
    deadline = GetTickCount() + 3000;
    while (DemoFigure(window_) != 0u && GetTickCount() < deadline) {
        Sleep(20);
    }
    EXPECT_EQ(DemoFigure(window_), 0u);

    // Exiting through the menu ends the process.
    ASSERT_EQ(ChooseMenu(window_, {L"ファイル", L"終了"}), MenuResult::Chosen);
    EXPECT_TRUE(game_->WaitForExit());
}

TEST_F(DemoGameDriverTest, RefusesWhatAUserCouldNotChoose) {
    StartGame(L"--menu");
    struct Case {
        MenuPath path;
        MenuResult expected;
    };
    const Case cases[] = {
        {{L"無効"}, MenuResult::Disabled},          {{L"ファイル"}, MenuResult::NotCommand},
        {{L"開始"}, MenuResult::NotFound},          {{L"ファイル", L"保存"}, MenuResult::NotFound},
        {{L"増加", L"何か"}, MenuResult::NotFound},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChooseMenu(window_, c.path), c.expected) << Utf8(c.path.back());
    }
    EXPECT_TRUE(IsWindow(window_));
}

TEST_F(DemoGameDriverTest, ReportsMenuStatesAsTheUserWouldSeeThem) {
    StartGame(L"--menu --exp 10");
    auto bar = MenuItems(window_);
    ASSERT_TRUE(bar);
    ASSERT_EQ(bar->size(), 3u);
    EXPECT_EQ((*bar)[0].caption, L"ファイル");
    EXPECT_TRUE((*bar)[0].hasSubmenu);
    EXPECT_EQ((*bar)[1].caption, L"増加");
    EXPECT_TRUE((*bar)[1].enabled);
    EXPECT_FALSE((*bar)[2].enabled);

    auto file = MenuItems(window_, {L"ファイル"});
    ASSERT_TRUE(file);
    ASSERT_EQ(file->size(), 3u);
    EXPECT_TRUE((*file)[1].separator);

    // "リセット" is greyed on opening the drop-down when the figure is already 0.
    auto reset = MenuItem(window_, {L"ファイル", L"リセット(R)"});
    ASSERT_TRUE(reset);
    EXPECT_TRUE(reset->enabled);
    ASSERT_TRUE(SetDemoFigure(window_, 0));
    reset = MenuItem(window_, {L"ファイル", L"リセット(R)"});
    ASSERT_TRUE(reset);
    EXPECT_FALSE(reset->enabled);
    EXPECT_EQ(ChooseMenu(window_, {L"ファイル", L"リセット(R)"}), MenuResult::Disabled);

    EXPECT_FALSE(MenuItem(window_, {L"ヘルプ"}));
}

TEST_F(DemoGameDriverTest, WindowWithoutMenu) {
    StartGame(L"");
    EXPECT_EQ(ChooseMenu(window_, {L"増加"}), MenuResult::NoMenu);
}

TEST(DemoScript, RisesUntilTheLevelsTotalAndDrawsItsShare) {
    using namespace qv::demo;
    std::uint64_t previous = ScriptedFigure(kDefaultFigure, 0);
    EXPECT_EQ(previous, kDefaultFigure);
    std::vector<unsigned> levelUps;
    for (unsigned step = 1; step < 100; ++step) {
        const std::uint64_t now = ScriptedFigure(kDefaultFigure, step);
        if (now < previous) {
            levelUps.push_back(step);
        }
        previous = now;
    }
    EXPECT_EQ(levelUps, (std::vector<unsigned>{5, 31, 58, 84}));
    EXPECT_EQ(PercentText(kDefaultFigure), "82,30%");
    EXPECT_EQ(PercentText(1499999), "99,99%"); // cut off, not rounded
    EXPECT_EQ(PercentText(12345), "0,82%");
    EXPECT_EQ(PercentText(1214595027), "80,97%");
}

TEST(DemoScript, CommandLine) {
    using namespace qv::demo;
    auto options = ParseOptions({L"--exp", L"99", L"--demo", L"--pos", L"10", L"20"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->figure, 99u);
    EXPECT_TRUE(options->scripted);
    EXPECT_FALSE(options->testMenu);
    EXPECT_EQ(options->x, 10);
    EXPECT_EQ(options->y, 20);
    EXPECT_FALSE(ParseOptions({L"--exp"}));
    EXPECT_FALSE(ParseOptions({L"--exp", L"-5"}));
    EXPECT_FALSE(ParseOptions({L"--speed"}));
    EXPECT_EQ(options->scale, 1);
    EXPECT_EQ(ParseOptions({L"--scale", L"3"})->scale, 3);
    EXPECT_FALSE(ParseOptions({L"--scale", L"4"}));
    EXPECT_FALSE(ParseOptions({L"--scale", L"0"}));
}

TEST(DriverText, SplitLinesAndPaths) {
    EXPECT_EQ(SplitLines(L"a\r\nb\r\n\r\nc"), (std::vector<std::wstring>{L"a", L"b", L"", L"c"}));
    EXPECT_EQ(SplitLines(L"a\r\n"), (std::vector<std::wstring>{L"a"}));
    EXPECT_TRUE(SplitLines(L"").empty());
    EXPECT_EQ(WindowsPathFromUnix("/work/main/build/"), L"Z:\\work\\main\\build");
}

} // namespace

// "数字を覚える" with the demo game drawing its EXP strip at twice the built-in size: nothing is
// read before; the digits of two figures that together hold every digit are learned from the
// options dialog's test (a mistyped entry refused on the way); the measurement reads with them,
// a restart keeps them, and "元に戻す" goes back to the built-in digits.
#include "tests/e2e/e2e_fixture.h"

namespace qv::e2e {
namespace {

constexpr wchar_t kLearnTitle[] = L"数字を覚える";
constexpr wchar_t kGlyphFile[] = L"QvanGlyphs.bmp";
constexpr int kExpPictureId = 110;   // picCapture(1)
constexpr int kCaptureLabelId = 115; // lblCapture(1), the EXP line's reading

class LearnDigitsTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        // Measuring every second from the start; region 2 is the twice-size strip.
        ASSERT_TRUE(WriteFileBytes(File(kConfigFile),
                                   AnsiBytes(L"450,562,140,25, a\r\n463,570,180,18, b\r\n"
                                             L"True, c\r\n1, d\r\nFalse, e\r\n0, f\r\n\r\n")));
    }

    // "テスト" with the game in front: region 2's box once the count is over.
    std::wstring TestCapture() {
        HWND button = FindChildByText(options_, L"テスト");
        PostMessageW(button, BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(button) == FALSE; }));
        EXPECT_TRUE(BringToFront(game_));
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(button) != FALSE; }, Millis(16000)));
        return WindowText(FindChildById(options_, kExpPictureId));
    }

    // "数字を覚える", and in its dialog the entry typed and a button pressed.
    HWND Learn(const wchar_t* digits, const wchar_t* button = L"覚える", bool screenshot = false) {
        PostMessageW(FindChildByText(options_, kLearnTitle), BM_CLICK, 0, 0);
        HWND dialog = VisibleTopWindow(kLearnTitle, ProcessOf(options_));
        SetWindowTextW(FindWindowExW(dialog, nullptr, L"Edit", nullptr), digits);
        if (screenshot) {
            PauseForScreenshot(dialog);
        }
        PostMessageW(FindChildByText(dialog, button), BM_CLICK, 0, 0);
        return dialog;
    }

    // The window's control shows the text (the EXP line after a capture put off by 10 s).
    bool Shows(HWND window, int id, std::wstring_view text) {
        HWND control = FindChildById(window, id);
        return WaitUntil([&] { return WindowText(control) == text; }, Millis(14000));
    }
    bool ExpLineShows(HWND main, std::wstring_view text) {
        return BringToFront(game_) && Shows(main, kCaptureLabelId, text);
    }

    HWND game_ = nullptr;
    HWND options_ = nullptr;
};

TEST_F(LearnDigitsTest, LearnsTwoFiguresReadsWithThemAfterARestartAndGoesBack) {
    game_ = StartGame(L"--scale 2 --exp 1234567");
    ASSERT_NE(game_, nullptr);
    Process* program = Launch();
    ASSERT_NE(program, nullptr);
    HWND main = WaitUntilReady(*program);
    ASSERT_NE(main, nullptr);
    options_ = OpenOptions(main);
    ASSERT_NE(options_, nullptr);
    EXPECT_EQ(IsWindowEnabled(FindChildByText(options_, kLearnTitle)), FALSE);

    // The built-in digits cannot read the strip; the first figure is learned from the test.
    EXPECT_EQ(TestCapture(), L"認識NG");
    ASSERT_TRUE(WaitWindowGone(Learn(L"1234567", L"覚える", true)));
    EXPECT_TRUE(Shows(options_, kExpPictureId, L"読取: 1234567"));
    EXPECT_TRUE(Exists(kGlyphFile));
    PauseForScreenshot(options_);

    // The second figure brings 8, 9 and 0; an entry that calls a learned 4 a 5 is refused first.
    ASSERT_TRUE(SetDemoFigure(game_, 8901234));
    TestCapture();
    HWND dialog = Learn(L"8901235");
    const auto refusal = WaitForMessageBox(L"エラー", kDefaultWait, program->Id());
    ASSERT_TRUE(refusal.has_value());
    EXPECT_TRUE(refusal->text.starts_with(L"覚えられませんでした。")) << Utf8(refusal->text);
    ASSERT_TRUE(PressButton(refusal->hwnd));
    SetWindowTextW(FindWindowExW(dialog, nullptr, L"Edit", nullptr), L"8901234");
    PostMessageW(FindChildByText(dialog, L"覚える"), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitWindowGone(dialog));
    EXPECT_TRUE(Shows(options_, kExpPictureId, L"読取: 8901234 59.34%"));

    // The measurement reads with them, and so does the next run.
    EXPECT_TRUE(ExpLineShows(main, L"8901234"));
    ASSERT_NO_FATAL_FAILURE(CloseProgram(main, *program));
    program = Launch();
    ASSERT_NE(program, nullptr);
    main = WaitUntilReady(*program); // no message about the file held it up
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(ExpLineShows(main, L"8901234"));

    // "元に戻す": the file goes and the built-in digits read again.
    options_ = OpenOptions(main);
    ASSERT_NE(options_, nullptr);
    EXPECT_EQ(TestCapture(), L"読取: 8901234 59.34%");
    ASSERT_TRUE(WaitWindowGone(Learn(L"", L"元に戻す")));
    EXPECT_TRUE(Shows(options_, kExpPictureId, L"元の数字に戻しました"));
    EXPECT_FALSE(Exists(kGlyphFile));
    EXPECT_TRUE(ExpLineShows(main, L"認識NG"));
    CloseProgram(main, *program);
}

} // namespace
} // namespace qv::e2e

// The remaining commands as a user meets them: the delayed screen print of the window in
// front, the version dialog, and the popup that will not be closed.
#include "capture/bmp_file.h"
#include "services/about_info.h"
#include "tests/e2e/e2e_fixture.h"

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace qv::e2e {
namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr wchar_t kPopupClass[] = L"QuorvaneFormPopup";
constexpr wchar_t kVersionTitle[] = L"バージョン情報";

// "PrtScr_" + 14 digits + ".bmp".
bool IsScreenPrintName(std::wstring_view name) {
    constexpr std::wstring_view prefix = L"PrtScr_", suffix = L".bmp";
    if (name.size() != prefix.size() + 14 + suffix.size() || !name.starts_with(prefix) ||
        !name.ends_with(suffix)) {
        return false;
    }
    for (wchar_t c : name.substr(prefix.size(), 14)) {
        if (c < L'0' || c > L'9') {
            return false;
        }
    }
    return true;
}

bool Contains(const std::vector<std::wstring>& texts, std::wstring_view text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

using CommandTest = ProgramTest;

TEST_F(CommandTest, ScreenPrintSavesTheWindowBroughtToTheFrontDuringItsWait) {
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    HWND game = StartGame();
    ASSERT_NE(game, nullptr);
    ASSERT_TRUE(BringToFront(main));

    const auto chosen = SteadyClock::now();
    ASSERT_EQ(ChooseMenu(main, {L"ファイル", L"プリントスクリーン"}), MenuResult::Chosen);
    Sleep(1000);
    ASSERT_TRUE(BringToFront(game));
    RECT gameRect{};
    GetWindowRect(game, &gameRect);

    ASSERT_TRUE(WaitForLineEnding(File(kDebugLog), L"Print Screen･･･End ", Millis(20000)));
    EXPECT_GE(SteadyClock::now() - chosen, std::chrono::milliseconds(9500));
    const std::vector<std::wstring> prints = Files(L"PrtScr_*.bmp");
    ASSERT_EQ(prints.size(), 1u);
    EXPECT_TRUE(IsScreenPrintName(prints[0])) << Utf8(prints[0]);
    const auto picture = ReadBmpFile(std::filesystem::path(File(prints[0])));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Width(), gameRect.right - gameRect.left);
    EXPECT_EQ(picture->Height(), gameRect.bottom - gameRect.top);
    // The main window comes back to the front afterwards.
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main; }, Millis(2000)));

    CloseProgram(main, processes_.front());
}

TEST_F(CommandTest, ScreenPrintItemIsDisabledWhileAPrintWaits) {
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    const MenuPath item{L"ファイル", L"プリントスクリーン"};
    ASSERT_EQ(ChooseMenu(main, item), MenuResult::Chosen);
    ASSERT_TRUE(WaitUntil(
        [&] {
            const auto state = MenuItem(main, item);
            return state && !state->enabled;
        },
        Millis(3000)));
    EXPECT_EQ(ChooseMenu(main, item), MenuResult::Disabled);

    ASSERT_TRUE(WaitForLineEnding(File(kDebugLog), L"Print Screen･･･End ", Millis(20000)));
    EXPECT_TRUE(WaitUntil(
        [&] {
            const auto state = MenuItem(main, item);
            return state && state->enabled;
        },
        Millis(3000)));
    EXPECT_EQ(Files(L"PrtScr_*").size(), 1u);
    CloseProgram(main, processes_.front());
}

TEST_F(CommandTest, ScreenPrintThatCannotBeSavedShowsAnErrorBox) {
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    // A folder under every name the print can take when its wait ends: the save cannot write.
    for (int s = 8; s <= 20; ++s) {
        ASSERT_TRUE(
            CreateDirectoryW(File(L"PrtScr_" + LocalStampIn(s) + L".bmp").c_str(), nullptr));
    }
    ASSERT_EQ(ChooseMenu(main, {L"ファイル", L"プリントスクリーン"}), MenuResult::Chosen);
    const auto box = WaitForMessageBox(L"エラー", Millis(20000), processes_.back().Id());
    ASSERT_TRUE(box.has_value());
    EXPECT_TRUE(box->text.starts_with(L"画像を保存できませんでした。")) << Utf8(box->text);
    const std::size_t name = box->text.find(L"PrtScr_");
    ASSERT_NE(name, std::wstring::npos) << Utf8(box->text);
    EXPECT_TRUE(IsScreenPrintName(box->text.substr(name))) << Utf8(box->text);
    // The program goes on behind the box.
    EXPECT_TRUE(WaitForLineEnding(File(kDebugLog), L"Print Screen･･･End ", Millis(5000)));
    EXPECT_TRUE(PressButton(box->hwnd));
    CloseProgram(main, processes_.front());
}

TEST_F(CommandTest, VersionDialogShowsTheVersionAndClosesWithItsCloseBox) {
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    const DWORD pid = processes_.back().Id();
    for (int opening = 1; opening <= 2; ++opening) {
        SCOPED_TRACE("opening " + std::to_string(opening));
        ASSERT_EQ(ChooseMenu(main, {L"ヘルプ", L"バージョン情報..."}), MenuResult::Chosen);
        HWND dialog = FindTopWindow(kVersionTitle, kDefaultWait, pid);
        ASSERT_NE(dialog, nullptr);
        const auto texts = ChildTexts(dialog);
        EXPECT_TRUE(Contains(texts, kProgramVersion));
        EXPECT_TRUE(Contains(texts, kVersionDialogName));
        EXPECT_FALSE(IsWindowEnabled(main)) << "the dialog is modal";

        PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_TRUE(WaitWindowGone(dialog));
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, Millis(2000)));
    }
    CloseProgram(main, processes_.front());
}

class PopupTest : public ProgramTest {
  protected:
    // Every scenario opens the same way: auto-start with a capture every second and no game,
    // so the popup comes up at once.
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_TRUE(
            folder_.CopyIn(WindowsPathFromUnix(QV_SOURCE_DIR) + L"\\tools\\demo\\QvanConfig.ini"));
        main_ = Start();
        ASSERT_NE(main_, nullptr);
        const DWORD pid = processes_.back().Id();
        WaitUntil(
            [&] {
                for (const auto& w : TopLevelWindows(pid)) {
                    if (w.className == kPopupClass && w.visible && w.text == L"エラー") {
                        popup_ = w.hwnd;
                    }
                }
                return popup_ != nullptr && Message(popup_) == kGameMissingText;
            },
            kDefaultWait);
        ASSERT_NE(popup_, nullptr) << "no popup";
    }

    static std::wstring Message(HWND popup) {
        const auto texts = ChildTexts(popup);
        return texts.empty() ? L"" : texts.front();
    }

    HWND main_ = nullptr;
    HWND popup_ = nullptr;
};

TEST_F(PopupTest, UserCloseIsRefusedAndAnsweredThenTheMessageReturns) {
    const std::wstring answers[] = {L"閉じないでください。",
                                    QV_GAME_TITLE L"を起動すれば勝手に閉じますよ"};
    for (const std::wstring& answer : answers) {
        SCOPED_TRACE(Utf8(answer));
        PostMessageW(popup_, WM_SYSCOMMAND, SC_CLOSE, 0);
        ASSERT_TRUE(WaitUntil([&] { return Message(popup_) == answer; }, Millis(2000)));
        const auto shown = SteadyClock::now();
        ASSERT_TRUE(WaitUntil([&] { return Message(popup_) == kGameMissingText; }, Millis(4000)));
        const auto held = SteadyClock::now() - shown;
        EXPECT_GE(held, std::chrono::milliseconds(800));
        EXPECT_LE(held, std::chrono::milliseconds(2500));
        EXPECT_TRUE(IsWindow(popup_) && IsWindowVisible(popup_));
    }
    CloseProgram(main_, processes_.front());
}

TEST_F(PopupTest, StaysVisibleOnItsOwnWhenTheMainWindowIsMinimised) {
    EXPECT_EQ(GetWindow(popup_, GW_OWNER), nullptr);
    EXPECT_NE(GetWindowLongPtrW(popup_, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0) << "no taskbar button";
    PostMessageW(main_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(main_) != FALSE; }));
    Sleep(1500); // some capture ticks
    EXPECT_TRUE(IsWindowVisible(popup_));
    EXPECT_FALSE(IsIconic(popup_));
    CloseProgram(main_, processes_.front());
}

TEST_F(PopupTest, ClosingTheProgramDuringAnAnswerEndsItCleanly) {
    PostMessageW(popup_, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(
        WaitUntil([&] { return Message(popup_) == L"閉じないでください。"; }, Millis(2000)));
    ASSERT_TRUE(RequestClose(main_));
    ASSERT_TRUE(processes_.front().WaitForExit());
    EXPECT_EQ(processes_.front().ExitCode(), 0u);
    const auto messages = Messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), L"End of the Program");
}

} // namespace
} // namespace qv::e2e

// The options dialog and the numeric input dialog in-process, driven the way a user would:
// mouse messages on the value labels, button clicks, typed characters and message boxes.
// The input dialog and the message boxes are modal, so the steps run from a thread timer,
// which every message loop of this thread (the modal ones too) dispatches.
#include "base/ansi_text.h"
#include "config/form_input_check_win.h"
#include "config/form_option_win.h"
#include "tests/common/config_texts.h"
#include "tests/win/fixed_log_host.h"
#include "tests/win/timer_script.h"
#include "win/message_pump_win.h"

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr wchar_t kDialogClass[] = L"#32770";

std::wstring TextOf(HWND hwnd) {
    wchar_t buffer[512] = {};
    GetWindowTextW(hwnd, buffer, 512);
    return buffer;
}

HWND VisibleDialog(const wchar_t* title) {
    HWND found = FindWindowW(kDialogClass, title);
    return found != nullptr && IsWindowVisible(found) ? found : nullptr;
}

HWND ChildByText(HWND parent, const wchar_t* cls, const wchar_t* text) {
    return FindWindowExW(parent, nullptr, cls, text);
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

RECT ClientRectOf(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The child whose top-left corner lies at (x, y) of the dialog's client area.
HWND ChildAt(HWND dialog, int x, int y, DWORD requiredStyle = 0) {
    for (HWND child : Children(dialog)) {
        const RECT r = ClientRectOf(child);
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
        if (r.left == x && r.top == y && (style & requiredStyle) == requiredStyle) {
            return child;
        }
    }
    return nullptr;
}

bool HasStaticText(HWND dialog, const std::wstring& text) {
    for (HWND child : Children(dialog)) {
        if (TextOf(child) == text) {
            return true;
        }
    }
    return false;
}

// A user's click: the label hears the button go down and up.
void Click(HWND control) {
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
}

void PressButton(HWND dialog, const wchar_t* caption) {
    HWND button = ChildByText(dialog, L"Button", caption);
    ASSERT_NE(button, nullptr) << "no button " << caption;
    PostMessageW(button, BM_CLICK, 0, 0);
}

// Closes whatever a failed script left open so that the test can end.
void CloseLeftoverInputWindows() {
    for (const wchar_t* title : {L"入力チェック", L"入力エラー"}) {
        if (HWND box = VisibleDialog(title)) {
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    }
    if (HWND input = VisibleDialog(L"設定値入力")) {
        PostMessageW(input, WM_CLOSE, 0, 0);
    }
}

using Script = qv::TimerScript;

using qv::FixedHost;

class RecordingSink : public qv::MessageSink {
  public:
    void ShowMessage(std::wstring_view text, std::wstring_view) override {
        shown.emplace_back(text);
    }
    std::vector<std::wstring> shown;
};

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class OptionsDialog : public ::testing::Test {
  protected:
    OptionsDialog()
        : folder_(MakeFolder()), log_(folder_, host_, host_, sink_),
          form_(qv::OptionDialogServices{settings_, folder_, sink_, log_, [this] { ++layouts_; },
                                         [this] { ++bufferResizes_; },
                                         [this] { ++intervalChanges_; },
                                         [this] { ++mainToFront_; }},
                qv::CaptureTestServices{glyphs_, [] { return HWND{}; }, L"no game"}, {}) {}

    ~OptionsDialog() override {
        if (form_.Handle() != nullptr) {
            DestroyWindow(form_.Handle());
        }
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    static fs::path MakeFolder() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        fs::path folder = fs::path(temp) / (L"qv-options-" + std::to_wstring(stamp));
        fs::create_directories(folder);
        return folder;
    }

    bool Run(std::vector<Script::Step> steps) {
        Script script;
        return script.Run(
            std::move(steps), [&] { script.PumpUntilDone(); }, CloseLeftoverInputWindows);
    }

    HWND Dialog() const { return form_.Handle(); }
    // Value labels by their designed place (pixels at 96 dpi).
    HWND IntervalLabel() const { return ChildAt(Dialog(), 141, 14, SS_NOTIFY); }
    HWND StartDelayLabel() const { return ChildAt(Dialog(), 290, 46, SS_NOTIFY); }
    HWND RegionXLabel(int i) const { return ChildAt(Dialog(), 160, 154 + 88 * i, SS_NOTIFY); }
    HWND RegionHeightLabel(int i) const { return ChildAt(Dialog(), 243, 186 + 88 * i, SS_NOTIFY); }

    // Step: a click on a value label (the dialog is shown).
    static Script::Step ClickOn(HWND label) {
        return [label] {
            Click(label);
            return true;
        };
    }
    // Step: wait for the input dialog, then act on it.
    static Script::Step OnInput(std::function<void(HWND input)> act) {
        return [act] {
            HWND input = VisibleDialog(L"設定値入力");
            if (input == nullptr) {
                return false;
            }
            act(input);
            return true;
        };
    }
    // Step: wait for the input dialog, then type `entry` and press `button`.
    static Script::Step Enter(const std::wstring& entry, const wchar_t* button) {
        return OnInput([entry, button](HWND input) {
            SetWindowTextW(FindWindowExW(input, nullptr, L"Edit", nullptr), entry.c_str());
            PressButton(input, button);
        });
    }
    static Script::Step InputClosed() {
        return [] { return VisibleDialog(L"設定値入力") == nullptr; };
    }
    // Waits for a message box, checks its text and confirms it.
    static Script::Step ConfirmMessage(const wchar_t* title, const std::wstring& text) {
        return [title, text] {
            HWND box = VisibleDialog(title);
            if (box == nullptr) {
                return false;
            }
            EXPECT_TRUE(HasStaticText(box, text)) << "message box " << title;
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            return true;
        };
    }

    fs::path folder_;
    qv::Settings settings_ = qv::DefaultSettings();
    qv::GlyphPatternTable glyphs_;
    FixedHost host_;
    RecordingSink sink_;
    qv::DebugLog log_;
    int layouts_ = 0, bufferResizes_ = 0, intervalChanges_ = 0, mainToFront_ = 0;
    qv::FormOption form_;
};

TEST_F(OptionsDialog, ShowsEveryControlAtItsPlace) {
    ASSERT_TRUE(form_.Show(nullptr));
    EXPECT_EQ(TextOf(Dialog()), L"オプション");
    RECT client{};
    GetClientRect(Dialog(), &client);
    EXPECT_EQ(client.right, 537);
    EXPECT_EQ(client.bottom, 340);
    struct Placed {
        const wchar_t* cls;
        const wchar_t* text;
        int x, y, w, h;
    };
    const Placed designed[] = {
        {L"Button", L"キャプチャ時に音をならす", 208, 8, 177, 21},
        {L"Button", L"保 存", 400, 8, 57, 29},
        {L"Button", L"戻 る", 472, 8, 57, 29},
        {L"Button", L"起動と同時にロギング開始", 16, 42, 177, 21},
        {L"Button", L"デバッグモード(遅くなります)", 16, 80, 105, 25},
        {L"Button", L"テスト", 312, 136, 65, 29},
        {L"Button", L"数字を覚える", 312, 300, 97, 29},
        {L"Button", L"自動で探す", 417, 300, 97, 29},
        {L"Static", L"キャプチャ周期", 16, 14, 84, 13},
        {L"Static", L"遅延時間", 208, 46, 48, 13},
    };
    for (const Placed& p : designed) {
        HWND control = ChildByText(Dialog(), p.cls, p.text);
        ASSERT_NE(control, nullptr) << p.text;
        const RECT r = ClientRectOf(control);
        EXPECT_EQ(r.left, p.x) << p.text;
        EXPECT_EQ(r.top, p.y) << p.text;
        EXPECT_EQ(r.right - r.left, p.w) << p.text;
        EXPECT_EQ(r.bottom - r.top, p.h) << p.text;
    }
    for (int i = 0; i < 2; ++i) {
        EXPECT_NE(ChildAt(Dialog(), 16, 132 + 88 * i), nullptr) << "group title " << i;
    }
    ASSERT_NE(IntervalLabel(), nullptr);
    EXPECT_EQ(TextOf(IntervalLabel()), L"20");
    EXPECT_EQ(TextOf(StartDelayLabel()), L"15");
    EXPECT_EQ(TextOf(RegionXLabel(0)), L"1");
    EXPECT_EQ(TextOf(RegionXLabel(1)), L"463");
    EXPECT_EQ(TextOf(RegionHeightLabel(1)), L"9");
    EXPECT_EQ(TextOf(ChildAt(Dialog(), 240, 242, SS_NOTIFY)), L"570");
    EXPECT_EQ(TextOf(ChildAt(Dialog(), 160, 274, SS_NOTIFY)), L"90");
}

TEST_F(OptionsDialog, AcceptedValueShowsAtOnceAndResetsTheTimerPeriod) {
    ASSERT_TRUE(form_.Show(nullptr));
    ASSERT_TRUE(Run({
        ClickOn(IntervalLabel()),
        OnInput([&](HWND input) {
            EXPECT_TRUE(HasStaticText(input, L"キャプチャー周期を入力してください"));
            EXPECT_TRUE(HasStaticText(input, L"1"));
            EXPECT_TRUE(HasStaticText(input, L"3600"));
            EXPECT_EQ(TextOf(FindWindowExW(input, nullptr, L"Edit", nullptr)), L"20");
            EXPECT_FALSE(IsWindowEnabled(Dialog())) << "the caller waits while the input is up";
        }),
        Enter(L"25", L"決 定"),
        InputClosed(),
    }));
    EXPECT_EQ(settings_.captureInterval, 25);
    EXPECT_EQ(TextOf(IntervalLabel()), L"25");
    EXPECT_EQ(intervalChanges_, 1);
    EXPECT_EQ(bufferResizes_, 0);
    EXPECT_TRUE(IsWindowEnabled(Dialog()));
}

TEST_F(OptionsDialog, CancelAndFrameCloseChangeNothing) {
    ASSERT_TRUE(form_.Show(nullptr));
    ASSERT_TRUE(Run({
        ClickOn(RegionXLabel(1)),
        OnInput([&](HWND input) {
            // ">" first: the value in the entry moves, the setting must not.
            SetWindowTextW(FindWindowExW(input, nullptr, L"Edit", nullptr), L"500");
            PressButton(input, L">");
        }),
        Enter(L"501", L"キャンセル"),
        InputClosed(),
        ClickOn(RegionXLabel(1)),
        OnInput([&](HWND input) { PostMessageW(input, WM_CLOSE, 0, 0); }),
        InputClosed(),
    }));
    EXPECT_EQ(settings_, qv::DefaultSettings());
    EXPECT_EQ(TextOf(RegionXLabel(1)), L"463");
    EXPECT_EQ(bufferResizes_, 0);
    EXPECT_EQ(qv::InputCheckForm().Handle(), nullptr) << "the frame close unloads the window";
}

TEST_F(OptionsDialog, InvalidCharacterAndBoundsAreRefusedUntilAValidValue) {
    ASSERT_TRUE(form_.Show(nullptr));
    ASSERT_TRUE(Run({
        ClickOn(RegionXLabel(0)), // the default 1 lies below the lower bound 5
        Enter(L"1a", L"決 定"),
        ConfirmMessage(L"入力チェック", L"無効文字が含まれています。"),
        [&] {
            HWND input = VisibleDialog(L"設定値入力");
            EXPECT_NE(input, nullptr) << "the dialog stays open";
            EXPECT_EQ(TextOf(FindWindowExW(input, nullptr, L"Edit", nullptr)), L"1a");
            return true;
        },
        Enter(L"1", L"決 定"),
        ConfirmMessage(L"入力エラー", L"入力下限を超えています"),
        Enter(L"1201", L"決 定"),
        ConfirmMessage(L"入力エラー", L"入力上限を超えています"),
        Enter(L"12.5", L"決 定"),
        InputClosed(),
    }));
    EXPECT_EQ(settings_.captureRegions[0].x, 12);
    EXPECT_EQ(TextOf(RegionXLabel(0)), L"12");
    EXPECT_EQ(bufferResizes_, 1) << "a region change resizes the capture buffer at once";
}

TEST_F(OptionsDialog, TypedKeysAreFilteredAndEnterMovesToTheAcceptButton) {
    ASSERT_TRUE(form_.Show(nullptr));
    HWND edit = nullptr;
    ASSERT_TRUE(Run({
        ClickOn(StartDelayLabel()),
        OnInput([&](HWND input) {
            EXPECT_TRUE(HasStaticText(input, L"起動時にメイプルストーリの起動を\r\n"
                                             L"確認するまでの遅延時間を入力してください"));
            edit = FindWindowExW(input, nullptr, L"Edit", nullptr);
            EXPECT_EQ(GetFocus(), edit);
            DWORD start = 0, end = 0;
            SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                         reinterpret_cast<LPARAM>(&end));
            EXPECT_EQ(start, 0u);
            EXPECT_EQ(end, 2u) << "the whole entry is selected";
            SetWindowTextW(edit, L"");
            for (wchar_t c : std::wstring(L"1x 2\x16"
                                          L"あ.5")) {
                PostMessageW(edit, WM_CHAR, c, 0);
            }
        }),
        [&] {
            EXPECT_EQ(TextOf(edit), L"12.5");
            PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
            return true;
        },
        [&] {
            HWND input = VisibleDialog(L"設定値入力");
            EXPECT_EQ(GetFocus(), ChildByText(input, L"Button", L"決 定"));
            EXPECT_EQ(TextOf(edit), L"12.5") << "Enter does not accept";
            PressButton(input, L"決 定");
            return true;
        },
        InputClosed(),
    }));
    EXPECT_EQ(settings_.startDelay, 12);
    EXPECT_EQ(TextOf(StartDelayLabel()), L"12");
}

TEST_F(OptionsDialog, TickBoxesActAtOnce) {
    ASSERT_TRUE(form_.Show(nullptr));
    ASSERT_TRUE(Run({
        [&] {
            PressButton(Dialog(), L"デバッグモード(遅くなります)");
            PressButton(Dialog(), L"起動と同時にロギング開始");
            PressButton(Dialog(), L"キャプチャ時に音をならす");
            return true;
        },
        [&] { return settings_.beepOnCapture; },
    }));
    EXPECT_TRUE(settings_.debugMode);
    EXPECT_TRUE(settings_.autoStart);
    EXPECT_EQ(layouts_, 1);
    EXPECT_NE(ReadBytes(log_.LogPath()).find(qv::ToAnsi(L"Change DebugMode･･･End ")),
              std::string::npos);
}

TEST_F(OptionsDialog, SaveWritesTheFileAndReturnBringsTheMainWindowBack) {
    settings_.captureInterval = 25;
    settings_.beepOnCapture = true;
    ASSERT_TRUE(form_.Show(nullptr));
    ASSERT_TRUE(Run({
        [&] {
            PressButton(Dialog(), L"保 存");
            return true;
        },
        [&] { return fs::exists(folder_ / L"QvanConfig.ini"); },
        [&] {
            PressButton(Dialog(), L"戻 る");
            return true;
        },
        [&] { return !IsWindowVisible(Dialog()); },
    }));
    const std::wstring expected =
        qv::test::WrittenConfigText({.interval = L"     25", .beep = L"   True"});
    EXPECT_EQ(ReadBytes(folder_ / L"QvanConfig.ini"), qv::ToAnsi(expected));
    EXPECT_NE(ReadBytes(log_.LogPath()).find(qv::ToAnsi(L"Saving ConfigFile･･･End ")),
              std::string::npos);
    EXPECT_TRUE(sink_.shown.empty());
    EXPECT_EQ(mainToFront_, 1);
    EXPECT_EQ(bufferResizes_, 2) << "once by the save, once by the return";
    EXPECT_NE(Dialog(), nullptr) << "return only hides the dialog";
}

TEST_F(OptionsDialog, FrameCloseUnloadsAndTheNextShowRebuildsFromTheSettings) {
    ASSERT_TRUE(form_.Show(nullptr));
    const HWND first = Dialog();
    EXPECT_TRUE(qv::MessagePump::Instance().HasDialog(first));
    ASSERT_TRUE(Run({
        [&] {
            PostMessageW(Dialog(), WM_CLOSE, 0, 0);
            return true;
        },
        [&] { return Dialog() == nullptr; },
    }));
    EXPECT_EQ(bufferResizes_, 1);
    EXPECT_EQ(mainToFront_, 0);
    EXPECT_FALSE(qv::MessagePump::Instance().HasDialog(first));
    settings_.debugMode = true;
    settings_.startDelay = 300;
    ASSERT_TRUE(form_.Show(nullptr));
    EXPECT_EQ(TextOf(StartDelayLabel()), L"300");
    EXPECT_EQ(SendMessageW(ChildByText(Dialog(), L"Button", L"デバッグモード(遅くなります)"),
                           BM_GETCHECK, 0, 0),
              BST_CHECKED);
    EXPECT_EQ(layouts_, 1) << "ticking the rebuilt box runs its click action";
    EXPECT_TRUE(qv::MessagePump::Instance().HasDialog(Dialog()));
}

} // namespace

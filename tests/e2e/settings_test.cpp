// The options dialog, the numeric input dialog and the main window's layout, worked from
// outside the real program: menu captions, label clicks, typed characters, button clicks,
// outer-size changes, and the files the program writes.
#include "recognition/glyph_images.h"
#include "tests/common/config_texts.h"
#include "tests/e2e/e2e_fixture.h"

#include <algorithm>
#include <thread>

namespace qv::e2e {
namespace {

constexpr wchar_t kInputTitle[] = L"設定値入力";
constexpr wchar_t kDebugBox[] = L"デバッグモード(遅くなります)";
constexpr wchar_t kBeepBox[] = L"キャプチャ時に音をならす";
constexpr wchar_t kSaveButton[] = L"保 存";
constexpr wchar_t kReturnButton[] = L"戻 る";
constexpr wchar_t kAcceptButton[] = L"決 定";
constexpr wchar_t kCancelButton[] = L"キャンセル";
constexpr wchar_t kIntervalPrompt[] = L"キャプチャー周期を入力してください";
constexpr wchar_t kLostGameRecord[] = L"Lost " QV_GAME_TITLE L" Then Capture Stop";
// The value labels of the options dialog (the capture interval and the start delay).
constexpr int kIntervalLabelId = 107;
constexpr int kStartDelayLabelId = 108;

constexpr int kDesignClientWidth = 280, kDesignClientHeight = 270;
constexpr int kMinOuterWidth = 264, kMinOuterHeight = 302; // 3960 and 4530 twips

HWND ChildOfClass(HWND parent, std::wstring_view className) {
    for (const auto& w : ChildWindows(parent)) {
        if (_wcsicmp(w.className.c_str(), std::wstring(className).c_str()) == 0) {
            return w.hwnd;
        }
    }
    return nullptr;
}

bool HasChildText(HWND parent, std::wstring_view text) {
    auto texts = ChildTexts(parent);
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// A user's click on a label: the button goes down and up over it.
void ClickLabel(HWND label) {
    PostMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

void ClickButton(HWND dialog, std::wstring_view caption) {
    HWND button = FindChildByText(dialog, caption);
    ASSERT_NE(button, nullptr) << "no button " << Utf8(caption);
    PostMessageW(button, BM_CLICK, 0, 0);
}

// Characters as the keyboard delivers them, through the entry's key filter.
void TypeCharacters(HWND edit, std::wstring_view characters) {
    for (wchar_t c : characters) {
        PostMessageW(edit, WM_CHAR, c, 1);
    }
}

// Text put in as a paste does: past the key filter.
void PasteText(HWND edit, const std::wstring& text) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                        SMTO_ABORTIFHUNG, 2000, &ignored);
}

bool TextBecomes(HWND hwnd, std::wstring_view text, Millis timeout = kDefaultWait) {
    bool ok = WaitUntil([&] { return WindowText(hwnd) == text; }, timeout);
    if (!ok) {
        ADD_FAILURE() << "text is \"" << Utf8(WindowText(hwnd)) << "\", expected \"" << Utf8(text)
                      << "\"";
    }
    return ok;
}

bool IsChecked(HWND box) {
    DWORD_PTR state = 0;
    SendMessageTimeoutW(box, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &state);
    return state == BST_CHECKED;
}

// A child's rectangle in its parent's client coordinates.
RECT PlaceOf(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

SIZE ClientSize(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return {r.right, r.bottom};
}

SIZE OuterSize(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return {r.right - r.left, r.bottom - r.top};
}

// The glyph pictures of the main window's debug area (bitmap statics).
std::vector<HWND> PatternPictures(HWND main) {
    std::vector<HWND> out;
    for (const auto& w : ChildWindows(main)) {
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(w.hwnd, GWL_STYLE));
        if (_wcsicmp(w.className.c_str(), L"Static") == 0 && (style & SS_TYPEMASK) == SS_BITMAP) {
            out.push_back(w.hwnd);
        }
    }
    return out;
}

int VisibleCount(const std::vector<HWND>& windows) {
    return static_cast<int>(std::count_if(windows.begin(), windows.end(),
                                          [](HWND h) { return IsWindowVisible(h) != FALSE; }));
}

int LogHeight(HWND main) {
    RECT r = PlaceOf(ChildOfClass(main, L"Edit"));
    return r.bottom - r.top;
}

// Gives the main window a client area of the designed size, whatever the frame and menu bar
// take on this system.
void SetClientSize(HWND main, int width, int height) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        const SIZE outer = OuterSize(main);
        const SIZE client = ClientSize(main);
        if (client.cx == width && client.cy == height) {
            return;
        }
        SetWindowPos(main, nullptr, 0, 0, outer.cx + width - client.cx,
                     outer.cy + height - client.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        WaitUntil([&] { return ClientSize(main).cx == width && ClientSize(main).cy == height; },
                  Millis(1000));
    }
}

class SettingsTest : public ProgramTest {
  protected:
    // Clicks a value label and waits for the numeric input dialog.
    HWND OpenInput(HWND options, int labelId) {
        HWND label = FindChildById(options, labelId);
        EXPECT_NE(label, nullptr);
        if (label == nullptr) {
            return nullptr;
        }
        ClickLabel(label);
        HWND input = VisibleTopWindow(kInputTitle, ProcessOf(options));
        EXPECT_NE(input, nullptr) << "no numeric input dialog";
        return input;
    }

    // Types the value over the selected entry and accepts it.
    void EnterValue(HWND options, int labelId, std::wstring_view typed) {
        HWND input = OpenInput(options, labelId);
        ASSERT_NE(input, nullptr);
        HWND edit = ChildOfClass(input, L"Edit");
        TypeCharacters(edit, typed);
        ClickButton(input, kAcceptButton);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(input); }));
    }

    int LayoutRecords() const {
        auto records = Log().records;
        return static_cast<int>(std::count_if(records.begin(), records.end(), [](const auto& r) {
            return r.message == kLayoutRecord;
        }));
    }

    bool WaitForRecordCount(std::wstring_view message, std::size_t count,
                            Millis timeout = kDefaultWait) {
        return WaitUntil(
            [&] {
                auto m = Messages();
                return static_cast<std::size_t>(std::count(m.begin(), m.end(), message)) >= count;
            },
            timeout);
    }
};

TEST_F(SettingsTest, IntervalIsEditedThroughTheNumericInput) {
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    const DWORD pid = ProcessOf(main);
    HWND options = OpenOptions(main);
    ASSERT_NE(options, nullptr);
    HWND label = FindChildById(options, kIntervalLabelId);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(WindowText(label), L"20");

    // The prompt, the range and the current value; cancel keeps the setting.
    HWND input = OpenInput(options, kIntervalLabelId);
    ASSERT_NE(input, nullptr);
    HWND edit = ChildOfClass(input, L"Edit");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(WindowText(edit), L"20");
    EXPECT_TRUE(HasChildText(input, kIntervalPrompt));
    EXPECT_TRUE(HasChildText(input, L"1"));
    EXPECT_TRUE(HasChildText(input, L"3600"));
    EXPECT_FALSE(IsWindowEnabled(options)) << "the options window waits for the input";
    TypeCharacters(edit, L"99");
    ASSERT_TRUE(TextBecomes(edit, L"99"));
    ClickButton(input, kCancelButton);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(input); }));
    EXPECT_TRUE(TextBecomes(label, L"20"));

    // A pasted letter is refused by "決 定"; the dialog stays with the text as it was.
    input = OpenInput(options, kIntervalLabelId);
    ASSERT_NE(input, nullptr);
    edit = ChildOfClass(input, L"Edit");
    PasteText(edit, L"3a");
    ClickButton(input, kAcceptButton);
    auto box = WaitForMessageBox(L"入力チェック", kDefaultWait, pid);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, L"無効文字が含まれています。");
    ASSERT_TRUE(PressButton(box->hwnd));
    EXPECT_TRUE(IsWindowVisible(input));
    EXPECT_EQ(WindowText(edit), L"3a");

    // Typed keys pass the filter only as number characters: "3x 0" arrives as "30".
    PostMessageW(edit, EM_SETSEL, 0, -1);
    TypeCharacters(edit, L"3x 0");
    ASSERT_TRUE(TextBecomes(edit, L"30"));
    ClickButton(input, kAcceptButton);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(input); }));
    EXPECT_TRUE(TextBecomes(label, L"30"));
    EXPECT_TRUE(IsWindowEnabled(options));
    EXPECT_EQ(Bytes(kConfigFile), DefaultConfigFile()) << "nothing is saved without 保 存";

    // "戻 る" hides the window; the menu shows it again with the value of this run.
    ClickButton(options, kReturnButton);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(options); }));
    options = OpenOptions(main);
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(WindowText(FindChildById(options, kIntervalLabelId)), L"30");
}

TEST_F(SettingsTest, DebugModeShowsThePatternRowsAndShortensTheLog) {
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    SetClientSize(main, kDesignClientWidth, kDesignClientHeight);
    ASSERT_EQ(ClientSize(main).cx, kDesignClientWidth);
    ASSERT_EQ(ClientSize(main).cy, kDesignClientHeight);

    const std::vector<HWND> pictures = PatternPictures(main);
    ASSERT_EQ(pictures.size(), 22u);
    HWND log = ChildOfClass(main, L"Edit");
    ASSERT_NE(log, nullptr);
    RECT place = PlaceOf(log);
    EXPECT_EQ(place.left, 8);
    EXPECT_EQ(place.top, 152);
    EXPECT_EQ(place.right - place.left, 264);
    EXPECT_EQ(place.bottom - place.top, 110);
    EXPECT_EQ(VisibleCount(pictures), 0);

    HWND options = OpenOptions(main);
    ASSERT_NE(options, nullptr);
    HWND debugBox = FindChildByText(options, kDebugBox);
    ASSERT_NE(debugBox, nullptr);
    EXPECT_FALSE(IsChecked(debugBox));
    ClickButton(options, kDebugBox);
    ASSERT_TRUE(
        WaitUntil([&] { return VisibleCount(pictures) == kGlyphSetCount * kGlyphsPerSet; }));
    EXPECT_TRUE(IsChecked(debugBox));
    EXPECT_EQ(LogHeight(main), 64);
    std::vector<int> lefts224, lefts245;
    for (HWND picture : pictures) {
        const RECT r = PlaceOf(picture);
        if (r.top == 224) {
            lefts224.push_back(r.left);
        } else if (r.top == 245) {
            lefts245.push_back(r.left);
        } else {
            ADD_FAILURE() << "a pattern picture at top " << r.top;
        }
    }
    std::sort(lefts224.begin(), lefts224.end());
    std::sort(lefts245.begin(), lefts245.end());
    std::vector<int> designed;
    for (int k = 0; k < kGlyphsPerSet; ++k) {
        designed.push_back(8 + 24 * k);
    }
    EXPECT_EQ(lefts224, designed);
    EXPECT_EQ(lefts245, designed);
    EXPECT_TRUE(WaitForRecordCount(L"Change DebugMode･･･End ", 1));

    // Cleared again: the rows go and the log box reaches down as before.
    ClickButton(options, kDebugBox);
    ASSERT_TRUE(WaitUntil([&] { return VisibleCount(pictures) == 0; }));
    EXPECT_EQ(LogHeight(main), 110);
    EXPECT_TRUE(WaitForRecordCount(L"Change DebugMode･･･End ", 2));
}

TEST_F(SettingsTest, SavedValuesComeBackAfterARestartWithoutDebugMode) {
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    HWND options = OpenOptions(main);
    ASSERT_NE(options, nullptr);
    EnterValue(options, kIntervalLabelId, L"30");
    ASSERT_TRUE(TextBecomes(FindChildById(options, kIntervalLabelId), L"30"));
    ClickButton(options, kBeepBox);
    ClickButton(options, kDebugBox);
    ASSERT_TRUE(WaitForRecordCount(L"Change DebugMode･･･End ", 1));
    ClickButton(options, kSaveButton);
    ASSERT_TRUE(WaitForRecordCount(L"Saving ConfigFile･･･End ", 1));

    const std::string saved =
        AnsiBytes(test::WrittenConfigText({.interval = L"     30", .beep = L"   True"}));
    EXPECT_EQ(saved.size(), 282u);
    EXPECT_EQ(Bytes(kConfigFile), saved);
    EXPECT_TRUE(IsWindowVisible(options)) << "saving keeps the dialog open";

    ASSERT_TRUE(RequestClose(main));
    ASSERT_TRUE(processes_.back().WaitForExit());

    main = Start();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(Bytes(kConfigFile), saved) << "a good file is read, not rewritten";
    EXPECT_EQ(VisibleCount(PatternPictures(main)), 0);
    options = OpenOptions(main);
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(WindowText(FindChildById(options, kIntervalLabelId)), L"30");
    EXPECT_EQ(WindowText(FindChildById(options, kStartDelayLabelId)), L"15");
    EXPECT_TRUE(IsChecked(FindChildByText(options, kBeepBox)));
    EXPECT_FALSE(IsChecked(FindChildByText(options, kDebugBox)));
    EXPECT_EQ(VisibleCount(PatternPictures(main)), 0);
}

TEST_F(SettingsTest, TooSmallWindowSnapsBackAndMinimisingLaysNothingOut) {
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    const int before = LayoutRecords();
    EXPECT_GE(before, 1) << "the first showing lays the window out";

    SetWindowPos(main, nullptr, 0, 0, 200, 150, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitUntil([&] {
        // The menu bar may wrap at this width: the height keeps the whole client area.
        const SIZE s = OuterSize(main);
        const SIZE c = ClientSize(main);
        return s.cx == kMinOuterWidth && c.cx >= 256 && c.cy >= 256 && s.cy <= kMinOuterHeight + 40;
    })) << "outer size "
        << OuterSize(main).cx << " x " << OuterSize(main).cy;
    EXPECT_TRUE(WaitUntil([&] { return LayoutRecords() > before; }));
    // The log box follows the snapped width.
    const SIZE client = ClientSize(main);
    const RECT log = PlaceOf(ChildOfClass(main, L"Edit"));
    EXPECT_EQ(log.right - log.left, std::max<int>(client.cx, 256) - 16);

    // Only a width below the minimum: the height is kept.
    SetWindowPos(main, nullptr, 0, 0, 150, 400, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitUntil([&] {
        const SIZE s = OuterSize(main);
        return s.cx == kMinOuterWidth && s.cy == 400;
    })) << "outer size "
        << OuterSize(main).cx << " x " << OuterSize(main).cy;

    std::this_thread::sleep_for(Millis(300));
    const int settled = LayoutRecords();
    PostMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(main) != FALSE; }));
    std::this_thread::sleep_for(Millis(500));
    EXPECT_EQ(LayoutRecords(), settled) << "minimising lays nothing out";

    PostMessageW(main, WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsIconic(main); }));
    EXPECT_TRUE(WaitUntil([&] { return LayoutRecords() == settled + 1; }));
    std::this_thread::sleep_for(Millis(500));
    EXPECT_EQ(LayoutRecords(), settled + 1) << "restoring lays out once";
    EXPECT_EQ(OuterSize(main).cy, 400) << "restored to its size before";
}

// Today's thicker caption, menu bar and borders, set for the programs started meanwhile.
class ThickFrameMetrics {
  public:
    ThickFrameMetrics() {
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop\\WindowMetrics", 0, nullptr, 0,
                        KEY_READ | KEY_WRITE, nullptr, &key_, nullptr);
        for (const auto& [name, value] : kThick) {
            wchar_t old[32] = {};
            DWORD size = sizeof(old);
            const bool had = RegQueryValueExW(key_, name, nullptr, nullptr,
                                              reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS;
            saved_.push_back({name, had ? std::wstring(old) : std::wstring()});
            Set(name, value);
        }
    }
    ~ThickFrameMetrics() {
        for (const auto& [name, old] : saved_) {
            if (old.empty()) {
                RegDeleteValueW(key_, name);
            } else {
                Set(name, old.c_str());
            }
        }
        RegCloseKey(key_);
    }

  private:
    void Set(const wchar_t* name, const wchar_t* value) {
        RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                       static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
    }
    static constexpr std::pair<const wchar_t*, const wchar_t*> kThick[] = {
        {L"CaptionHeight", L"-450"},
        {L"MenuHeight", L"-375"},
        {L"BorderWidth", L"-120"},
        {L"PaddedBorderWidth", L"-120"}};
    HKEY key_ = nullptr;
    std::vector<std::pair<const wchar_t*, std::wstring>> saved_;
};

TEST_F(SettingsTest, MinimumSizeKeepsTheWholeClientAreaWithThickFrames) {
    ThickFrameMetrics metrics;
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    SetWindowPos(main, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitUntil([&] {
        const SIZE c = ClientSize(main);
        return c.cx >= 256 && c.cy >= 256;
    })) << "client size "
        << ClientSize(main).cx << " x " << ClientSize(main).cy;
    // The log box is laid out for the client area the window really has.
    std::this_thread::sleep_for(Millis(300));
    const RECT log = PlaceOf(ChildOfClass(main, L"Edit"));
    EXPECT_EQ(log.bottom, ClientSize(main).cy - 8);
    EXPECT_EQ(log.right, ClientSize(main).cx - 8);
}

// A click refreshes only a panel that holds a figure: the demo's settings measure at once.
TEST_F(SettingsTest, OnlyAClickOnTheBareBackgroundRefreshesTheEndValues) {
    ASSERT_TRUE(
        folder_.CopyIn(WindowsPathFromUnix(QV_SOURCE_DIR) + L"\\tools\\demo\\QvanConfig.ini"));
    HWND game = StartGame(L"--exp 5000");
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    HWND options = OpenOptions(main);
    ASSERT_NE(options, nullptr);
    ClickButton(options, kDebugBox); // shows the pattern pictures
    const auto pictures = PatternPictures(main);
    ASSERT_TRUE(
        WaitUntil([&] { return VisibleCount(pictures) == kGlyphSetCount * kGlyphsPerSet; }));
    ClickButton(options, kReturnButton);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(options); }));
    ASSERT_TRUE(BringToFront(game));

    // The nearest label right of `label` on its row.
    const auto rightOf = [&](HWND label) {
        HWND next = nullptr;
        for (const auto& w : ChildWindows(main)) {
            const RECT r = RectOf(w.hwnd), h = RectOf(label);
            if (w.hwnd != label && r.top == h.top && r.left >= h.right &&
                (next == nullptr || r.left < RectOf(next).left)) {
                next = w.hwnd;
            }
        }
        return next;
    };
    HWND heading = FindChildByText(main, L"最終：");
    ASSERT_NE(heading, nullptr);
    HWND endTime = rightOf(heading);
    ASSERT_NE(endTime, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return !WindowText(endTime).empty(); }, Millis(14000)));
    const std::wstring first = WindowText(endTime);
    ASSERT_TRUE(BringToFront(main));

    POINT background{200, 140}; // right of "測定結果", above the log box
    ClientToScreen(main, &background);
    const POINT outside{GetSystemMetrics(SM_CXSCREEN) - 8, GetSystemMetrics(SM_CYSCREEN) - 8};
    struct Target {
        const char* what;
        POINT down, up;
        DWORD downFlag;
    };
    const Target notClicks[] = {
        {"a label", CentreOf(FindChildByText(main, L"測定結果")),
         CentreOf(FindChildByText(main, L"測定結果")), MOUSEEVENTF_LEFTDOWN},
        {"a pattern picture", CentreOf(pictures[3]), CentreOf(pictures[3]), MOUSEEVENTF_LEFTDOWN},
        {"the status panel", CentreOf(heading), CentreOf(heading), MOUSEEVENTF_LEFTDOWN},
        {"a label, released over the background", CentreOf(FindChildByText(main, L"測定結果")),
         background, MOUSEEVENTF_LEFTDOWN},
        {"the background, released outside the window", background, outside, MOUSEEVENTF_LEFTDOWN},
        {"outside, released over the background", outside, background, MOUSEEVENTF_LEFTDOWN},
        {"a stray button-up", background, background, 0},
    };
    for (const Target& t : notClicks) {
        SCOPED_TRACE(t.what);
        MouseAt(t.down, t.downFlag);
        MouseAt(t.up, MOUSEEVENTF_LEFTUP);
        std::this_thread::sleep_for(Millis(300));
        EXPECT_EQ(WindowText(endTime), first);
    }
    // A press and release on the bare background is a click: in a later second, its time shows.
    const auto click = [&] {
        const std::wstring before = WindowText(endTime);
        std::this_thread::sleep_for(Millis(1000));
        MouseAt(background, MOUSEEVENTF_LEFTDOWN);
        MouseAt(background, MOUSEEVENTF_LEFTUP);
        return WaitUntil([&] { return WindowText(endTime) != before; }, Millis(2000));
    };
    EXPECT_TRUE(click());
    // After a capture that read nothing, a click shows the last figure read.
    ASSERT_TRUE(SetDemoFigure(game, 0));
    ASSERT_TRUE(BringToFront(game));
    HWND capture = rightOf(FindChildByText(main, L"Exp読込→"));
    ASSERT_TRUE(WaitUntil([&] { return WindowText(capture) == L"認識NG"; }, Millis(14000)));
    ASSERT_TRUE(BringToFront(main));
    EXPECT_TRUE(click());
    EXPECT_EQ(WindowText(rightOf(endTime)), L"5000");
}

TEST_F(SettingsTest, ClosingTheMainWindowWhileTheInputIsUpEndsTheProgram) {
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    HWND options = OpenOptions(main);
    ASSERT_NE(options, nullptr);
    ASSERT_NE(OpenInput(options, kStartDelayLabelId), nullptr);
    ASSERT_TRUE(RequestClose(main));
    ASSERT_TRUE(processes_.back().WaitForExit());
    EXPECT_EQ(processes_.back().ExitCode(), DWORD{0});
    auto messages = Messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), L"End of the Program");
    EXPECT_EQ(Bytes(kConfigFile), DefaultConfigFile());
}

// With no game running, every due capture writes the debug record of the missing game, so
// the records' pace is the capture pace.
TEST_F(SettingsTest, IntervalChangedDuringAMeasurementSetsTheCapturePace) {
    ASSERT_TRUE(
        WriteFileBytes(File(kConfigFile), AnsiBytes(L"1,1,1,1, a\r\n463,570,90,9, b\r\nFalse, c\r\n"
                                                    L"1, d\r\nFalse, e\r\n0, f\r\n\r\n")));
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    HWND options = OpenOptions(main);
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(WindowText(FindChildById(options, kIntervalLabelId)), L"1");
    ClickButton(options, kDebugBox);
    ASSERT_TRUE(WaitForRecordCount(L"Change DebugMode･･･End ", 1));
    ASSERT_EQ(ChooseMenu(main, {L"開始"}), MenuResult::Chosen);

    // The moments at which new records appear, as seen by polling the log.
    using Clock = std::chrono::steady_clock;
    auto recordTimes = [&](std::size_t from, std::size_t count, Millis timeout) {
        std::vector<Clock::time_point> times;
        const auto deadline = Clock::now() + timeout;
        std::size_t seen = from;
        while (times.size() < count && Clock::now() < deadline) {
            auto m = Messages();
            const auto n =
                static_cast<std::size_t>(std::count(m.begin(), m.end(), kLostGameRecord));
            for (; seen < n; ++seen) {
                times.push_back(Clock::now());
            }
            std::this_thread::sleep_for(Millis(20));
        }
        return times;
    };
    auto gapsMs = [](const std::vector<Clock::time_point>& t) {
        std::vector<long long> gaps;
        for (std::size_t i = 1; i < t.size(); ++i) {
            gaps.push_back(
                std::chrono::duration_cast<std::chrono::milliseconds>(t[i] - t[i - 1]).count());
        }
        return gaps;
    };

    const auto fast = recordTimes(0, 3, Millis(8000));
    ASSERT_EQ(fast.size(), 3u) << "captures every second";
    for (long long gap : gapsMs(fast)) {
        EXPECT_LT(gap, 2500) << "gap at interval 1";
    }

    EnterValue(options, kIntervalLabelId, L"3");
    ASSERT_TRUE(TextBecomes(FindChildById(options, kIntervalLabelId), L"3"));
    auto m = Messages();
    const auto done = static_cast<std::size_t>(std::count(m.begin(), m.end(), kLostGameRecord));
    // The capture already due keeps its time; the ones after it follow the new interval.
    const auto slow = recordTimes(done, 3, Millis(15000));
    ASSERT_EQ(slow.size(), 3u);
    const auto gaps = gapsMs(slow);
    for (std::size_t i = 1; i < slow.size(); ++i) {
        EXPECT_GE(gaps[i - 1], 2500) << "gap " << i << " at interval 3";
        EXPECT_LT(gaps[i - 1], 5000) << "gap " << i << " at interval 3";
    }
    ASSERT_EQ(ChooseMenu(main, {L"停止"}), MenuResult::Chosen);
}

} // namespace
} // namespace qv::e2e

// Measuring the demo game as a user would: the first reading, rises and a fall with its four
// snapshots and log line, the game going away, coming back and going behind another window,
// the stop with its summary, and a close in the middle of the snapshots. The program runs with
// the fast demo settings (auto-start, a capture every second, no start delay).
#include "capture/bmp_file.h"
#include "tests/e2e/e2e_fixture.h"
#include "tools/demogame/figure_image.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace qv::e2e {
namespace {

constexpr wchar_t kErrorTitle[] = L"エラー";
constexpr wchar_t kFallText[] = L"  LvUP or Dead 検出 \r\n";
// Waits long enough for a capture that was put off by 10 s because the game was behind.
constexpr Millis kDeferredCaptureWait{14000};
constexpr Millis kCaptureWait{6000};

// Texts against a pattern where 'd' stands for a digit.
bool MatchesPattern(std::wstring_view text, std::wstring_view pattern) {
    if (text.size() != pattern.size()) {
        return false;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= L'0' && text[i] <= L'9';
        if (pattern[i] == L'd' ? !digit : text[i] != pattern[i]) {
            return false;
        }
    }
    return true;
}

// What the main window shows, found the way a user reads it: the status panel's rows by their
// headings, the EXP line by its caption, the log box by its kind.
struct MainTexts {
    std::wstring startTime, startExp, endTime, endExp, increase, rate;
    std::wstring capture;
    std::wstring log;
};

bool IsStatic(const WindowInfo& w) {
    return _wcsicmp(w.className.c_str(), L"Static") == 0;
}

// The static controls on the same row as the one captioned `heading` (a taller one starting on
// it too), left to right.
std::vector<HWND> RowRightOf(const std::vector<WindowInfo>& children, std::wstring_view heading) {
    const auto head = std::find_if(children.begin(), children.end(), [&](const WindowInfo& w) {
        return IsStatic(w) && w.text == heading;
    });
    if (head == children.end()) {
        return {};
    }
    const RECT h = RectOf(head->hwnd);
    std::vector<HWND> row;
    for (const auto& w : children) {
        const RECT r = RectOf(w.hwnd);
        const LONG middle = (r.top + r.bottom) / 2;
        const LONG line = std::min(middle, r.top + (h.bottom - h.top) / 2);
        if (IsStatic(w) && w.hwnd != head->hwnd && r.left >= h.right - 1 && line >= h.top &&
            line < h.bottom) {
            row.push_back(w.hwnd);
        }
    }
    std::sort(row.begin(), row.end(),
              [](HWND a, HWND b) { return RectOf(a).left < RectOf(b).left; });
    return row;
}

MainTexts ReadMain(HWND main) {
    MainTexts t;
    const auto children = ChildWindows(main);
    const auto start = RowRightOf(children, L"開始：");
    const auto end = RowRightOf(children, L"最終：");
    if (start.size() >= 2 && end.size() >= 2) {
        t.startTime = WindowText(start[0]);
        t.startExp = WindowText(start[1]);
        t.endTime = WindowText(end[0]);
        t.endExp = WindowText(end[1]);
        // The increase sits in the EXP column, on the first row below the latest values.
        // The hourly rate sits on the same row in the time column.
        const RECT endExp = RectOf(end[1]);
        const RECT endTime = RectOf(end[0]);
        LONG best = LONG_MAX;
        for (const auto& w : children) {
            const RECT r = RectOf(w.hwnd);
            if (IsStatic(w) && r.left == endExp.left && r.top > endExp.top && r.top < best) {
                best = r.top;
                t.increase = WindowText(w.hwnd);
            }
        }
        for (const auto& w : children) {
            const RECT r = RectOf(w.hwnd);
            if (IsStatic(w) && r.left == endTime.left && r.top == best) {
                t.rate = WindowText(w.hwnd);
            }
        }
    }
    const auto capture = RowRightOf(children, L"Exp読込→");
    if (!capture.empty()) {
        t.capture = WindowText(capture.front());
    }
    for (const auto& w : children) {
        if (_wcsicmp(w.className.c_str(), L"Edit") == 0) {
            t.log = WindowText(w.hwnd);
        }
    }
    return t;
}

// The popup of this process with that title, visible or not.
HWND FindPopup(DWORD pid) {
    for (const auto& w : TopLevelWindows(pid)) {
        if (w.text == kErrorTitle && w.className != L"#32770") {
            return w.hwnd;
        }
    }
    return nullptr;
}

int VisiblePopups(DWORD pid) {
    int count = 0;
    for (const auto& w : TopLevelWindows(pid)) {
        count += w.visible && w.text == kErrorTitle;
    }
    return count;
}

struct Snapshot {
    std::wstring name;
    std::wstring stamp; // the 14 digits
    wchar_t suffix = 0;
};

class MeasurementTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_TRUE(
            folder_.CopyIn(WindowsPathFromUnix(QV_SOURCE_DIR) + L"\\tools\\demo\\QvanConfig.ini"));
    }

    // The program measuring, with the game (when given) in front.
    HWND StartMeasuring(HWND game) {
        HWND main = Start();
        if (!processes_.empty()) {
            program_ = &processes_.back(); // the deque keeps its elements in place
        }
        if (main != nullptr && game != nullptr) {
            EXPECT_TRUE(BringToFront(game));
        }
        return main;
    }

    // The opening of most scenarios: the demo game showing `figure` in front, the program
    // measuring it, and the first reading on the panel. Sets game_ and main_.
    void MeasureTheGame(std::uint64_t figure) {
        game_ = StartGame(L"--exp " + std::to_wstring(figure));
        ASSERT_NE(game_, nullptr);
        main_ = StartMeasuring(game_);
        ASSERT_NE(main_, nullptr);
        const std::wstring digits = std::to_wstring(figure);
        ASSERT_TRUE(WaitForMain(
            main_, [&](const MainTexts& t) { return t.startExp == digits; }, kDeferredCaptureWait))
            << "no first reading; the EXP line shows " << Utf8(ReadMain(main_).capture);
    }

    bool WaitForMain(HWND main, const std::function<bool(const MainTexts&)>& condition,
                     Millis timeout = kCaptureWait) {
        return WaitUntil([&] { return condition(ReadMain(main)); }, timeout);
    }

    bool WaitForCapture(HWND main, std::wstring_view digits, Millis timeout = kCaptureWait) {
        const bool seen = WaitForMain(
            main, [&](const MainTexts& t) { return t.capture == digits; }, timeout);
        EXPECT_TRUE(seen) << "the EXP line never showed " << Utf8(digits) << "; it shows "
                          << Utf8(ReadMain(main).capture);
        return seen;
    }

    int CountRecords(std::wstring_view start) const {
        int n = 0;
        for (const auto& m : Messages()) {
            n += m.starts_with(start);
        }
        return n;
    }
    bool HasRecord(std::wstring_view message) const {
        const auto messages = Messages();
        return std::find(messages.begin(), messages.end(), message) != messages.end();
    }

    std::vector<Snapshot> Snapshots() const {
        std::vector<Snapshot> found;
        for (const std::wstring& name : Files(L"LvUP*.bmp")) {
            Snapshot s{name, {}, 0};
            // "LvUP" + "_yyyymmddhhmmss" + "_a.bmp"
            if (name.size() == 25 && MatchesPattern(name.substr(0, 19), L"LvUP_dddddddddddddd") &&
                name[19] == L'_' && name.ends_with(L".bmp")) {
                s.stamp = name.substr(5, 14);
                s.suffix = name[20];
            }
            found.push_back(s);
        }
        return found;
    }

    // Opens `name` as a spreadsheet does: reading, and refusing every writer until closed.
    bool HoldFile(const std::wstring& name, HANDLE& held) const {
        return WaitUntil([&] {
            held = CreateFileW(File(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr);
            return held != INVALID_HANDLE_VALUE;
        });
    }

    // The program stopped by a close request, cleanly.
    void ExpectCleanExit() {
        ASSERT_TRUE(program_->WaitForExit());
        EXPECT_EQ(program_->ExitCode(), std::optional<DWORD>(0));
        EXPECT_TRUE(HasRecord(L"End of the Program"));
    }

    std::optional<PixelArray> ReadPicture(const std::wstring& name) const {
        return ReadBmpFile(std::filesystem::path(File(name)));
    }

    Process* program_ = nullptr;
    HWND game_ = nullptr;
    HWND main_ = nullptr;
};

TEST_F(MeasurementTest, FirstReadingRiseFallAndStop) {
    // First reading: start and latest values are the figure, the increase 0.
    ASSERT_NO_FATAL_FAILURE(MeasureTheGame(1234567));
    HWND game = game_, main = main_;
    EXPECT_EQ(VisiblePopups(program_->Id()), 0);
    MainTexts first = ReadMain(main);
    EXPECT_EQ(first.capture, L"1234567");
    EXPECT_TRUE(MatchesPattern(first.startTime, L"dddd/dd/dd dd:dd:dd")) << Utf8(first.startTime);
    EXPECT_EQ(first.endTime, first.startTime);
    EXPECT_EQ(first.endExp, L"1234567");
    EXPECT_EQ(first.increase, L"0");
    EXPECT_EQ(first.log, L"");
    EXPECT_TRUE(HasRecord(L"Fast ImageRecognition"));
    EXPECT_GE(CountRecords(kMemoryRecordStart), 1);

    // A rise is read but changes nothing on screen beyond the EXP line.
    ASSERT_TRUE(SetDemoFigure(game, 1240000));
    ASSERT_TRUE(WaitForCapture(main, L"1240000"));
    MainTexts risen = ReadMain(main);
    EXPECT_EQ(risen.startExp, L"1234567");
    EXPECT_EQ(risen.endExp, L"1234567");
    EXPECT_EQ(risen.endTime, first.startTime);
    EXPECT_EQ(risen.increase, L"5433");
    EXPECT_EQ(risen.log, L"");
    EXPECT_TRUE(Snapshots().empty());

    // A fall: four pictures of the game window, one log line, the latest values.
    ASSERT_TRUE(SetDemoFigure(game, 5000));
    ASSERT_TRUE(WaitForMain(main, [](const MainTexts& t) { return t.endExp == L"5000"; }))
        << "no fall handled; log box: " << Utf8(ReadMain(main).log);
    ASSERT_TRUE(WaitForLineEnding(File(kDebugLog), L"Print Screen･･･End "));
    MainTexts fallen = ReadMain(main);
    EXPECT_EQ(fallen.startExp, L"1234567");
    EXPECT_EQ(fallen.startTime, first.startTime);
    EXPECT_TRUE(MatchesPattern(fallen.endTime, L"dddd/dd/dd dd:dd:dd"));
    EXPECT_GE(fallen.endTime, first.startTime);
    EXPECT_EQ(fallen.increase, L"5433");
    ASSERT_EQ(fallen.log.size(), 11 + std::wstring_view(kFallText).size()) << Utf8(fallen.log);
    EXPECT_TRUE(MatchesPattern(fallen.log.substr(0, 11), L"dd/dd dd:dd")) << Utf8(fallen.log);
    EXPECT_EQ(fallen.log.substr(11), kFallText);

    const auto shots = Snapshots();
    ASSERT_EQ(shots.size(), 4u);
    const RECT g = RectOf(game);
    POINT clientOrigin{0, 0};
    ClientToScreen(game, &clientOrigin);
    for (size_t i = 0; i < shots.size(); ++i) {
        SCOPED_TRACE(Utf8(shots[i].name));
        EXPECT_EQ(shots[i].suffix, static_cast<wchar_t>(L'a' + i));
        EXPECT_EQ(shots[i].stamp, shots[0].stamp) << "the four pictures share one stamp";
        const auto picture = ReadPicture(shots[i].name);
        ASSERT_TRUE(picture.has_value()) << "not a complete BMP file";
        EXPECT_EQ(picture->Width(), g.right - g.left);
        EXPECT_EQ(picture->Height(), g.bottom - g.top);
        // It is the game's window: its background inside, the figure's strip where it is drawn.
        const int cx = clientOrigin.x - g.left, cy = clientOrigin.y - g.top;
        ASSERT_TRUE(picture->Contains(cx + 20, cy + 20));
        EXPECT_EQ(picture->At(cx + 20, cy + 20) & 0xFFFFFF, qv::demo::kBackground);
    }
    // The log line's date and time are the event's, as in the pictures' stamp (same minute,
    // or the one before when the minute turned in between).
    const std::wstring& stamp = shots[0].stamp;
    EXPECT_EQ(fallen.log.substr(0, 5), stamp.substr(4, 2) + L"/" + stamp.substr(6, 2));
    const int logMinute =
        std::stoi(fallen.log.substr(6, 2)) * 60 + std::stoi(fallen.log.substr(9, 2));
    const int stampMinute = std::stoi(stamp.substr(8, 2)) * 60 + std::stoi(stamp.substr(10, 2));
    EXPECT_TRUE(stampMinute == logMinute || stampMinute == (logMinute + 1) % 1440)
        << Utf8(fallen.log) << " vs " << Utf8(stamp);

    // Stop: a summary line of the panel, the debug record, the menus back to idle.
    ASSERT_EQ(ChooseMenu(main, {L"停止"}), MenuResult::Chosen);
    ASSERT_TRUE(WaitForLineEnding(File(kDebugLog), L"Loging Stop･･･End "));
    EXPECT_TRUE(HasRecord(L"測定終了表示完了"));
    const auto stopped = ReadMain(main);
    const std::wstring& log = stopped.log;
    const auto lines = SplitLines(log);
    ASSERT_GE(lines.size(), 2u) << Utf8(log);
    const std::wstring& summary = lines[1];
    EXPECT_TRUE(summary.starts_with(L"開始時刻:" + fallen.startTime)) << Utf8(summary);
    // The end values are those of the stop itself, refreshed right before the summary.
    EXPECT_GE(stopped.endTime, fallen.endTime);
    EXPECT_NE(summary.find(L"終了時刻:" + stopped.endTime), std::wstring::npos) << Utf8(summary);
    EXPECT_NE(summary.find(L" 1,234,567 終了時刻:"), std::wstring::npos) << Utf8(summary);
    EXPECT_NE(summary.find(L" 5,000 　増加量:"), std::wstring::npos) << Utf8(summary);
    EXPECT_TRUE(summary.ends_with(L"  Exp:" + std::wstring(8, L' ') + L"5,433 ")) << Utf8(summary);
    EXPECT_TRUE(log.ends_with(summary + L"\r\n\r\n"));
    auto run = MenuItem(main, {L"開始"});
    ASSERT_TRUE(run);
    EXPECT_TRUE(run->enabled);
    EXPECT_FALSE(MenuItem(main, {L"停止"})->enabled);

    // Stopped: the figure is no longer read.
    const int memoryLines = CountRecords(kMemoryRecordStart);
    ASSERT_TRUE(SetDemoFigure(game, 42));
    Sleep(1500);
    EXPECT_EQ(CountRecords(kMemoryRecordStart), memoryLines);
    EXPECT_EQ(ReadMain(main).capture, L"5000");

    ASSERT_TRUE(RequestClose(main));
    ExpectCleanExit();
}

TEST_F(MeasurementTest, GameMissingComingBackAndGoingBehind) {
    HWND main = StartMeasuring(nullptr);
    ASSERT_NE(main, nullptr);
    const DWORD pid = program_->Id();

    // No game: the popup says so, once, and nothing is captured.
    ASSERT_TRUE(WaitUntil([&] { return VisiblePopups(pid) == 1; }, kCaptureWait))
        << "no popup about the missing game";
    HWND popup = FindPopup(pid);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(ChildTexts(popup), (std::vector<std::wstring>{kGameMissingText}));
    const RECT shownAt = RectOf(popup);
    Sleep(2500); // two more due captures without the game
    EXPECT_EQ(VisiblePopups(pid), 1);
    EXPECT_EQ(FindPopup(pid), popup);
    EXPECT_EQ(RectOf(popup).left, shownAt.left);
    EXPECT_EQ(RectOf(popup).top, shownAt.top);
    EXPECT_EQ(CountRecords(kMemoryRecordStart), 0);
    EXPECT_EQ(ReadMain(main).startExp, L"");

    // The game comes and is in front: the popup goes and the figure is read.
    HWND game = StartGame(L"--exp 777777");
    ASSERT_NE(game, nullptr);
    ASSERT_TRUE(BringToFront(game));
    ASSERT_TRUE(WaitForMain(
        main, [](const MainTexts& t) { return t.startExp == L"777777"; }, kDeferredCaptureWait));
    EXPECT_EQ(VisiblePopups(pid), 0);
    EXPECT_TRUE(IsWindow(popup)) << "the popup is hidden, not destroyed";

    // Behind another window: nothing is read, even a fall.
    ASSERT_TRUE(BringToFront(main));
    Sleep(300); // a capture already under way finishes
    const int memoryLines = CountRecords(kMemoryRecordStart);
    ASSERT_TRUE(SetDemoFigure(game, 100));
    Sleep(2500);
    EXPECT_EQ(CountRecords(kMemoryRecordStart), memoryLines);
    MainTexts behind = ReadMain(main);
    EXPECT_EQ(behind.capture, L"777777");
    EXPECT_EQ(behind.log, L"");
    EXPECT_TRUE(Snapshots().empty());

    // In front again: read at the deferred time (at most 10 s later).
    ASSERT_TRUE(SetDemoFigure(game, 777800));
    ASSERT_TRUE(BringToFront(game));
    ASSERT_TRUE(WaitForCapture(main, L"777800", kDeferredCaptureWait));
    EXPECT_GT(CountRecords(kMemoryRecordStart), memoryLines);
    EXPECT_EQ(ReadMain(main).log, L"");

    // The game ends: the popup is back; the stop hides it.
    ASSERT_TRUE(RequestClose(game));
    ASSERT_TRUE(WaitWindowGone(game));
    ASSERT_TRUE(WaitUntil([&] { return VisiblePopups(pid) == 1; }, kCaptureWait));
    ASSERT_EQ(ChooseMenu(main, {L"停止"}), MenuResult::Chosen);
    ASSERT_TRUE(WaitUntil([&] { return VisiblePopups(pid) == 0; }, kDefaultWait));

    ASSERT_TRUE(RequestClose(main));
    ExpectCleanExit();
}

TEST_F(MeasurementTest, SessionEndClosesLikeTheCloseBox) {
    ASSERT_NO_FATAL_FAILURE(MeasureTheGame(2000000));
    HWND main = main_;

    // What Windows sends at a log-off; it may end the process as soon as the second returns.
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_BLOCK,
                                    5000, &answer));
    EXPECT_NE(answer, 0u) << "the session end was refused";
    ASSERT_TRUE(SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_BLOCK, 5000,
                                    &answer));
    const auto messages = Messages();
    EXPECT_NE(std::find(messages.begin(), messages.end(), L"測定終了表示完了"), messages.end());
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), L"End of the Program");
}

TEST_F(MeasurementTest, CloseDuringTheSnapshotPausesEndsCleanly) {
    ASSERT_NO_FATAL_FAILURE(MeasureTheGame(1400000));
    HWND game = game_, main = main_;

    // Close as soon as the first picture is there, while the pauses between pictures run.
    ASSERT_TRUE(SetDemoFigure(game, 1000));
    ASSERT_TRUE(WaitUntil([&] { return !Snapshots().empty(); }, kCaptureWait))
        << "the fall was not handled";
    ASSERT_TRUE(RequestClose(main));
    ExpectCleanExit();

    const auto shots = Snapshots();
    ASSERT_FALSE(shots.empty());
    EXPECT_LT(shots.size(), 4u) << "the close did not cut the pictures short";
    if (shots.size() < 4) {
        EXPECT_FALSE(HasRecord(L"Print Screen･･･End "));
    }
    const RECT g = RectOf(game);
    for (const auto& shot : shots) {
        SCOPED_TRACE(Utf8(shot.name));
        const auto picture = ReadPicture(shot.name);
        ASSERT_TRUE(picture.has_value()) << "a half-written picture";
        EXPECT_EQ(picture->Width(), g.right - g.left);
        EXPECT_EQ(picture->Height(), g.bottom - g.top);
    }
    // Nothing else was left behind in the folder (no side files of an interrupted write).
    std::vector<std::wstring> others;
    for (const std::wstring& name : Files(L"*")) {
        if (name != L"." && name != L".." && !name.starts_with(L"LvUP_") &&
            !name.starts_with(L"ExpLog_") && name != L"Quorvane.exe" && name != kConfigFile &&
            name != kDebugLog) {
            others.push_back(name);
        }
    }
    EXPECT_TRUE(others.empty()) << Utf8(others.empty() ? L"" : others.front());
}

// The increase, the hourly rate and the journal over a sequence with a fall and a capture that
// reads nothing, then a pause. The rate needs a minute of readings, so this scenario takes
// about 90 s.
TEST_F(MeasurementTest, IncreaseRateAndJournalOfAMeasurement) {
    ASSERT_NO_FATAL_FAILURE(MeasureTheGame(1000000));
    HWND game = game_, main = main_;
    const auto firstSeen = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadMain(main).rate, L"");

    for (std::uint64_t figure : {1000500, 1000800}) {
        ASSERT_TRUE(SetDemoFigure(game, figure));
        ASSERT_TRUE(WaitForCapture(main, std::to_wstring(figure)));
    }
    ASSERT_TRUE(SetDemoFigure(game, 200));
    ASSERT_TRUE(WaitForLineEnding(File(kDebugLog), L"Print Screen･･･End "));
    ASSERT_TRUE(SetDemoFigure(game, 0)); // a figure the program cannot tell from nothing
    ASSERT_TRUE(WaitForCapture(main, L"認識NG"));
    ASSERT_TRUE(SetDemoFigure(game, 400));
    ASSERT_TRUE(WaitForMain(main, [](const MainTexts& t) { return t.increase == L"1000"; }))
        << "increase shown: " << Utf8(ReadMain(main).increase);

    // A minute after the first reading the rate appears: 1000 EXP in 60 to 80 s.
    ASSERT_TRUE(WaitForMain(
        main, [](const MainTexts& t) { return !t.rate.empty(); }, Millis{80000}));
    EXPECT_GE(std::chrono::steady_clock::now() - firstSeen, std::chrono::seconds(59));
    const MainTexts rated = ReadMain(main);
    EXPECT_TRUE(MatchesPattern(rated.rate, L"時給 dd,ddd")) << Utf8(rated.rate);
    std::wstring rateDigits = rated.rate.substr(3);
    rateDigits.erase(std::remove(rateDigits.begin(), rateDigits.end(), L','), rateDigits.end());
    EXPECT_GE(std::stoi(rateDigits), 45000);
    EXPECT_LE(std::stoi(rateDigits), 60000);

    // A pause: no capture runs, and its time does not count for the rate.
    ASSERT_EQ(ChooseMenu(main, {L"一時停止"}), MenuResult::Chosen);
    ASSERT_TRUE(WaitForLineEnding(File(kDebugLog), L"Loging Pause･･･ "));
    const int capturesBefore = CountRecords(kMemoryRecordStart);
    Sleep(15000);
    EXPECT_EQ(CountRecords(kMemoryRecordStart), capturesBefore) << "a capture while paused";
    ASSERT_EQ(ChooseMenu(main, {L"再開"}), MenuResult::Chosen);
    ASSERT_TRUE(
        WaitUntil([&] { return CountRecords(kMemoryRecordStart) > capturesBefore; }, kCaptureWait));
    ASSERT_TRUE(WaitForMain(main, [&](const MainTexts& t) { return t.rate != rated.rate; }));
    std::wstring resumed = ReadMain(main).rate.substr(3);
    resumed.erase(std::remove(resumed.begin(), resumed.end(), L','), resumed.end());
    // 15 s more of a 60 s measurement would take a fifth off; a few seconds of captures only.
    EXPECT_GE(std::stoi(resumed), std::stoi(rateDigits) * 88 / 100) << Utf8(resumed);

    // The stop keeps the panel; the summary carries the increase.
    ASSERT_EQ(ChooseMenu(main, {L"停止"}), MenuResult::Chosen);
    ASSERT_TRUE(WaitForLineEnding(File(kDebugLog), L"Loging Stop･･･End "));
    const MainTexts stopped = ReadMain(main);
    EXPECT_EQ(stopped.increase, L"1000");
    ASSERT_FALSE(stopped.rate.empty());
    rateDigits = stopped.rate.substr(3);
    rateDigits.erase(std::remove(rateDigits.begin(), rateDigits.end(), L','), rateDigits.end());
    EXPECT_NE(stopped.log.find(L"  Exp:" + std::wstring(8, L' ') + L"1,000 \r\n\r\n"),
              std::wstring::npos)
        << Utf8(stopped.log);

    // The journal: one file, named after the first reading, one line per capture.
    const auto journals = Files(L"ExpLog_*.csv");
    ASSERT_EQ(journals.size(), 1u);
    const std::wstring journal = journals[0];
    ASSERT_TRUE(MatchesPattern(journal, L"ExpLog_dddddddddddddd.csv")) << Utf8(journal);
    const auto bytes = Bytes(journal);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_TRUE(bytes->starts_with(
        AnsiBytes(L"時刻,Exp,増減,増加量,時給,出来事,%,次のLvまで,直近10分\r\n")));
    const auto lines = SplitLines(*Text(journal));
    ASSERT_GE(lines.size(), 7u);
    // The lines whose figure changed (or was not read), without their timestamps.
    std::vector<std::wstring> changes;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        ASSERT_TRUE(MatchesPattern(lines[i].substr(0, 20), L"dddd/dd/dd dd:dd:dd,"))
            << Utf8(lines[i]);
        const std::wstring rest = lines[i].substr(20);
        const std::size_t comma = rest.find(L',');
        if (rest.compare(comma, 3, L",0,") != 0) {
            changes.push_back(rest);
        }
    }
    const std::wstring& t = lines[1];
    EXPECT_EQ(journal.substr(7, 14), t.substr(0, 4) + t.substr(5, 2) + t.substr(8, 2) +
                                         t.substr(11, 2) + t.substr(14, 2) + t.substr(17, 2));
    ASSERT_GE(changes.size(), 8u);
    // The demo's level is 1,500,000: each figure with its share, cut off at two decimals.
    EXPECT_EQ(changes[0], L"1000000,,0,,開始,66.66,,");
    EXPECT_EQ(changes[1], L"1000500,+500,500,,,66.70,,");
    EXPECT_EQ(changes[2], L"1000800,+300,800,,,66.72,,");
    EXPECT_EQ(changes[3], L"200,-1000600,800,,LvUP or Dead,0.01,,");
    EXPECT_EQ(changes[4], L",,800,,認識NG,,,");
    EXPECT_EQ(changes[changes.size() - 3], L"400,+200,1000,,,0.02,,");
    // The pause's and the resume's rows, without a figure.
    EXPECT_TRUE(MatchesPattern(changes[changes.size() - 2].substr(0, 13), L",,1000,ddddd,"))
        << Utf8(changes[changes.size() - 2]);
    EXPECT_NE(changes[changes.size() - 2].find(L",一時停止,"), std::wstring::npos);
    EXPECT_NE(changes.back().find(L",再開,"), std::wstring::npos) << Utf8(changes.back());
    // The last line's rate is the panel's; under ten minutes the recent rate is the same.
    EXPECT_TRUE(lines.back().ends_with(L",1000," + rateDigits + L",,0.02,," + rateDigits))
        << Utf8(lines.back());

    ASSERT_TRUE(RequestClose(main));
    ExpectCleanExit();
}

// A level-up whose first picture cannot be saved (a folder has its name) runs to its end on
// time; the error box opens after it, and the measurement goes on behind the box.
TEST_F(MeasurementTest, LevelUpWhosePictureCannotBeSavedRunsToItsEnd) {
    ASSERT_NO_FATAL_FAILURE(MeasureTheGame(1400000));
    for (int s = 0; s <= 20; ++s) {
        ASSERT_TRUE(
            CreateDirectoryW(File(L"LvUP_" + LocalStampIn(s) + L"_a.bmp").c_str(), nullptr));
    }
    ASSERT_TRUE(SetDemoFigure(game_, 1000));
    ASSERT_TRUE(WaitForLineEnding(File(kDebugLog), L"Print Screen･･･End ")) << "held up by the box";
    EXPECT_TRUE(ReadMain(main_).log.ends_with(kFallText));
    EXPECT_EQ(Files(L"LvUP_*_?.bmp").size(), 21u + 3u) << "the folders, then _b, _c and _d";
    const auto box = WaitForMessageBox(kErrorTitle, kDefaultWait, program_->Id());
    ASSERT_TRUE(box.has_value());
    EXPECT_TRUE(box->text.starts_with(L"画像を保存できませんでした。")) << Utf8(box->text);
    EXPECT_TRUE(box->text.ends_with(L"_a.bmp")) << Utf8(box->text);
    ASSERT_TRUE(SetDemoFigure(game_, 1500));
    ASSERT_TRUE(BringToFront(game_));
    EXPECT_TRUE(WaitForCapture(main_, L"1500", kDeferredCaptureWait));
    EXPECT_TRUE(PressButton(box->hwnd));
    ASSERT_TRUE(RequestClose(main_));
    ExpectCleanExit();
}

// The demo game draws the percent beside its rising figure: once the level's total is known
// and the rate is shown, the EXP line gives the time to the next level, and the journal the
// percent and the same time.
TEST_F(MeasurementTest, PercentBesideTheFigureGivesTheTimeToTheNextLevel) {
    game_ = StartGame(L"--demo");
    ASSERT_NE(game_, nullptr);
    main_ = StartMeasuring(game_);
    ASSERT_NE(main_, nullptr);
    const auto levelLine = [&] {
        const auto row = RowRightOf(ChildWindows(main_), L"Exp読込→");
        return row.size() >= 2 ? WindowText(row[1]) : std::wstring();
    };
    ASSERT_TRUE(WaitUntil([&] { return levelLine().find(L'%') != std::wstring::npos; },
                          kDeferredCaptureWait))
        << Utf8(levelLine());
    // The rate needs a minute; the demo levels up about then, and the new level's total follows.
    ASSERT_TRUE(WaitUntil(
        [&] { return levelLine().find(L"\r\n次のLvまで ") != std::wstring::npos; }, Millis{100000}))
        << Utf8(levelLine());
    const std::wstring line = levelLine();
    const std::wstring time = line.substr(line.find(L"まで ") + 3);
    EXPECT_TRUE(MatchesPattern(time, L"d:dd") || MatchesPattern(time, L"dd:dd")) << Utf8(line);
    PauseForScreenshot(main_);
    ASSERT_TRUE(RequestClose(main_));
    ExpectCleanExit();

    const auto journals = Files(L"ExpLog_*.csv");
    ASSERT_EQ(journals.size(), 1u);
    const auto lines = SplitLines(Text(journals[0]).value_or(L""));
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], L"時刻,Exp,増減,増加量,時給,出来事,%,次のLvまで,直近10分");
    // The line that the panel's time came from has the percent and a time in those columns.
    const bool timed = std::any_of(lines.begin() + 1, lines.end(), [](const std::wstring& l) {
        std::vector<std::wstring> cells{L""};
        for (const wchar_t c : l) {
            if (c == L',') {
                cells.emplace_back();
            } else {
                cells.back().push_back(c);
            }
        }
        return cells.size() == 9 && cells[6].find(L'.') != std::wstring::npos &&
               cells[7].find(L':') != std::wstring::npos;
    });
    EXPECT_TRUE(timed) << Utf8(lines.back());
}

// A spreadsheet holding the journal open (reading, refusing writers) costs no line: the lines
// wait and follow once the file is free; those still waiting when the player chooses
// "ファイル" > "終了" go to a file of their own before the program ends. The debug log records
// each failure and its end, not every line, and "End of Program " stays its last record.
TEST_F(MeasurementTest, JournalHeldOpenByAnotherProgramLosesNoLine) {
    ASSERT_NO_FATAL_FAILURE(MeasureTheGame(5000));
    const std::wstring journal = Files(L"ExpLog_*.csv").at(0);
    HANDLE held = INVALID_HANDLE_VALUE;
    ASSERT_TRUE(HoldFile(journal, held));
    ASSERT_TRUE(SetDemoFigure(game_, 6000));
    ASSERT_TRUE(WaitForLineEnding(File(kDebugLog), L"Journal write failed: " + journal));
    ASSERT_TRUE(WaitForCapture(main_, L"6000"));
    CloseHandle(held);
    ASSERT_TRUE(WaitForLineEnding(File(kDebugLog), L"Journal write resumed: " + journal));
    ASSERT_TRUE(HoldFile(journal, held));
    ASSERT_TRUE(SetDemoFigure(game_, 7000));
    ASSERT_TRUE(WaitForCapture(main_, L"7000"));
    ASSERT_EQ(ChooseMenu(main_, {L"ファイル", L"終了"}), MenuResult::Chosen);
    ASSERT_TRUE(program_->WaitForExit());
    CloseHandle(held);
    const std::wstring rest = journal.substr(0, 21) + L"_2.csv";
    EXPECT_TRUE(HasRecord(L"Journal continued in: " + rest));
    EXPECT_EQ(CountRecords(L"Journal write failed: "), 2);
    EXPECT_EQ(Messages().back(), L"End of Program ");

    // Every capture has its line, in time order, in one file or the other.
    auto lines = SplitLines(Text(journal).value_or(L""));
    const auto more = SplitLines(Text(rest).value_or(L""));
    ASSERT_FALSE(more.empty());
    EXPECT_EQ(more.at(0), lines.at(0)) << "a header of its own";
    lines.insert(lines.end(), more.begin() + 1, more.end());
    EXPECT_EQ(static_cast<int>(lines.size()) - 1, CountRecords(kMemoryRecordStart));
    EXPECT_TRUE(std::is_sorted(lines.begin() + 1, lines.end(), [](const auto& a, const auto& b) {
        return a.substr(0, 19) < b.substr(0, 19);
    }));
}

// A stop while the journal is held, with every line already written, leaves no other file.
TEST_F(MeasurementTest, StopWhileTheJournalIsHeldWithNothingWaitingMakesNoFile) {
    ASSERT_NO_FATAL_FAILURE(MeasureTheGame(5000));
    // Out of the front, the game is captured again only in ten seconds: no line comes.
    ASSERT_TRUE(BringToFront(main_));
    const std::wstring journal = Files(L"ExpLog_*.csv").at(0);
    HANDLE held = INVALID_HANDLE_VALUE;
    ASSERT_TRUE(HoldFile(journal, held));
    ASSERT_EQ(ChooseMenu(main_, {L"停止"}), MenuResult::Chosen);
    ASSERT_TRUE(WaitForLineEnding(File(kDebugLog), L"Loging Stop･･･End "));
    CloseHandle(held);
    EXPECT_EQ(Files(L"ExpLog_*.csv"), std::vector<std::wstring>{journal});
    EXPECT_EQ(CountRecords(L"Journal write failed: "), 0);
    ASSERT_TRUE(RequestClose(main_));
    ExpectCleanExit();
}

} // namespace
} // namespace qv::e2e

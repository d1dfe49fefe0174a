#include "tests/e2e/e2e_fixture.h"

#include "tests/common/config_texts.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwctype>

namespace qv::e2e {

namespace {

// "yyyy/mm/dd hh:mm:ss " with digits where the pattern has 'd'.
bool HasTimestamp(std::wstring_view line) {
    constexpr std::wstring_view pattern = L"dddd/dd/dd dd:dd:dd ";
    if (line.size() < pattern.size()) {
        return false;
    }
    for (size_t i = 0; i < pattern.size(); ++i) {
        bool digit = line[i] >= L'0' && line[i] <= L'9';
        if (pattern[i] == L'd' ? !digit : line[i] != pattern[i]) {
            return false;
        }
    }
    return true;
}

std::wstring BinaryDirectory() {
#ifdef QV_BINARY_DIR
    return WindowsPathFromUnix(QV_BINARY_DIR);
#else
    return ExeDirectory();
#endif
}

} // namespace

DebugLog ParseDebugLog(std::wstring_view text) {
    // The last start record begins the current run's part; a log that a run appended to
    // instead of starting afresh shows as more than one start record.
    DebugLog log;
    std::vector<std::wstring> lines = SplitLines(text);
    size_t start = lines.size();
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == kStartRecord) {
            ++log.startRecords;
            start = i;
        }
    }
    if (start == lines.size()) {
        log.header = std::move(lines);
        return log;
    }
    log.hasStartRecord = true;
    size_t headerBegin = start;
    while (headerBegin > 0 && !HasTimestamp(lines[headerBegin - 1])) {
        --headerBegin;
    }
    log.header.assign(lines.begin() + static_cast<std::ptrdiff_t>(headerBegin),
                      lines.begin() + static_cast<std::ptrdiff_t>(start));
    for (size_t i = start + 1; i < lines.size(); ++i) {
        if (HasTimestamp(lines[i])) {
            log.records.push_back({lines[i].substr(0, 19), lines[i].substr(20)});
        } else {
            log.records.push_back({L"", lines[i]});
        }
    }
    return log;
}

std::vector<std::wstring> MessagesWithoutLayout(const std::vector<LogRecord>& records) {
    std::vector<std::wstring> out;
    for (const auto& r : records) {
        if (r.message != kLayoutRecord) {
            out.push_back(r.message);
        }
    }
    return out;
}

std::string AnsiBytes(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    int n = WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
}

std::string DefaultConfigFile() {
    return AnsiBytes(test::WrittenConfigText());
}

DWORD ProcessOf(HWND hwnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return pid;
}

HWND VisibleTopWindow(std::wstring_view title, DWORD pid) {
    HWND found = nullptr;
    WaitUntil([&] {
        for (const auto& w : TopLevelWindows(pid)) {
            if (w.visible && w.text == title) {
                found = w.hwnd;
                return true;
            }
        }
        return false;
    });
    return found;
}

void MouseAt(POINT screen, DWORD buttons) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    SendInput(1, &in, sizeof(in));
    Sleep(100);
}

RECT RectOf(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

POINT CentreOf(HWND hwnd) {
    const RECT r = RectOf(hwnd);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void PauseForScreenshot(HWND window) {
    const char* pause = std::getenv("QV_SCREENSHOT_PAUSE_MS");
    if (pause == nullptr) {
        return;
    }
    BringToFront(window);
    RECT r{};
    GetWindowRect(window, &r);
    std::printf("screenshot: %ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(std::atoi(pause)));
}

std::wstring LocalStampIn(int seconds) {
    SYSTEMTIME at{};
    GetLocalTime(&at);
    FILETIME file{};
    SystemTimeToFileTime(&at, &file);
    ULARGE_INTEGER ticks{{file.dwLowDateTime, file.dwHighDateTime}};
    ticks.QuadPart += static_cast<LONGLONG>(seconds) * 10'000'000;
    file = {ticks.LowPart, ticks.HighPart};
    FileTimeToSystemTime(&file, &at);
    wchar_t stamp[16];
    swprintf(stamp, 16, L"%04u%02u%02u%02u%02u%02u", at.wYear, at.wMonth, at.wDay, at.wHour,
             at.wMinute, at.wSecond);
    return stamp;
}

std::wstring ProgramExe() {
    return JoinPath(BinaryDirectory(), L"Quorvane.exe");
}
std::wstring DemoGameExe() {
    return JoinPath(BinaryDirectory(), L"DemoGame.exe");
}

void ProgramTest::SetUp() {
    ASSERT_TRUE(folder_.ok());
    ASSERT_TRUE(folder_.CopyIn(ProgramExe())) << "build the Quorvane target first";
}

void ProgramTest::TearDown() {
    if (HasFailure()) {
        auto text = Text(kDebugLog);
        std::fprintf(stderr, "---- debug.txt of the failed scenario ----\n%s\n----\n",
                     text ? Utf8(*text).c_str() : "(cannot be read)");
    }
    processes_.clear(); // ends whatever still runs before the folder goes
}

Process* ProgramTest::Launch() {
    auto process = Process::Launch(folder_.File(L"Quorvane.exe"));
    EXPECT_TRUE(process) << "cannot start Quorvane.exe";
    if (!process) {
        return nullptr;
    }
    processes_.push_back(std::move(*process));
    return &processes_.back();
}

HWND ProgramTest::WaitUntilReady(const Process& process) {
    HWND main = FindTopWindow(kMainWindowTitle, kDefaultWait, process.Id());
    EXPECT_NE(main, nullptr) << "no main window";
    // Ready when this run's part of the log holds the last start-up record.
    auto deadline = std::chrono::steady_clock::now() + kDefaultWait;
    bool ready = false;
    while (!ready && std::chrono::steady_clock::now() < deadline) {
        for (const auto& record : Log().records) {
            ready = ready || record.message == kStartupDoneRecord;
        }
        if (!ready) {
            Sleep(50);
        }
    }
    EXPECT_TRUE(ready) << "start-up did not finish";
    return main && ready ? main : nullptr;
}

HWND ProgramTest::Start() {
    Process* process = Launch();
    return process ? WaitUntilReady(*process) : nullptr;
}

HWND ProgramTest::StartGame(std::wstring_view args) {
    auto process = Process::Launch(DemoGameExe(), args);
    EXPECT_TRUE(process) << "cannot start DemoGame.exe";
    if (!process) {
        return nullptr;
    }
    DWORD pid = process->Id();
    processes_.push_back(std::move(*process));
    HWND game = FindTopWindow(kGameTitle, kDefaultWait, pid);
    EXPECT_NE(game, nullptr);
    return game;
}

void ProgramTest::CloseProgram(HWND main, Process& program) {
    ASSERT_TRUE(RequestClose(main));
    EXPECT_TRUE(program.WaitForExit());
}

HWND ProgramTest::OpenOptions(HWND main) {
    EXPECT_EQ(ChooseMenu(main, {L"設定"}), MenuResult::Chosen);
    HWND options = VisibleTopWindow(kOptionsTitle, ProcessOf(main));
    EXPECT_NE(options, nullptr) << "no options window";
    return options;
}

std::optional<std::string> ProgramTest::Bytes(std::wstring_view name) const {
    return ReadFileBytes(File(name));
}

std::optional<std::wstring> ProgramTest::Text(std::wstring_view name) const {
    return ReadAnsiText(File(name));
}

std::vector<std::wstring> ProgramTest::Files(std::wstring_view pattern) const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data{};
    const HANDLE find = FindFirstFileW(File(pattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        names.emplace_back(data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

DebugLog ProgramTest::Log() const {
    auto text = Text(kDebugLog);
    return text ? ParseDebugLog(*text) : DebugLog{};
}

std::vector<std::wstring> ProgramTest::Messages() const {
    std::vector<std::wstring> out;
    for (const auto& r : Log().records) {
        out.push_back(r.message);
    }
    return out;
}

} // namespace qv::e2e

// What every end-to-end scenario shares: a fresh run folder with a copy of Quorvane.exe,
// starting it (and the demo game), waiting for start-up, and reading the files it writes.
//
// A new scenario is a TEST_F(ProgramTest, ...) that calls Start(), works the windows
// through the driver and asserts on Text()/Bytes()/Records().
#pragma once

#include "services/program_identity.h"
#include "tools/driver/driver.h"

#include <deque>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace qv::e2e {

inline constexpr wchar_t kDebugLog[] = L"debug.txt";
inline constexpr wchar_t kDebugBackup[] = L"debugBackUp.txt";
inline constexpr wchar_t kConfigFile[] = L"QvanConfig.ini";
inline constexpr wchar_t kConfigBackup[] = L"QvanConfigBack.ini";
inline constexpr wchar_t kStartRecord[] = L"Starting Program " QV_PROGRAM_VERSION L"･･･";
inline constexpr wchar_t kStartupDoneRecord[] = L"All Form Loading･･･End ";
inline constexpr wchar_t kLayoutRecord[] = L"Resaizing Form ･･･End ";
// The options dialog's title.
inline constexpr wchar_t kOptionsTitle[] = L"オプション";
// The start of the memory record that every recognition writes.
inline constexpr wchar_t kMemoryRecordStart[] = L"Available Physical Memory";
// The popup's message while the game is not running.
inline constexpr wchar_t kGameMissingText[] = QV_GAME_TITLE L"が起動していません";

// One line of debug.txt after the header: "yyyy/mm/dd hh:mm:ss " + message.
struct LogRecord {
    std::wstring timestamp; // empty when the line has no well-formed timestamp
    std::wstring message;
};

// debug.txt split at the (last) start record, kStartRecord.
struct DebugLog {
    std::vector<std::wstring> header; // the untimestamped lines right before it
    bool hasStartRecord = false;
    int startRecords = 0;           // more than one: a run appended to an old log
    std::vector<LogRecord> records; // the lines after it
};

DebugLog ParseDebugLog(std::wstring_view text);
// The records' messages without the layout records, which appear wherever the window is
// laid out.
std::vector<std::wstring> MessagesWithoutLayout(const std::vector<LogRecord>& records);
// Wide text to code page 932 bytes, through the system (independent of the program's code).
std::string AnsiBytes(std::wstring_view text);
// The configuration file the program writes from its defaults.
std::string DefaultConfigFile();
// The process that owns a window.
DWORD ProcessOf(HWND hwnd);
// The mouse as the system sees it: moved to a screen point, the left button pressed and/or
// released there (MOUSEEVENTF_LEFTDOWN, _LEFTUP, or 0 to move only), hit-tested like a hand.
void MouseAt(POINT screen, DWORD buttons);
RECT RectOf(HWND hwnd);
POINT CentreOf(HWND hwnd);
// Waits for a visible top-level window of the process with exactly this title.
HWND VisibleTopWindow(std::wstring_view title, DWORD pid);
// For the README's pictures: with QV_SCREENSHOT_PAUSE_MS set, the window stays in front for
// that long while tools/screenshot.sh takes the display; its place on the screen is printed
// for cropping.
void PauseForScreenshot(HWND window);
// "yyyymmddhhmmss", the local time `seconds` from now as the program stamps its file names.
std::wstring LocalStampIn(int seconds);
// Full paths of the programs under test.
std::wstring ProgramExe();
std::wstring DemoGameExe();

class ProgramTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the copy in the run folder; nullptr-free process or a test failure.
    Process* Launch();
    // Starts the program and waits for its main window and the end of start-up.
    // Returns the main window, or nullptr after a test failure.
    HWND Start();
    HWND WaitUntilReady(const Process& process);
    // The demo game, started from the build folder.
    HWND StartGame(std::wstring_view args = {});
    // Closes the main window as its close box does and waits for the program to end.
    void CloseProgram(HWND main, Process& program);
    // "設定" and the options window it shows; nullptr after a test failure.
    HWND OpenOptions(HWND main);

    std::wstring File(std::wstring_view name) const { return folder_.File(name); }
    std::optional<std::string> Bytes(std::wstring_view name) const;
    std::optional<std::wstring> Text(std::wstring_view name) const;
    bool Exists(std::wstring_view name) const { return PathExists(File(name)); }
    // The names in the run folder that match a wildcard pattern ("ExpLog_*.csv"), sorted.
    std::vector<std::wstring> Files(std::wstring_view pattern) const;
    DebugLog Log() const;
    std::vector<std::wstring> Messages() const;

    RunFolder folder_;
    std::deque<Process> processes_; // ended at teardown if still running (stable addresses)
};

} // namespace qv::e2e

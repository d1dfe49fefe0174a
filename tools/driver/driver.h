// End-to-end driver: starts programs in throw-away folders and works their windows from the
// outside the way a user would (window titles, control texts, menu captions, message-box
// buttons, the close box). Every wait polls with a timeout; a failed wait prints what was
// expected and what exists, so a red scenario says why.
#pragma once

#include "services/program_identity.h"

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::e2e {

using Millis = std::chrono::milliseconds;
inline constexpr Millis kDefaultWait{8000};

// ---- text and paths -------------------------------------------------------------------

std::string Utf8(std::wstring_view text);
std::wstring Widen(std::string_view utf8);
// "/work/x/build" -> "Z:\work\x\build" (Wine maps the Unix root to drive Z:).
std::wstring WindowsPathFromUnix(std::string_view unixPath);
// Folder of the running executable, without a trailing backslash.
std::wstring ExeDirectory();
std::wstring JoinPath(std::wstring_view folder, std::wstring_view name);
// Splits at CR LF (a lone LF also ends a line); no empty entry after a final line end.
std::vector<std::wstring> SplitLines(std::wstring_view text);

// ---- files ----------------------------------------------------------------------------

std::optional<std::string> ReadFileBytes(const std::wstring& path);
// The file's bytes as code page 932, converted to wide text.
std::optional<std::wstring> ReadAnsiText(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, std::string_view bytes);
bool PathExists(const std::wstring& path);
// Polls until the condition holds; false when the timeout passes first.
bool WaitUntil(const std::function<bool()>& condition, Millis timeout = kDefaultWait);

// Polls until some line of the CP932 file satisfies the predicate.
bool WaitForFileLine(const std::wstring& path, const std::function<bool(std::wstring_view)>& match,
                     Millis timeout = kDefaultWait);
// Polls until a line ends with the text (records carry a timestamp before the message).
bool WaitForLineEnding(const std::wstring& path, std::wstring_view suffix,
                       Millis timeout = kDefaultWait);

// A fresh, empty folder under the temporary folder, deleted with its contents at the end.
class RunFolder {
  public:
    RunFolder();
    ~RunFolder();
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;

    bool ok() const { return !path_.empty(); }
    const std::wstring& Path() const { return path_; }
    std::wstring File(std::wstring_view name) const { return JoinPath(path_, name); }
    // Copies a file into the folder under its own name (or the given one).
    bool CopyIn(const std::wstring& source, std::wstring_view name = {}) const;
    void Keep() { keep_ = true; } // leave it on disk for a post-mortem

  private:
    std::wstring path_;
    bool keep_ = false;
};

// ---- processes ------------------------------------------------------------------------

class Process {
  public:
    // Starts exe (full path) with the arguments, in its own folder as current directory.
    static std::optional<Process> Launch(const std::wstring& exe, std::wstring_view args = {});
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process(); // kills the process if it still runs

    DWORD Id() const { return pid_; }
    bool Running() const;
    bool WaitForExit(Millis timeout = kDefaultWait);
    std::optional<DWORD> ExitCode() const;
    void Kill();

  private:
    Process(HANDLE process, DWORD pid) : process_(process), pid_(pid) {}
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// ---- windows --------------------------------------------------------------------------

struct WindowInfo {
    HWND hwnd = nullptr;
    std::wstring className;
    std::wstring text;
    int id = 0; // control id for child windows
    bool visible = false;
    DWORD pid = 0;
};

std::wstring WindowText(HWND hwnd);
std::wstring ClassName(HWND hwnd);
std::vector<WindowInfo> TopLevelWindows(DWORD pid = 0);
// Every descendant control, in EnumChildWindows order.
std::vector<WindowInfo> ChildWindows(HWND parent);
std::vector<std::wstring> ChildTexts(HWND parent);
// First child (any depth) with the control id / with the exact text; nullptr if none.
HWND FindChildById(HWND parent, int id);
HWND FindChildByText(HWND parent, std::wstring_view text);

// A top-level window with exactly this title (of that process when pid is not 0).
HWND FindTopWindow(std::wstring_view title, Millis timeout = kDefaultWait, DWORD pid = 0);
// True when no window of that title (and process) exists during the whole period.
bool NoTopWindowFor(std::wstring_view title, Millis period, DWORD pid = 0);
bool WaitWindowGone(HWND hwnd, Millis timeout = kDefaultWait);
// Asks the window to close through its close box (WM_CLOSE), as the user would.
bool RequestClose(HWND hwnd);
bool BringToFront(HWND hwnd);

struct MessageBoxInfo {
    HWND hwnd = nullptr;
    std::wstring title;
    std::wstring text; // the Static child's text
};
// A message box (dialog class #32770) with this title.
std::optional<MessageBoxInfo> WaitForMessageBox(std::wstring_view title,
                                                Millis timeout = kDefaultWait, DWORD pid = 0);
// Presses a dialog button by id (IDOK by default) and waits for the dialog to go away.
bool PressButton(HWND dialog, int buttonId = IDOK, Millis timeout = kDefaultWait);

// ---- menus (through the hook DLL inside the target) -----------------------------------

using MenuPath = std::vector<std::wstring>;

struct MenuItemState {
    std::wstring caption;
    UINT id = 0;
    bool enabled = false;
    bool checked = false;
    bool hasSubmenu = false;
    bool separator = false;
};

enum class MenuResult {
    Chosen,
    NoMenu,
    NotFound,
    NotCommand,
    Disabled,
    HookFailed, // the hook could not be installed or did not answer
};
const char* ToString(MenuResult result);

// Chooses the command at the caption path, e.g. {L"ファイル", L"終了"} or {L"開始"}.
MenuResult ChooseMenu(HWND window, const MenuPath& path);
// The items of the menu reached by the path ({} for the menu bar).
std::optional<std::vector<MenuItemState>> MenuItems(HWND window, const MenuPath& path = {});
// The item at the path (its state as the user would see it when opening the menu).
std::optional<MenuItemState> MenuItem(HWND window, const MenuPath& path);
// Folder of the hook DLL (default: the folder of the running exe).
void SetMenuHookDirectory(std::wstring folder);

// ---- the demo game --------------------------------------------------------------------

inline constexpr int kDemoFigureEditId = 100;
// Shows a new EXP figure in a running demo game.
bool SetDemoFigure(HWND game, std::uint64_t figure);
std::optional<std::uint64_t> DemoFigure(HWND game);

} // namespace qv::e2e

// Opens a document or a web address with the program the system associates with it, with the
// busy cursor while the other program starts; a missing file, or a target the shell cannot
// open, is reported instead.
#pragma once

#include "services/debug_log.h"
#include "services/message_sink.h"
#include "services/waiter.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

inline constexpr std::wstring_view kLaunchErrorTitle = L"実行エラー";

// True for a URL: a scheme name (two or more letters, digits, '+', '-', '.', starting with a
// letter) followed by "://". A drive letter never counts, so "C://x" stays a path.
bool IsWebAddress(std::wstring_view target);

// The last component of a path as the shell finds it: after the last '\', '/' or ':' that is
// followed by something other than a separator; empty for an empty path.
std::wstring FileNameOfPath(std::wstring_view path);

// The message shown for a file that does not exist.
std::wstring FileNotFoundMessage(std::wstring_view target);

// The message shown when the shell cannot open the target.
std::wstring OpenFailedMessage(std::wstring_view target);

// What the launcher needs of the system.
class LauncherHost {
  public:
    virtual ~LauncherHost() = default;
    virtual bool FileExists(std::wstring_view path) = 0;
    // Opens the target with its associated program ("open", shown normally); false when the
    // shell could not (no associated program, access denied, ...).
    [[nodiscard]] virtual bool ShellOpen(std::wstring_view target) = 0;
    // The application-wide mouse cursor: the hourglass or the default.
    virtual void SetBusyCursor(bool busy) = 0;
};

enum class LaunchOutcome {
    Opened,        // handed to the shell; start and finish records written
    NotFound,      // reported to the user and recorded
    OpenFailed,    // the shell could not open it: reported to the user and recorded
    QuitRequested, // the program began to quit during the wait: nothing more was done
};

// The wait, the message box and the debug log are the program's shared ones.
LaunchOutcome LaunchFile(std::wstring_view target, std::int32_t waitMilliseconds,
                         LauncherHost& host, Waiter& waiter, MessageSink& messages,
                         DebugLog& debugLog);

} // namespace qv

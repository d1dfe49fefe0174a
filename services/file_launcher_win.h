// The launcher on the real system: the shell opens the target, the program's busy cursor shows
// meanwhile and records go to the debug log.
#pragma once

#include "services/debug_log.h"
#include "services/file_launcher.h"
#include "win/busy_cursor_win.h"

namespace qv {

class Win32Launcher : public LauncherHost {
  public:
    Win32Launcher(DebugLog& debugLog, BusyCursor& cursor) : debugLog_(debugLog), cursor_(cursor) {}

    bool FileExists(std::wstring_view path) override;
    void ShellOpen(std::wstring_view target) override;
    void SetBusyCursor(bool busy) override;
    void WriteDebugLog(std::wstring_view message) override;

  private:
    DebugLog& debugLog_;
    BusyCursor& cursor_;
};

} // namespace qv

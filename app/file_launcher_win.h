// The launcher on the real system: the shell opens the target and the program's busy cursor
// shows meanwhile.
#pragma once

#include "services/file_launcher.h"
#include "win/busy_cursor_win.h"

namespace qv {

class Win32Launcher : public LauncherHost {
  public:
    explicit Win32Launcher(BusyCursor& cursor) : cursor_(cursor) {}

    bool FileExists(std::wstring_view path) override;
    bool ShellOpen(std::wstring_view target) override;
    void SetBusyCursor(bool busy) override;

  private:
    BusyCursor& cursor_;
};

} // namespace qv

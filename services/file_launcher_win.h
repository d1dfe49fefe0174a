// The launcher on the real system: the shell opens the target, the wait keeps the program
// working, messages are message boxes and records go to the debug log.
#pragma once

#include "services/debug_log.h"
#include "services/file_launcher.h"
#include "services/message_sink.h"

namespace qv {

class Win32Launcher : public LauncherHost {
  public:
    Win32Launcher(DebugLog& debugLog, MessageSink& messages)
        : debugLog_(debugLog), messages_(messages) {}

    bool FileExists(std::wstring_view path) override;
    bool ShellOpen(std::wstring_view target) override;
    void SetBusyCursor(bool busy) override;
    bool WaitMilliseconds(std::int32_t milliseconds) override;
    void ShowMessage(std::wstring_view text, std::wstring_view title) override;
    void WriteDebugLog(std::wstring_view message) override;

  private:
    DebugLog& debugLog_;
    MessageSink& messages_;
};

} // namespace qv

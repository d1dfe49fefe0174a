// Entry point: the program state, the debug log and the program's windows, then the message loop.
#include "app/program_win.h"
#include "app/shell_services_win.h"
#include "app/system_info_win.h"
#include "measurement/program_state.h"
#include "services/debug_log.h"
#include "win/message_pump_win.h"
#include "win/ui_win.h"

#include <windows.h>

#include <commctrl.h>

namespace {

int RunProgram() {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);

    qv::ProgramState state;
    qv::MessageBoxSink messages;
    qv::SystemClock clock;
    qv::Win32DebugLogHost logHost;
    const std::filesystem::path folder = qv::ProgramFolder();
    qv::DebugLog debugLog(folder, clock, logHost, messages);

    qv::Program program(qv::ProgramServices{state, debugLog, messages, clock, folder});
    if (!program.Form_Load()) {
        return 0;
    }
    return qv::MessagePump::Instance().Run();
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    try {
        return RunProgram();
    } catch (...) {
        // Nothing a user or a disk can cause gets here; end quietly rather than crash.
        return 1;
    }
}

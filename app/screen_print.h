// The delayed screen print: ten seconds for the user to bring a window to the front, then
// that window is saved as PrtScr_yyyymmddhhmmss.bmp in the program's folder.
#pragma once

#include "config/settings.h"
#include "measurement/measurement_host.h"
#include "services/debug_log.h"
#include "services/local_time.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace qv {

inline constexpr std::int32_t kScreenPrintDelayMilliseconds = 10000;

// "PrtScr" + "_yyyymmddhhmmss" + ".bmp".
std::wstring ScreenPrintFileName(const LocalTime& time);

struct ScreenPrintContext {
    Desktop& desktop;
    Waiter& waiter;
    Clock& clock;
    DebugLog& debugLog;
    const Settings& settings; // read after the wait: the options may change meanwhile
    std::filesystem::path folder;
    std::function<void()> bringMainWindowToFront;
};

// Waits, saves, beeps when the settings ask for it, brings the main window back and records
// the end. A file that cannot be saved is recorded by name and the rest goes on. False when
// the program began to quit during the wait (nothing is saved then).
[[nodiscard]] bool PrintScreenDelayed(const ScreenPrintContext& context);

} // namespace qv

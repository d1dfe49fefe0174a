// The configuration file "QvanConfig.ini": its exact bytes, its reader and the
// read/reset/save operation the program runs at start-up and from the options dialog.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "config/settings.h"
#include "services/message_sink.h"

namespace qv {

inline constexpr std::wstring_view kConfigFileName = L"QvanConfig.ini";
inline constexpr std::wstring_view kConfigBackupFileName = L"QvanConfigBack.ini";
// A save writes here first and replaces the configuration file only when the whole
// text has been written.
inline constexpr std::wstring_view kConfigTempFileName = L"QvanConfig.ini.tmp";

// The complete file (code page 932, CR LF, ending with an empty line). The debug mode is
// not part of it.
std::string FormatConfigFile(const Settings& settings);

// Reads the six settings lines from the file's bytes. Nothing when the text is unreadable:
// too few items, a number that does not begin with a digit (after an optional sign) or
// does not fit 32 bits, a flag that is neither True/False (any case) nor a number, or
// values the program cannot run with (see IsRunnable). The result's debugMode is false.
std::optional<Settings> ParseConfigFile(std::string_view bytes);

struct ConfigFileContext {
    Settings& settings;
    std::filesystem::path programFolder;
    MessageSink& messages;
    // Runs at the end of every call, whatever happened (the capture-buffer sizing).
    std::function<void()> afterFileWork;
};

// The mode words of ProcessConfigFile.
enum class ConfigFileMode { READ, INIT, SAVE };

enum class ConfigFileResult {
    Read,       // a good file was read and left as it was
    Saved,      // the file was written (after a missing or unreadable file, too)
    SaveFailed, // writing failed; the previous file, if any, is unchanged
};

// READ: read the file into the settings; a missing file silently, an unreadable one after a
// message and a backup copy, become the defaults, which are then saved. INIT: defaults, then
// save. SAVE: write the settings. A failed write has been reported to the user through the
// message sink when this returns. The debug mode is never changed.
[[nodiscard]] ConfigFileResult ProcessConfigFile(ConfigFileMode mode,
                                                 const ConfigFileContext& context);

} // namespace qv

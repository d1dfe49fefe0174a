// The configuration file "QvanConfig.ini": its exact bytes, its reader and the
// read/reset/save operation the program runs at start-up and from the options dialog.
#pragma once

#include "config/settings.h"
#include "services/message_sink.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

inline constexpr std::wstring_view kConfigFileName = L"QvanConfig.ini";
inline constexpr std::wstring_view kConfigBackupFileName = L"QvanConfigBack.ini";

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
    // Debug records of the file work; none when empty.
    std::function<void(std::wstring_view)> writeDebugLog;
};

// The mode words of ProcessConfigFile.
enum class ConfigFileMode { READ, INIT, SAVE };

enum class ConfigFileResult {
    Read,       // a good file was read and left as it was
    Saved,      // the file was written (after a missing or unreadable file, too)
    Kept,       // an unreadable file whose backup failed was left as it was; defaults in use
    SaveFailed, // writing failed; the previous file, if any, is unchanged
};

// READ: read the file into the settings; a missing file silently, an unreadable one after a
// message and a backup copy, become the defaults, which are then saved. A file that cannot
// even be looked for counts as unreadable. When the backup copy fails, the unreadable file is
// kept as it is (it may be the only copy of the user's settings) and the defaults are used for
// this run only. INIT: defaults, then save. SAVE: write the settings. A failed write has been
// reported to the user through the message sink when this returns. The debug mode is never
// changed.
[[nodiscard]] ConfigFileResult ProcessConfigFile(ConfigFileMode mode,
                                                 const ConfigFileContext& context);

} // namespace qv

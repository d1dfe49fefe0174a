// The debug log: debug.txt beside the program, restarted at each program start with a header
// describing the machine, the previous run's file kept as debugBackUp.txt. Every record is
// written at once (open, write, close) in code page 932 with CR LF.
#pragma once

#include "services/local_time.h"
#include "services/message_sink.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace qv {

// Physical and virtual memory figures, in bytes. Held 64-bit so that machines with more than
// 4 GB report true values.
struct MemoryStatus {
    std::uint32_t memoryLoad = 0; // percentage of physical memory in use, 0 to 100
    std::uint64_t totalPhysical = 0;
    std::uint64_t availablePhysical = 0;
    std::uint64_t totalPageFile = 0;
    std::uint64_t availablePageFile = 0;
    std::uint64_t totalVirtual = 0;
    std::uint64_t availableVirtual = 0;
};

// Available physical memory in kilobytes, truncated.
std::int64_t AvailableKilobytes(const MemoryStatus& status);
// 100 minus the memory load.
std::int64_t FreeMemoryPercent(const MemoryStatus& status);

// "yyyy/mm/dd hh:mm:ss", 24-hour, every field after the year two digits.
std::wstring FormatTimestamp(const LocalTime& time);
// The timestamp of the present moment.
std::wstring CurrentTimestamp(Clock& clock);

// "  Available Physical Memory", the kilobytes in an 11-wide column, "kByte  ", the free
// percentage in a 5-wide column, "%" and CR LF.
std::wstring BuildMemoryLine(const MemoryStatus& status);
// The header that starts a new log file: the system description (already ending in CR LF, or
// empty), the memory line, the message and CR LF.
std::wstring BuildLogHeader(std::wstring_view systemDescription, const MemoryStatus& status,
                            std::wstring_view message);

// True when the path names an existing file or folder; false also when it cannot be examined.
bool FileExists(const std::filesystem::path& path);

// What the log needs of the machine. The Win32 shell reads the system; tests use fakes.
class DebugLogHost {
  public:
    virtual ~DebugLogHost() = default;
    virtual MemoryStatus QueryMemoryStatus() = 0;
    // The system description of the header: lines ending in CR LF, or empty.
    virtual std::wstring SystemDescription() = 0;
};

class DebugLog {
  public:
    static constexpr std::wstring_view kFileName = L"debug.txt";
    static constexpr std::wstring_view kBackupFileName = L"debugBackUp.txt";
    static constexpr std::wstring_view kStartTag = L"INIT";

    // The log files live in `folder` (the program's folder); records are stamped by `clock`.
    DebugLog(std::filesystem::path folder, Clock& clock, DebugLogHost& host, MessageSink& messages);

    // Tag exactly "INIT": keep the previous file as debugBackUp.txt and start debug.txt afresh
    // with the header and the message. Any other tag: append "timestamp message" when debug.txt
    // exists, otherwise start it with a header (without making a backup).
    // A record that cannot be written is dropped; the first such failure of a run is reported
    // once to the user and later ones are silent. Returns whether the record was written.
    bool Write(std::wstring_view message, std::wstring_view tag = {});

    std::filesystem::path LogPath() const;
    std::filesystem::path BackupPath() const;

  private:
    bool Append(std::wstring_view message);
    bool StartFile(std::wstring_view message, bool makeBackup);
    void ReportFailure();

    std::filesystem::path folder_;
    Clock& clock_;
    DebugLogHost& host_;
    MessageSink& messages_;
    bool failureReported_ = false;
};

} // namespace qv

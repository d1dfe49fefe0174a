#include "services/debug_log.h"

#include "base/ansi_text.h"
#include "base/column_format.h"
#include "base/file_copy.h"
#include "base/number_text.h"

#include <system_error>

namespace qv {
namespace {

constexpr std::wstring_view kNewLine = L"\r\n";
constexpr std::wstring_view kFailureTitle = L"デバッグログ";
constexpr std::wstring_view kFailureText =
    L"デバッグログ（debug.txt）に書き込めません。ログの記録を省いて続行します。";

// The memory columns are always valid (gap 1, no text), so the fallback is never used.
std::wstring Column(std::int64_t value, int width) {
    return FormatColumn(value, width, 1, 0, false).value_or(L" ");
}

} // namespace

std::int64_t AvailableKilobytes(const MemoryStatus& status) {
    return static_cast<std::int64_t>(status.availablePhysical / 1024);
}

std::int64_t FreeMemoryPercent(const MemoryStatus& status) {
    return 100 - static_cast<std::int64_t>(status.memoryLoad);
}

std::wstring FormatTimestamp(const LocalTime& time) {
    return ZeroPadded(time.year, 4) + L"/" + ZeroPadded(time.month, 2) + L"/" +
           ZeroPadded(time.day, 2) + L" " + ZeroPadded(time.hour, 2) + L":" +
           ZeroPadded(time.minute, 2) + L":" + ZeroPadded(time.second, 2);
}

std::wstring CurrentTimestamp(Clock& clock) {
    return FormatTimestamp(clock.Now());
}

std::wstring BuildMemoryLine(const MemoryStatus& status) {
    std::wstring line = L"  Available Physical Memory";
    line += Column(AvailableKilobytes(status), 11);
    line += L"kByte  ";
    line += Column(FreeMemoryPercent(status), 5);
    line += L"%";
    line += kNewLine;
    return line;
}

std::wstring BuildLogHeader(std::wstring_view systemDescription, const MemoryStatus& status,
                            std::wstring_view message) {
    std::wstring header(systemDescription);
    header += BuildMemoryLine(status);
    header += message;
    header += kNewLine;
    return header;
}

bool FileExists(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::exists(path, error) && !error;
}

DebugLog::DebugLog(std::filesystem::path folder, Clock& clock, DebugLogHost& host,
                   MessageSink& messages)
    : folder_(std::move(folder)), clock_(clock), host_(host), messages_(messages) {}

std::filesystem::path DebugLog::LogPath() const {
    return folder_ / kFileName;
}

std::filesystem::path DebugLog::BackupPath() const {
    return folder_ / kBackupFileName;
}

bool DebugLog::Write(std::wstring_view message, std::wstring_view tag) {
    const bool start = tag == kStartTag;
    const bool written =
        (!start && FileExists(LogPath())) ? Append(message) : StartFile(message, start);
    if (!written) {
        ReportFailure();
    }
    return written;
}

bool DebugLog::Append(std::wstring_view message) {
    std::wstring record = FormatTimestamp(clock_.Now());
    record += L' ';
    record += message;
    record += kNewLine;
    return WriteAnsiFile(LogPath(), record);
}

bool DebugLog::StartFile(std::wstring_view message, bool makeBackup) {
    const std::wstring header =
        BuildLogHeader(host_.SystemDescription(), host_.QueryMemoryStatus(), message);
    if (makeBackup && FileExists(LogPath())) {
        // Without a backup, truncating would lose the previous run's log: keep it and let
        // this run continue in the same file instead.
        if (!CopyFileReplacing(LogPath(), BackupPath())) {
            return WriteAnsiFile(LogPath(), header);
        }
    }
    return WriteAnsiFile(LogPath(), header, AnsiWrite::Replace);
}

void DebugLog::ReportFailure() {
    if (failureReported_) {
        return;
    }
    failureReported_ = true;
    messages_.ShowMessage(kFailureText, kFailureTitle);
}

} // namespace qv

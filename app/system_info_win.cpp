#include "app/system_info_win.h"

#include "base/ansi_text.h"

#include <windows.h>

#include <cstring>

namespace qv {
namespace {

static_assert(sizeof(OSVERSIONINFOA) == 148 && sizeof(OSVERSIONINFOEXA) == 156);

// Text of a fixed CHAR buffer up to its first NUL.
std::wstring FixedText(const CHAR (&buffer)[128]) {
    return FromAnsi(std::string_view(buffer, strnlen(buffer, sizeof(buffer))));
}

// GetVersionExA is deprecated but is the query whose answer the report describes.
#if defined(_MSC_VER)
#pragma warning(push)
#pragma warning(disable : 4996)
#else
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
template <typename Info> bool QueryVersionInfo(Info& info) {
    std::memset(&info, 0, sizeof(info));
    info.dwOSVersionInfoSize = sizeof(info);
    return GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info)) != FALSE;
}
#if defined(_MSC_VER)
#pragma warning(pop)
#else
#pragma GCC diagnostic pop
#endif

OsVersionRecord FromInfo(const OSVERSIONINFOA& info) {
    OsVersionRecord record;
    record.major = static_cast<std::int32_t>(info.dwMajorVersion);
    record.minor = static_cast<std::int32_t>(info.dwMinorVersion);
    record.build = static_cast<std::int32_t>(info.dwBuildNumber);
    record.platform = static_cast<std::int32_t>(info.dwPlatformId);
    record.servicePack = FixedText(info.szCSDVersion);
    return record;
}

} // namespace

std::optional<OsVersionRecord> Win32SystemQuery::QueryVersion(bool extended) {
    if (!extended) {
        OSVERSIONINFOA info;
        if (!QueryVersionInfo(info)) {
            return std::nullopt;
        }
        return FromInfo(info);
    }
    OSVERSIONINFOEXA info;
    if (!QueryVersionInfo(info)) {
        return std::nullopt;
    }
    OsVersionRecord record = FromInfo(*reinterpret_cast<const OSVERSIONINFOA*>(&info));
    record.servicePackMajor = static_cast<std::int16_t>(info.wServicePackMajor);
    record.servicePackMinor = static_cast<std::int16_t>(info.wServicePackMinor);
    record.suiteMask = static_cast<std::int16_t>(info.wSuiteMask);
    record.productType = info.wProductType;
    record.reserved = info.wReserved;
    return record;
}

ProcessorRecord Win32SystemQuery::QueryProcessor() {
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    ProcessorRecord record;
    record.architecture = static_cast<std::int16_t>(info.wProcessorArchitecture);
    record.numberOfProcessors = static_cast<std::int32_t>(info.dwNumberOfProcessors);
    record.processorType = static_cast<std::int32_t>(info.dwProcessorType);
    record.level = static_cast<std::int16_t>(info.wProcessorLevel);
    record.revision = static_cast<std::int16_t>(info.wProcessorRevision);
    return record;
}

std::wstring GetSystemDescription() {
    Win32SystemQuery query;
    return GetSystemDescription(query);
}

MemoryStatus QueryMemoryStatus() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    MemoryStatus record;
    if (!GlobalMemoryStatusEx(&status)) {
        return record;
    }
    record.memoryLoad = status.dwMemoryLoad;
    record.totalPhysical = status.ullTotalPhys;
    record.availablePhysical = status.ullAvailPhys;
    record.totalPageFile = status.ullTotalPageFile;
    record.availablePageFile = status.ullAvailPageFile;
    record.totalVirtual = status.ullTotalVirtual;
    record.availableVirtual = status.ullAvailVirtual;
    return record;
}

MemoryStatus Win32DebugLogHost::QueryMemoryStatus() {
    return qv::QueryMemoryStatus();
}

std::wstring Win32DebugLogHost::SystemDescription() {
    return GetSystemDescription();
}

} // namespace qv

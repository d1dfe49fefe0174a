// The Win32 side of the diagnostics: the real version, processor and memory queries, and the
// host through which the debug log reads the machine.
#pragma once

#include "services/debug_log.h"
#include "services/system_report.h"

namespace qv {

// GetVersionExA (148- or 156-byte record) and GetSystemInfo.
class Win32SystemQuery : public SystemQuery {
  public:
    std::optional<OsVersionRecord> QueryVersion(bool extended) override;
    ProcessorRecord QueryProcessor() override;
};

// The description of this machine (empty when the version cannot be read).
std::wstring GetSystemDescription();

// GlobalMemoryStatusEx, so the figures are true above 4 GB.
MemoryStatus QueryMemoryStatus();

// Memory and system description from the queries above.
class Win32DebugLogHost : public DebugLogHost {
  public:
    MemoryStatus QueryMemoryStatus() override;
    std::wstring SystemDescription() override;
};

} // namespace qv

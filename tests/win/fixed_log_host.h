// A clock standing at one moment and a machine with nothing to describe, for the debug log of
// the Windows-side dialog tests.
#pragma once

#include "services/debug_log.h"
#include "services/local_time.h"

namespace qv {

class FixedHost : public Clock, public DebugLogHost {
  public:
    LocalTime Now() override { return LocalTime{2024, 10, 2, 18, 4, 19, 0}; }
    std::uint32_t Milliseconds() override { return 0; }
    MemoryStatus QueryMemoryStatus() override { return {}; }
    std::wstring SystemDescription() override { return L""; }
};

} // namespace qv

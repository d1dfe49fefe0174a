// Local date and time as the program shows it, and the clock it reads them from.
#pragma once

#include <cstdint>

namespace qv {

struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// Wall clock and millisecond counter. The Win32 shell reads the system; tests use fakes.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual LocalTime Now() = 0;
    // Milliseconds since system start, wrapping at 2^32 like timeGetTime.
    virtual std::uint32_t Milliseconds() = 0;
};

} // namespace qv

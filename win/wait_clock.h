// The millisecond clock and the bookkeeping of a wait that may span the counter's wrap
// (every 2^32 ms, about 49.7 days).
#pragma once

#include <cstdint>

namespace qv {

// The counter as a non-negative number of milliseconds, 0 to 4294967295.
constexpr double MillisecondClockFromCounter(std::uint32_t counter) {
    const auto asSigned = static_cast<std::int32_t>(counter);
    double value = asSigned;
    if (value < 0) {
        value += 4294967295.0 + 1.0;
    }
    return value;
}

// A wait of `remaining` milliseconds from `start`. When the clock has wrapped since the
// start, the time before the wrap is taken off and the wait goes on counting from 0.
class WaitSpan {
  public:
    WaitSpan(double start, double milliseconds) : start_(start), remaining_(milliseconds) {}

    // True once the wait has lasted its time at clock value `now`.
    bool Elapsed(double now) {
        if (now - start_ < 0) {
            remaining_ -= 4294967295.0 - start_;
            start_ = 0;
        }
        return now - start_ >= remaining_;
    }
    double Remaining() const { return remaining_; }

  private:
    double start_;
    double remaining_;
};

} // namespace qv

// The event-processing wait, shared by every part of the core that waits: timer ticks, menu
// commands and a close can run inside it. The shell pumps messages; tests use fakes.
#pragma once

namespace qv {

enum class WaitResult {
    Elapsed,       // the time has passed
    QuitRequested, // the program is ending: the caller unwinds without further work
};

class Waiter {
  public:
    virtual ~Waiter() = default;
    [[nodiscard]] virtual WaitResult WaitMilliseconds(double milliseconds) = 0;
};

} // namespace qv

// The program-wide mouse cursor: while busy, every window of the program shows the hourglass,
// whatever its own WM_SETCURSOR handling does (a hook of this thread has the last word),
// message boxes and dialogs included. One object, owned by the program.
#pragma once

#include <windows.h>

namespace qv {

class BusyCursor {
  public:
    BusyCursor() = default;
    ~BusyCursor() { Unhook(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    // Busy shows the hourglass at once; not busy goes back to each window's own cursor at the
    // next mouse move. Not counted: the last call decides.
    void Set(bool busy);
    // For WM_SETCURSOR: shows the hourglass and returns true while the program is busy.
    bool ShowIfBusy() const;

  private:
    void Unhook();

    bool busy_ = false;
    // Installed only while busy, so the hook itself needs no state.
    HHOOK hook_ = nullptr;
};

} // namespace qv

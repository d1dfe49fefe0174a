// The program-wide mouse cursor: while busy, every window of the program shows the hourglass.
// Windows honour it in their WM_SETCURSOR handling. One object, owned by the program.
#pragma once

#include <windows.h>

namespace qv {

class BusyCursor {
  public:
    // Busy shows the hourglass at once; not busy goes back to each window's own cursor at the
    // next mouse move. Not counted: the last call decides.
    void Set(bool busy);
    // For WM_SETCURSOR: shows the hourglass and returns true while the program is busy.
    bool ShowIfBusy() const;

  private:
    bool busy_ = false;
};

} // namespace qv

// The application-wide mouse cursor: while busy, every window of the program shows the
// hourglass, whatever its own WM_SETCURSOR handling does (a hook of this thread has the last
// word), message boxes and dialogs included.
#pragma once

#include <windows.h>

namespace qv {

// Busy shows the hourglass at once; not busy goes back to each window's own cursor at the
// next mouse move. Not counted: the last call decides.
void SetApplicationBusyCursor(bool busy);
bool ApplicationCursorBusy();

// For WM_SETCURSOR: shows the hourglass and returns true while the application is busy.
bool ShowApplicationBusyCursor();

} // namespace qv

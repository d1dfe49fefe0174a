// The message pump shared by the main loop and every wait, so that timer ticks, menu
// commands, repaints and modeless dialogs keep working while the program waits.
#pragma once

#include <windows.h>

#include <vector>

namespace qv {

class MessagePump {
  public:
    static MessagePump& Instance();

    // Modeless dialogs whose keyboard handling (Tab, Enter) goes through IsDialogMessage.
    void AddDialog(HWND dialog);
    void RemoveDialog(HWND dialog);

    // Dispatches every pending message. False once WM_QUIT was met: it is posted again so the
    // outer loop sees it too, and every later wait returns at once.
    bool ProcessPending();
    // The main loop; returns the exit code of WM_QUIT.
    int Run();
    bool QuitRequested() const { return quitRequested_; }

  private:
    void Dispatch(MSG& msg);
    std::vector<HWND> dialogs_;
    bool quitRequested_ = false;
    int exitCode_ = 0;
};

// timeGetTime as a non-negative number of milliseconds.
double MillisecondClock();

// Waits at least `milliseconds` (at least one 1 ms sleep and one pass of message processing,
// even for 0). False when the program began to quit during the wait.
[[nodiscard]] bool WaitMilliseconds(double milliseconds);

} // namespace qv

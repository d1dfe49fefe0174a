// The message pump shared by the main loop, the modal windows and every wait, so that timer
// ticks, menu commands, repaints and modeless dialogs keep working while the program waits.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace qv {

class MessagePump {
  public:
    static MessagePump& Instance();

    // Dialogs whose keyboard handling (Tab, Enter) goes through IsDialogMessage; every dialog
    // of the program is added as it is built and removed as it goes.
    void AddDialog(HWND dialog);
    void RemoveDialog(HWND dialog);
    bool HasDialog(HWND dialog) const;

    // Dispatches every pending message. False once WM_QUIT was met: it is posted again so the
    // outer loop sees it too, and every later wait returns at once. Inside a wait, posted tasks
    // (RunTasksMessage) are held back and posted again when the outermost wait ends.
    bool ProcessPending();
    // The main loop; returns the exit code of WM_QUIT.
    int Run();

    // The one modal loop, for a dialog already shown and in the dialog list (as every DialogBase
    // window is, which gives it its keyboard handling): `owner` is disabled (its timers keep
    // running) and every message is dispatched until `dialog` is hidden or destroyed. False when
    // the program began to quit meanwhile; the dialog is then left as it is for the caller to
    // close.
    bool RunModal(HWND dialog, HWND owner);
    // Enables the owner again before the modal dialog goes, so that the owner, not some other
    // program, becomes the active window. RunModal does it too when the dialog did not.
    void EndModal(HWND dialog);

    // WaitMilliseconds around its pumping: a task held back is posted again when the last one
    // ends, so the task runs after whatever the waits belong to (a level-up's pictures).
    void EnterWait() { ++waits_; }
    void LeaveWait();

  private:
    struct ModalOwner {
        HWND dialog;
        HWND owner;
    };
    void Dispatch(MSG& msg);
    std::vector<HWND> dialogs_;
    std::vector<ModalOwner> disabledOwners_;
    int waits_ = 0;
    std::vector<HWND> heldTasks_;
    bool quitRequested_ = false;
    int exitCode_ = 0;
};

// The message by which a window runs the tasks posted to it (BaseWindow::PostTask).
UINT RunTasksMessage();

// timeGetTime: milliseconds since system start, wrapping at 2^32.
std::uint32_t MillisecondCounter();
// The counter as a non-negative number of milliseconds.
double MillisecondClock();

// Waits at least `milliseconds` (at least one 1 ms sleep and one pass of message processing,
// even for 0). False when the program began to quit during the wait.
[[nodiscard]] bool WaitMilliseconds(double milliseconds);

} // namespace qv

#include "win/message_pump_win.h"

#include "win/wait_clock.h"

#include <algorithm>
#include <mmsystem.h>
#include <utility>

namespace qv {

MessagePump& MessagePump::Instance() {
    static MessagePump pump;
    return pump;
}

void MessagePump::AddDialog(HWND dialog) {
    if (!HasDialog(dialog)) {
        dialogs_.push_back(dialog);
    }
}

void MessagePump::RemoveDialog(HWND dialog) {
    dialogs_.erase(std::remove(dialogs_.begin(), dialogs_.end(), dialog), dialogs_.end());
}

bool MessagePump::HasDialog(HWND dialog) const {
    return std::find(dialogs_.begin(), dialogs_.end(), dialog) != dialogs_.end();
}

void MessagePump::Dispatch(MSG& msg) {
    for (HWND dialog : dialogs_) {
        if (IsWindow(dialog) && IsDialogMessageW(dialog, &msg)) {
            return;
        }
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

bool MessagePump::ProcessPending() {
    if (quitRequested_) {
        return false;
    }
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quitRequested_ = true;
            exitCode_ = static_cast<int>(msg.wParam);
            PostQuitMessage(exitCode_);
            return false;
        }
        if (waits_ > 0 && msg.message == RunTasksMessage()) {
            heldTasks_.push_back(msg.hwnd);
            continue;
        }
        Dispatch(msg);
    }
    return true;
}

void MessagePump::LeaveWait() {
    if (--waits_ == 0) {
        for (HWND window : std::exchange(heldTasks_, {})) {
            PostMessageW(window, RunTasksMessage(), 0, 0);
        }
    }
}

int MessagePump::Run() {
    MSG msg{};
    while (!quitRequested_) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            quitRequested_ = true;
            exitCode_ = got == 0 ? static_cast<int>(msg.wParam) : 1;
            break;
        }
        Dispatch(msg);
    }
    return exitCode_;
}

bool MessagePump::RunModal(HWND dialog, HWND owner) {
    if (owner != nullptr && IsWindow(owner) && IsWindowEnabled(owner)) {
        EnableWindow(owner, FALSE);
        disabledOwners_.push_back(ModalOwner{dialog, owner});
    }
    bool going = true;
    while (IsWindow(dialog) && IsWindowVisible(dialog)) {
        if (!ProcessPending()) {
            going = false;
            break;
        }
        if (IsWindow(dialog) && IsWindowVisible(dialog)) {
            WaitMessage();
        }
    }
    EndModal(dialog);
    return going;
}

void MessagePump::EndModal(HWND dialog) {
    for (auto it = disabledOwners_.begin(); it != disabledOwners_.end(); ++it) {
        if (it->dialog == dialog) {
            const HWND owner = it->owner;
            disabledOwners_.erase(it);
            if (IsWindow(owner)) {
                EnableWindow(owner, TRUE);
            }
            return;
        }
    }
}

std::uint32_t MillisecondCounter() {
    return timeGetTime();
}

double MillisecondClock() {
    return MillisecondClockFromCounter(MillisecondCounter());
}

UINT RunTasksMessage() {
    static const UINT message = RegisterWindowMessageW(L"Quorvane.RunTasks");
    return message;
}

bool WaitMilliseconds(double milliseconds) {
    MessagePump& pump = MessagePump::Instance();
    pump.EnterWait();
    WaitSpan span(MillisecondClock(), milliseconds);
    bool going = true;
    do {
        Sleep(1);
        going = pump.ProcessPending();
    } while (going && !span.Elapsed(MillisecondClock()));
    pump.LeaveWait();
    return going;
}

} // namespace qv

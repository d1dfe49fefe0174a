#include "config/button_countdown_win.h"

#include "win/ui_win.h"

namespace qv {

void ButtonCountdown::Attach(HWND dialog, HWND button) {
    dialog_ = dialog;
    button_ = button;
    secondsLeft_ = 0;
}

void ButtonCountdown::Start() {
    if (secondsLeft_ > 0 || button_ == nullptr) {
        return;
    }
    buttonCaption_ = WindowText(button_);
    if (GetFocus() == button_) {
        SendMessageW(dialog_, WM_NEXTDLGCTL, 0, FALSE); // a disabled button cannot keep it
    }
    secondsLeft_ = kCountSeconds;
    SetText(button_, std::to_wstring(secondsLeft_));
    EnableWindow(button_, FALSE);
    if (SetTimer(dialog_, timerId_, 1000, nullptr) == 0) {
        Cancel();
    }
}

bool ButtonCountdown::Tick() {
    if (secondsLeft_ <= 0) {
        KillTimer(dialog_, timerId_); // a tick already queued when the count ended
        return false;
    }
    if (--secondsLeft_ > 0) {
        SetText(button_, std::to_wstring(secondsLeft_));
        return false;
    }
    KillTimer(dialog_, timerId_);
    RestoreButton();
    return true;
}

void ButtonCountdown::Cancel() {
    if (secondsLeft_ <= 0) {
        return;
    }
    KillTimer(dialog_, timerId_);
    secondsLeft_ = 0;
    RestoreButton();
}

void ButtonCountdown::RestoreButton() {
    if (IsWindow(button_)) {
        SetText(button_, buttonCaption_);
        EnableWindow(button_, TRUE);
    }
}

} // namespace qv

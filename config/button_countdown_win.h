// A ten-second count on a dialog button's caption, on a timer of the dialog, so the player can
// bring the game to the front before a capture: the button is disabled and shows the seconds
// left, and is itself again when the count ends or the dialog goes away.
#pragma once

#include <windows.h>

#include <string>

namespace qv {

class ButtonCountdown {
  public:
    static constexpr int kCountSeconds = 10;

    explicit ButtonCountdown(UINT_PTR timerId) : timerId_(timerId) {}

    // The button of a freshly built dialog window.
    void Attach(HWND dialog, HWND button);
    void Start();
    // One second of the count; true when it has just ended.
    bool Tick();
    // The count stops and the button is itself again.
    void Cancel();
    bool Counting() const { return secondsLeft_ > 0; }
    UINT_PTR TimerId() const { return timerId_; }

  private:
    void RestoreButton();

    UINT_PTR timerId_;
    HWND dialog_ = nullptr, button_ = nullptr;
    std::wstring buttonCaption_;
    int secondsLeft_ = 0; // 0 while no count runs
};

} // namespace qv

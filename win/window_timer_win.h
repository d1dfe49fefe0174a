// A window timer in the manner of a form's timer control: a period and an enabled state, each
// settable at any time, the period also while the timer is disabled. The ticks come to the
// owner as WM_TIMER with the timer's id.
#pragma once

#include <windows.h>

#include <cstdint>

namespace qv {

class WindowTimer {
  public:
    explicit WindowTimer(UINT_PTR id) : id_(id) {}
    void Attach(HWND owner) { owner_ = owner; }
    void SetInterval(std::int32_t milliseconds);
    void SetEnabled(bool enabled);
    // True for a WM_TIMER of this timer that came while it is enabled.
    bool Ticked(WPARAM timerId) const { return timerId == id_ && enabled_; }

  private:
    UINT_PTR id_;
    HWND owner_ = nullptr;
    std::int32_t interval_ = 0;
    bool enabled_ = false;
};

} // namespace qv

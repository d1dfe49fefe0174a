#include "win/window_timer_win.h"

namespace qv {

void WindowTimer::SetInterval(std::int32_t milliseconds) {
    interval_ = milliseconds;
    if (enabled_) {
        SetEnabled(true);
    }
}

void WindowTimer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (owner_ == nullptr) {
        return;
    }
    if (enabled && interval_ > 0) {
        SetTimer(owner_, id_, static_cast<UINT>(interval_), nullptr);
    } else {
        KillTimer(owner_, id_);
    }
}

} // namespace qv

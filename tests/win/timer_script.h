// Drives modal windows from inside a test: steps run one after another from a thread timer,
// each tried again on the next tick until it returns true (a window it waits for is not up
// yet). Steps only post, never send, so that no step blocks in a modal loop it opened itself.
#pragma once

#include "win/message_pump_win.h"

#include <windows.h>

#include <functional>
#include <vector>

namespace qv {

class TimerScript {
  public:
    using Step = std::function<bool()>;

    // Runs the steps while `body` runs (typically a call that opens a modal loop). After
    // 15 s, `abort` closes whatever is left open so that `body` returns. True when every
    // step ran in time.
    bool Run(std::vector<Step> steps, const std::function<void()>& body,
             std::function<void()> abort) {
        steps_ = std::move(steps);
        abort_ = std::move(abort);
        next_ = 0;
        timedOut_ = false;
        deadline_ = GetTickCount64() + 15000;
        current_ = this;
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, &TimerScript::Tick);
        body();
        KillTimer(nullptr, timer);
        current_ = nullptr;
        return !timedOut_ && Done();
    }

    bool Done() const { return next_ >= steps_.size(); }

    // A message loop for scripts that open no modal loop of their own: the program's pump,
    // with its modeless dialogs' keyboard handling, runs until the steps are done.
    void PumpUntilDone() {
        MessagePump& pump = MessagePump::Instance();
        while (!Done() && pump.ProcessPending()) {
            if (!Done()) {
                WaitMessage();
            }
        }
    }

  private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        TimerScript* self = current_;
        if (self == nullptr || self->running_ || self->Done()) {
            return;
        }
        if (GetTickCount64() > self->deadline_) {
            self->timedOut_ = true;
            self->next_ = self->steps_.size();
            if (self->abort_) {
                self->abort_();
            }
            return;
        }
        self->running_ = true;
        if (self->steps_[self->next_]()) {
            ++self->next_;
        }
        self->running_ = false;
    }

    static inline TimerScript* current_ = nullptr;
    std::vector<Step> steps_;
    std::function<void()> abort_;
    std::size_t next_ = 0;
    bool running_ = false;
    bool timedOut_ = false;
    ULONGLONG deadline_ = 0;
};

} // namespace qv

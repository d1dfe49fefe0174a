// The Win32 adapters of the core's ports: the desktop (game window, capture, pictures, beep),
// the event-processing wait, the clock, message boxes and the recognizer's surroundings. The
// popup window is its own adapter.
#pragma once

#include "measurement/measurement_host.h"
#include "measurement/program_state.h"
#include "recognition/exp_recognizer.h"
#include "services/local_time.h"
#include "services/message_sink.h"
#include "services/waiter.h"

#include <windows.h>

#include <functional>

namespace qv {

class Win32Desktop : public Desktop {
  public:
    // `saveFailed` hears of every picture that could not be saved, with its file name.
    Win32Desktop(CaptureBuffer& buffer, std::function<void(const std::wstring&)> saveFailed)
        : buffer_(buffer), saveFailed_(std::move(saveFailed)) {}
    std::optional<WindowId> FindWindowByTitle(std::wstring_view title) override;
    WindowId ForegroundWindow() override;
    void CaptureWindowRegion(WindowId window, const CaptureRegion& region, int slot) override;
    bool SaveForegroundWindowBitmap(const std::filesystem::path& path) override;
    void Beep() override;

  private:
    CaptureBuffer& buffer_;
    std::function<void(const std::wstring&)> saveFailed_;
};

class PumpWaiter : public Waiter {
  public:
    WaitResult WaitMilliseconds(double milliseconds) override;
};

// Local time from GetLocalTime, milliseconds from the message pump's counter.
class SystemClock : public Clock {
  public:
    LocalTime Now() override;
    std::uint32_t Milliseconds() override;
};

// Modal message box with one OK button and no icon, owned by `owner_` when it is a window.
class MessageBoxSink : public MessageSink {
  public:
    void SetOwner(HWND owner) { owner_ = owner; }
    void ShowMessage(std::wstring_view text, std::wstring_view title) override;

  private:
    HWND owner_ = nullptr;
};

// Runs the recognizer on the EXP capture region and forwards its caption, records and
// memory query.
class Win32Recognition : public ExpRecognition, public RecognizerHost {
  public:
    Win32Recognition(ProgramState& state, DebugLog& log,
                     std::function<void(std::wstring_view)> setCaption)
        : state_(state), log_(log), setCaption_(std::move(setCaption)) {}
    std::optional<ExpReadout> RecognizeExpReadout() override;
    void SetCaptureCaption(std::wstring_view text) override { setCaption_(text); }
    void WriteDebugLog(std::wstring_view message) override { log_.Write(message); }
    MemoryStatus QueryMemoryStatus() override;
    bool ShuttingDown() override { return state_.shuttingDown; }

  private:
    ProgramState& state_;
    DebugLog& log_;
    std::function<void(std::wstring_view)> setCaption_;
};

} // namespace qv

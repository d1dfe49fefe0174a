// The Win32 side of what the measurement needs: the desktop (game window, capture, pictures,
// beep), the event-processing wait, the popup and the recognizer's surroundings.
#pragma once

#include "app/program_state.h"
#include "measurement/measurement_host.h"
#include "recognition/exp_recognizer.h"
#include "services/form_popup_win.h"

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

class PopupPresenter : public Popup {
  public:
    explicit PopupPresenter(FormPopup& form) : form_(form) {}
    void ShowPopupMessage(std::wstring_view text, std::wstring_view title,
                          std::int32_t fontSize) override;
    void HidePopupMessage() override;

  private:
    FormPopup& form_;
};

// Runs the recognizer on the EXP capture region and forwards its caption, records and
// memory query.
class Win32Recognition : public ExpRecognition, public RecognizerHost {
  public:
    Win32Recognition(ProgramState& state, DebugLog& log,
                     std::function<void(std::wstring_view)> setCaption)
        : state_(state), log_(log), setCaption_(std::move(setCaption)) {}
    bool RecognizeExpReadout() override;
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

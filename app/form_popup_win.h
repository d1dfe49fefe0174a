// The message popup: a small non-modal window with one large message that only the program
// hides. A user's close attempt is refused and answered by the close-request script. It is a
// top-level window of its own with a taskbar button, so minimising or hiding the main window
// leaves the notice in sight. It is the measurement's popup itself.
#pragma once

#include "measurement/measurement_host.h"
#include "services/popup_script.h"
#include "services/waiter.h"
#include "win/base_window_win.h"
#include "win/handles_win.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace qv {

class FormPopup : public BaseWindow<FormPopup>, public Popup, private PopupScriptHost {
  public:
    // `shown` is the program-wide PopupShown flag this window keeps up to date; the answers to
    // a close attempt wait through `waiter`.
    FormPopup(bool& shown, Waiter& waiter) : shown_(shown), waiter_(waiter) {}

    // Popup
    void ShowPopupMessage(std::wstring_view text, std::wstring_view title,
                          std::int32_t fontSize) override;
    void HidePopupMessage() override;
    // Replaces the message and re-centres it (used by the close-request answers too).
    void SetMessage(std::wstring_view text);

    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

  private:
    bool EnsureWindow();
    void SetFontSize(int points);
    void Relayout();
    void OnUserCloseRequest();

    // PopupScriptHost: the close-request answers work on the message label.
    std::wstring LabelText() const override { return message_; }
    void SetLabelText(std::wstring_view text) override { SetMessage(text); }
    void RepaintLabel() override;

    bool& shown_;
    Waiter& waiter_;
    HWND lblPopUpMsg_ = nullptr;
    GdiObject<HFONT> labelFont_;
    GdiObject<HFONT> windowFont_;
    std::wstring message_;
    CloseRequestScript closeRequests_; // counts every refused close of the run
};

} // namespace qv

// The version dialog: the program's name and version, a picture, the rights notice, the
// author and a link that opens the author's home page. Modal; closed with its close box,
// which unloads it, so each opening builds it again.
#pragma once

#include "services/debug_log.h"
#include "services/file_launcher.h"
#include "services/message_sink.h"
#include "services/waiter.h"
#include "win/busy_cursor_win.h"
#include "win/dialog_base_win.h"
#include "win/handles_win.h"

#include <windows.h>

namespace qv {

class FormVersion : public DialogBase<FormVersion> {
  public:
    static constexpr int kLinkId = 105;
    static constexpr std::int32_t kLinkBusyMilliseconds = 500;

    FormVersion(LauncherHost& launcher, Waiter& waiter, MessageSink& messages, DebugLog& debugLog,
                const BusyCursor& busyCursor);

    // Builds the dialog and returns when it has been closed (or the program began to quit).
    // The owner is disabled meanwhile; its timers keep running.
    void ShowModal(HWND owner);

    // True only while the home page is being opened.
    bool Opening() const { return linkState_; }

    INT_PTR HandleDialogMessage(UINT msg, WPARAM wp, LPARAM lp);

  private:
    void Form_Load();
    void CreateControls();
    bool OnSetCursor(HWND under, UINT mouseMessage);
    void lblHomePage_Click();
    void Unload();

    LauncherHost& launcher_;
    Waiter& waiter_;
    MessageSink& messages_;
    DebugLog& debugLog_;
    const BusyCursor& busyCursor_;
    HWND owner_ = nullptr;
    HWND lblHomePage_ = nullptr;
    HCURSOR homePageCursor_ = nullptr; // the label's own cursor; none: the default
    bool linkState_ = false;           // kept for the whole run, not per opening
    GdiObject<HFONT> font_, authorFont_, linkFont_;
    UniqueBitmap picture_;
};

} // namespace qv

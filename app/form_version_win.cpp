#include "app/form_version_win.h"

#include "resources/resource_ids.h"
#include "services/about_info.h"
#include "services/program_identity.h"
#include "win/message_pump_win.h"
#include "win/ui_win.h"

#include <commctrl.h>
#include <string>

namespace qv {

namespace {

constexpr wchar_t kTitle[] = L"バージョン情報";
constexpr int kClientWidthTwips = 5790, kClientHeightTwips = 1335;

enum ControlId : int { IDC_IMG_PROFILE = 100, IDC_LABEL1, IDC_LBL_VER, IDC_LABEL3, IDC_LABEL4 };

// The link's own cursor from the program's resources; shared, so never destroyed.
HCURSOR LinkCursor() {
    return static_cast<HCURSOR>(LoadImageW(GetModuleHandleW(nullptr),
                                           MAKEINTRESOURCEW(IDC_LINK_CURSOR), IMAGE_CURSOR, 0, 0,
                                           LR_SHARED));
}

bool MouseIsOver(HWND control) {
    POINT p{};
    return GetCursorPos(&p) && WindowFromPoint(p) == control;
}

} // namespace

FormVersion::FormVersion(LauncherHost& launcher, Waiter& waiter, MessageSink& messages,
                         DebugLog& debugLog, const BusyCursor& busyCursor)
    : launcher_(launcher), waiter_(waiter), messages_(messages), debugLog_(debugLog),
      busyCursor_(busyCursor) {
    OnClick(kLinkId, [this] { lblHomePage_Click(); });
    OnClick(IDCANCEL, [this] { Unload(); }); // Esc, as the close box
}

void FormVersion::ShowModal(HWND owner) {
    if (!IsOpen()) {
        owner_ = owner;
        if (!CreateDialogWindow(owner, kTitle)) {
            return;
        }
        PlaceDialog(hwnd_, owner, TwipsToPixels(kClientWidthTwips),
                    TwipsToPixels(kClientHeightTwips));
    }
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
    // The owner's timer ticks and every other message go on being dispatched meanwhile.
    (void)MessagePump::Instance().RunModal(hwnd_, owner_);
}

INT_PTR FormVersion::HandleDialogMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG:
        CreateControls();
        Form_Load();
        return TRUE;
    case WM_SETCURSOR:
        if (OnSetCursor(reinterpret_cast<HWND>(wp), HIWORD(lp))) {
            SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        Unload();
        return TRUE;
    case WM_DESTROY:
        lblHomePage_ = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

void FormVersion::Form_Load() {
    HWND version = GetDlgItem(hwnd_, IDC_LBL_VER);
    SetText(version, kProgramVersion);
    FitLabelToText(version); // a substituted font must not clip it either
}

void FormVersion::CreateControls() {
    if (!font_) {
        // 9.75 pt, 13.5 pt bold and the underlined 9.75 pt link, as character heights.
        font_.reset(CreateTerminalFont(FontHeightForHundredthsOfPoint(975), FW_NORMAL, false));
        authorFont_.reset(CreateTerminalFont(FontHeightForHundredthsOfPoint(1350), FW_BOLD, false));
        linkFont_.reset(CreateTerminalFont(FontHeightForHundredthsOfPoint(975), FW_NORMAL, true));
        picture_.reset(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr),
                                                       MAKEINTRESOURCEW(IDB_PROFILE), IMAGE_BITMAP,
                                                       0, 0, LR_DEFAULTCOLOR)));
    }
    // The picture control takes the picture's size.
    HWND image = AddControl(hwnd_, WC_STATICW, L"", SS_BITMAP, 0, TwipsRect{120, 120, 1845, 1110},
                            IDC_IMG_PROFILE, nullptr);
    SendMessageW(image, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture_.get()));

    struct Label {
        int id;
        std::wstring_view text;
        int left, top, width, height;
        HFONT font;
        DWORD style;
    };
    const Label labels[] = {
        {IDC_LABEL1, kVersionDialogName, 2475, 120, 2790, 195, font_.get(), 0},
        {IDC_LBL_VER, L"", 3510, 360, 720, 195, font_.get(), 0},
        {IDC_LABEL3, kRightsNotice, 2280, 720, 2430, 195, font_.get(), 0},
        {IDC_LABEL4, kAuthorName, 4800, 682, 765, 270, authorFont_.get(), 0},
        {kLinkId, kHomePageName, 3420, 960, 900, 195, linkFont_.get(), SS_NOTIFY},
    };
    for (const Label& l : labels) {
        HWND label =
            AddControl(hwnd_, WC_STATICW, l.text, SS_LEFTNOWORDWRAP | SS_NOPREFIX | l.style, 0,
                       TwipsRect{l.left, l.top, l.width, l.height}, l.id, l.font);
        if (!l.text.empty()) {
            FitLabelToText(label); // a substituted font must not clip the text
        }
    }
    lblHomePage_ = GetDlgItem(hwnd_, kLinkId);
}

// The link cursor comes with the first move over the link unless the page is being opened
// (the hourglass stays then); the rest of the dialog follows the application's cursor.
bool FormVersion::OnSetCursor(HWND under, UINT mouseMessage) {
    if (under == lblHomePage_ && lblHomePage_ != nullptr) {
        if (mouseMessage == WM_MOUSEMOVE && !linkState_) {
            homePageCursor_ = LinkCursor();
        }
        if (homePageCursor_ != nullptr) {
            SetCursor(homePageCursor_);
            return true;
        }
    }
    return busyCursor_.ShowIfBusy();
}

// Every click opens the page once; a click while it is being opened is not another one.
void FormVersion::lblHomePage_Click() {
    if (linkState_) {
        return;
    }
    linkState_ = true;
    homePageCursor_ = LoadCursorW(nullptr, IDC_WAIT);
    if (MouseIsOver(lblHomePage_)) {
        SetCursor(homePageCursor_);
    }
    // A quit during the launcher's wait needs nothing more here: the state is reset either way.
    (void)LaunchFile(kHomePageAddress, kLinkBusyMilliseconds, launcher_, waiter_, messages_,
                     debugLog_);
    homePageCursor_ = nullptr;
    linkState_ = false;
}

void FormVersion::Unload() {
    MessagePump::Instance().EndModal(hwnd_);
    DestroyWindow(hwnd_);
}

} // namespace qv

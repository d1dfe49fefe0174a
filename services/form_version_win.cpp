#include "services/form_version_win.h"

#include "app/win_util_win.h"
#include "capture/message_wait_win.h"
#include "resources/resource_ids.h"
#include "services/about_info.h"
#include "services/app_cursor_win.h"
#include "services/program_identity.h"

#include <commctrl.h>

#include <string>

namespace qv {

namespace {

constexpr wchar_t kTitle[] = L"バージョン情報";
constexpr int kClientWidthTwips = 5790, kClientHeightTwips = 1335;

enum ControlId : int { IDC_IMG_PROFILE = 100, IDC_LABEL1, IDC_LBL_VER, IDC_LABEL3, IDC_LABEL4 };

constexpr int Px(int twips) {
    return TwipsToDialogPixels(twips);
}

// A negative font height: the character height of a size in hundredths of a point.
int CharacterHeight(int hundredthsOfPoint) {
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(hundredthsOfPoint, GetDeviceCaps(screen, LOGPIXELSY), 7200);
    ReleaseDC(nullptr, screen);
    return height;
}

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

void FormVersion::ShowModal(HWND owner) {
    if (!IsOpen()) {
        owner_ = owner;
        if (!CreateDialogWindow(owner, kTitle)) {
            return;
        }
        PlaceDialog(hwnd_, owner, Px(kClientWidthTwips), Px(kClientHeightTwips));
    }
    MessagePump& pump = MessagePump::Instance();
    pump.AddDialog(hwnd_);
    if (owner_ != nullptr) {
        EnableWindow(owner_, FALSE);
    }
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
    // The owner's timer ticks and every other message go on being dispatched meanwhile.
    while (IsOpen() && pump.ProcessPending()) {
        if (IsOpen()) {
            WaitMessage();
        }
    }
    if (owner_ != nullptr && IsWindow(owner_)) {
        EnableWindow(owner_, TRUE);
    }
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
    case WM_COMMAND:
        if (LOWORD(wp) == kLinkId && HIWORD(wp) == STN_CLICKED) {
            lblHomePage_Click();
        } else if (LOWORD(wp) == IDCANCEL) {
            Unload(); // Esc, as the close box
        }
        return TRUE;
    case WM_CLOSE:
        Unload();
        return TRUE;
    case WM_DESTROY:
        MessagePump::Instance().RemoveDialog(hwnd_);
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
        // Point sizes are character heights, as the type of the design measures them.
        font_.reset(CreateTerminalFont(CharacterHeight(975), FW_NORMAL, false));
        authorFont_.reset(CreateTerminalFont(CharacterHeight(1350), FW_BOLD, false));
        linkFont_.reset(CreateTerminalFont(CharacterHeight(975), FW_NORMAL, true));
        picture_.reset(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr),
                                                       MAKEINTRESOURCEW(IDB_PROFILE), IMAGE_BITMAP,
                                                       0, 0, LR_DEFAULTCOLOR)));
    }
    // The picture control takes the picture's size.
    HWND image = AddControl(hwnd_, WC_STATICW, L"", SS_BITMAP, 0, Px(120), Px(120), Px(1845),
                            Px(1110), IDC_IMG_PROFILE, nullptr);
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
                       Px(l.left), Px(l.top), Px(l.width), Px(l.height), l.id, l.font);
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
    return ShowApplicationBusyCursor();
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
    (void)LaunchFile(kHomePageAddress, kLinkBusyMilliseconds, launcher_);
    homePageCursor_ = nullptr;
    linkState_ = false;
}

void FormVersion::Unload() {
    if (owner_ != nullptr && IsWindow(owner_)) {
        EnableWindow(owner_, TRUE); // before the dialog goes, so the owner gets the activation
    }
    DestroyWindow(hwnd_);
}

} // namespace qv

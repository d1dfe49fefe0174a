#include "config/form_input_check_win.h"

#include "win/message_pump_win.h"

#include <commctrl.h>

namespace qv {

namespace {

// Not IDOK/IDCANCEL: Enter and Escape have no dialog-wide meaning here.
enum ControlId : int {
    IDC_CMD_DEC = 101,
    IDC_TXT_INPUT,
    IDC_CMD_INC,
    IDC_CMD_ENTER,
    IDC_CMD_CANCEL,
    IDC_LBL_MIN,
    IDC_LBL_MIN_V,
    IDC_LBL_MAX,
    IDC_LBL_MAX_V,
    IDC_LBL_MSG,
};

constexpr UINT_PTR kEntrySubclassId = 1;
constexpr int kClientWidthTwips = 4680, kClientHeightTwips = 1605;

} // namespace

FormInputCheck& InputCheckForm() {
    static FormInputCheck form;
    return form;
}

double InputCheckBox(HWND owner, const NumberEntryRequest& request) {
    return InputCheckForm().InputCheckBox(owner, request);
}

// Enter and Escape (IDOK, IDCANCEL) have no meaning here and stay unbound.
FormInputCheck::FormInputCheck() {
    OnClick(IDC_CMD_DEC, [this] { cmdDec_Click(); });
    OnClick(IDC_CMD_INC, [this] { cmdInc_Click(); });
    OnClick(IDC_CMD_ENTER, [this] { cmdEnter_Click(); });
    OnClick(IDC_CMD_CANCEL, [this] { cmdCancel_Click(); });
    OnCommand(IDC_TXT_INPUT, EN_SETFOCUS, [this] { txtInput_GotFocus(); });
}

double FormInputCheck::InputCheckBox(HWND owner, const NumberEntryRequest& request) {
    if (modal_) {
        return InputCancelled;
    }
    session_ = NumberEntrySession::Start(request);
    if (!Load(owner)) {
        return InputCancelled;
    }
    Fill(request);
    owner_ = owner != nullptr && IsWindow(owner) ? owner : nullptr;
    PlaceDialog(hwnd_, owner_, TwipsToPixels(kClientWidthTwips), TwipsToPixels(kClientHeightTwips));
    modal_ = true;
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    FocusControl(txtInput_);
    if (!MessagePump::Instance().RunModal(hwnd_, owner_)) {
        // The program is ending: cancel; the quit request stays for the outer loop.
        session_.current = InputCancelled;
        EndModal(true);
    }
    modal_ = false;
    return session_.current;
}

bool FormInputCheck::Load(HWND owner) {
    if (IsOpen()) {
        if (GetWindow(hwnd_, GW_OWNER) != owner) {
            SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
        }
        return true;
    }
    if (font_.get() == nullptr) {
        font_.reset(CreateTerminalFont(13));
        largeFont_.reset(CreateTerminalFont(18));
    }
    return CreateDialogWindow(owner, kDefaultEntryTitle);
}

void FormInputCheck::CreateControls() {
    const HFONT f = font_.get();
    const HFONT large = largeFont_.get();
    constexpr DWORD button = BS_PUSHBUTTON | WS_TABSTOP;
    constexpr DWORD label = SS_LEFT | SS_NOPREFIX;
    cmdDec_ = AddControl(hwnd_, WC_BUTTONW, L"<", button, 0, TwipsRect{240, 240, 375, 375},
                         IDC_CMD_DEC, f);
    txtInput_ = AddControl(hwnd_, WC_EDITW, L"0", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP,
                           WS_EX_CLIENTEDGE, TwipsRect{600, 240, 2295, 390}, IDC_TXT_INPUT, large);
    cmdInc_ = AddControl(hwnd_, WC_BUTTONW, L">", button, 0, TwipsRect{2880, 240, 375, 375},
                         IDC_CMD_INC, f);
    cmdEnter_ = AddControl(hwnd_, WC_BUTTONW, L"決 定", button, 0, TwipsRect{3360, 180, 1095, 435},
                           IDC_CMD_ENTER, f);
    cmdCancel_ = AddControl(hwnd_, WC_BUTTONW, L"キャンセル", button, 0,
                            TwipsRect{3360, 600, 1095, 435}, IDC_CMD_CANCEL, f);
    AddControl(hwnd_, WC_STATICW, L"最小：", label, 0, TwipsRect{240, 840, 540, 195}, IDC_LBL_MIN,
               f);
    lblminV_ = AddControl(hwnd_, WC_STATICW, L"000", label, 0, TwipsRect{840, 840, 360, 270},
                          IDC_LBL_MIN_V, large);
    AddControl(hwnd_, WC_STATICW, L"最大：", label, 0, TwipsRect{1800, 840, 540, 195}, IDC_LBL_MAX,
               f);
    lblmaxv_ = AddControl(hwnd_, WC_STATICW, L"000", label, 0, TwipsRect{2400, 840, 360, 270},
                          IDC_LBL_MAX_V, large);
    lblmsg_ = AddControl(hwnd_, WC_STATICW, L"インプットガイド", label, 0,
                         TwipsRect{240, 1140, 1440, 195}, IDC_LBL_MSG, f);
    SetWindowSubclass(txtInput_, &FormInputCheck::EntryProc, kEntrySubclassId,
                      reinterpret_cast<DWORD_PTR>(this));
}

void FormInputCheck::Fill(const NumberEntryRequest& request) {
    // The bound labels grow with their figures rather than clip "1200" to the designed width.
    SetText(lblminV_, ShortestDecimal(session_.lower));
    FitLabelToText(lblminV_);
    SetText(lblmaxv_, ShortestDecimal(session_.upper));
    FitLabelToText(lblmaxv_);
    SetText(lblmsg_, request.msg);
    FitLabelToText(lblmsg_);
    SetText(hwnd_, request.title.empty() ? kDefaultEntryTitle : std::wstring_view(request.title));
    SetText(txtInput_, request.ini);
    SendMessageW(txtInput_, EM_SETSEL, 0, -1);
}

void FormInputCheck::EndModal(bool unload) {
    MessagePump::Instance().EndModal(hwnd_);
    modal_ = false;
    if (!IsOpen()) {
        return;
    }
    if (unload) {
        DestroyWindow(hwnd_);
    } else {
        ShowWindow(hwnd_, SW_HIDE);
    }
}

void FormInputCheck::FocusControl(HWND control) {
    SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

void FormInputCheck::ShowRefusal(EntryCheck check) {
    const EntryMessage message = MessageFor(check);
    MessageBoxW(hwnd_, std::wstring(message.text).c_str(), std::wstring(message.title).c_str(),
                MB_OK);
}

void FormInputCheck::Step(StepDirection direction) {
    const std::optional<std::wstring> text = StepEntry(WindowText(txtInput_), direction, session_);
    if (!text) {
        ShowRefusal(EntryCheck::InvalidCharacter);
        return;
    }
    SetText(txtInput_, *text);
}

void FormInputCheck::cmdInc_Click() {
    Step(StepDirection::Up);
}

void FormInputCheck::cmdDec_Click() {
    Step(StepDirection::Down);
}

void FormInputCheck::cmdEnter_Click() {
    const EntryCheck check = CheckEntry(WindowText(txtInput_), session_);
    if (check == EntryCheck::Accepted) {
        EndModal(false);
        return;
    }
    ShowRefusal(check);
    if (check != EntryCheck::InvalidCharacter && IsOpen()) {
        FocusControl(txtInput_);
    }
}

void FormInputCheck::cmdCancel_Click() {
    session_.current = InputCancelled;
    EndModal(false);
}

void FormInputCheck::txtInput_GotFocus() {
    SendMessageW(txtInput_, EM_SETSEL, 0, -1);
}

bool FormInputCheck::txtInput_KeyPress(wchar_t character) {
    switch (ClassifyEntryKey(character)) {
    case EntryKey::Pass:
        return true;
    case EntryKey::FocusEnter:
        FocusControl(cmdEnter_);
        return false;
    case EntryKey::Suppress:
        break;
    }
    return false;
}

void FormInputCheck::Form_QueryUnload() {
    session_.current = InputCancelled;
    EndModal(true);
}

void FormInputCheck::Form_Unload() {
    session_.current = InputCancelled;
    if (modal_) {
        EndModal(true);
    }
}

INT_PTR FormInputCheck::HandleDialogMessage(UINT msg, WPARAM, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG:
        CreateControls();
        return FALSE; // the focus is set when the dialog is shown
    case WM_CLOSE:
        Form_QueryUnload();
        return TRUE;
    case WM_DESTROY:
        Form_Unload();
        RemoveWindowSubclass(txtInput_, &FormInputCheck::EntryProc, kEntrySubclassId);
        return TRUE;
    default:
        return FALSE;
    }
}

LRESULT CALLBACK FormInputCheck::EntryProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                           DWORD_PTR self) {
    auto* form = reinterpret_cast<FormInputCheck*>(self);
    if (msg == WM_GETDLGCODE) {
        // Enter must reach the entry as a character, not press a dialog button.
        LRESULT code = DefSubclassProc(hwnd, msg, wp, lp);
        const auto* m = reinterpret_cast<const MSG*>(lp);
        if (m != nullptr && m->message == WM_KEYDOWN && m->wParam == VK_RETURN) {
            code |= DLGC_WANTMESSAGE;
        }
        return code;
    }
    if (msg == WM_CHAR) {
        bool pass = false;
        try {
            pass = form->txtInput_KeyPress(static_cast<wchar_t>(wp));
        } catch (...) {
            pass = false;
        }
        if (!pass) {
            return 0;
        }
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

} // namespace qv

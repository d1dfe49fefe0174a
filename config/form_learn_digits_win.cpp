#include "config/form_learn_digits_win.h"

#include "recognition/learned_glyphs.h"
#include "services/program_identity.h"
#include "win/message_pump_win.h"
#include "win/ui_win.h"

#include <algorithm>
#include <commctrl.h>
#include <string>
#include <utility>

namespace qv {

namespace {

// Enter is "覚える" (the default button) and Escape "キャンセル".
enum ControlId : int {
    IDC_CMD_LEARN = IDOK,
    IDC_CMD_CANCEL = IDCANCEL,
    IDC_CMD_FORGET = 101,
    IDC_TXT_DIGITS,
    IDC_LBL_PROMPT,
};

constexpr wchar_t kTitle[] = L"数字を覚える";
constexpr wchar_t kPrompt[] =
    L"キャプチャ領域2に写っている数字を入力してください（区切りの前までの数字）";

// Pixels: the prompt on the first row, the entry and the three buttons on the second.
constexpr int kMargin = 16, kGap = 8;
constexpr int kRowTop = 38, kEntryWidth = 150, kEntryHeight = 26;
constexpr int kButtonWidth = 73, kButtonHeight = 29;
constexpr int kButtonCount = 3;

int ClientWidth(HWND prompt) {
    RECT r{};
    GetWindowRect(prompt, &r);
    const int buttons = kButtonCount * kButtonWidth + (kButtonCount - 1) * kGap;
    return std::max<int>(kMargin + (r.right - r.left) + kMargin,
                         kMargin + kEntryWidth + kMargin + buttons + kMargin);
}

// The entry as the digits the learning takes; a full-width digit typed through the IME counts
// as its digit, anything else is passed on to be refused there.
std::string EntryDigits(const std::wstring& text) {
    std::string digits;
    for (const wchar_t c : text) {
        if (c >= L'０' && c <= L'９') {
            digits.push_back(static_cast<char>('0' + (c - L'０')));
        } else {
            digits.push_back(c < 0x80 ? static_cast<char>(c) : '?');
        }
    }
    return digits;
}

} // namespace

FormLearnDigits::FormLearnDigits(LearnDigitsServices services) : svc_(std::move(services)) {
    OnClick(IDC_CMD_LEARN, [this] { cmdLearn_Click(); });
    OnClick(IDC_CMD_FORGET, [this] { cmdForget_Click(); });
    OnClick(IDC_CMD_CANCEL, [this] { cmdCancel_Click(); });
}

FormLearnDigits::Result FormLearnDigits::ShowModal(HWND owner, const PixelArray& picture) {
    if (modal_) {
        return Result::Cancelled;
    }
    if (font_.get() == nullptr) {
        font_.reset(CreateTerminalFont(13));
        largeFont_.reset(CreateTerminalFont(18));
    }
    if (!IsOpen() && !CreateDialogWindow(owner, kTitle)) {
        return Result::Cancelled;
    }
    picture_ = picture;
    result_ = Result::Cancelled;
    modal_ = true;
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(txtDigits_), TRUE);
    if (!MessagePump::Instance().RunModal(hwnd_, owner)) {
        EndModal(Result::Cancelled); // the program is ending; its quit stays for the outer loop
    }
    modal_ = false;
    return result_;
}

void FormLearnDigits::CreateControls() {
    const HFONT f = font_.get();
    constexpr DWORD button = BS_PUSHBUTTON | WS_TABSTOP;
    HWND prompt = AddControl(hwnd_, WC_STATICW, kPrompt, SS_LEFT | SS_NOPREFIX, 0, kMargin, kMargin,
                             0, 0, IDC_LBL_PROMPT, f);
    FitLabelToText(prompt);
    const int width = ClientWidth(prompt);
    txtDigits_ = AddControl(hwnd_, WC_EDITW, L"", ES_LEFT | ES_NUMBER | ES_AUTOHSCROLL | WS_TABSTOP,
                            WS_EX_CLIENTEDGE, kMargin, kRowTop, kEntryWidth, kEntryHeight,
                            IDC_TXT_DIGITS, largeFont_.get());
    SendMessageW(txtDigits_, EM_LIMITTEXT, kMaxLearnDigits, 0);
    const struct {
        const wchar_t* caption;
        int id;
        DWORD style;
    } buttons[kButtonCount] = {
        {L"覚える", IDC_CMD_LEARN, button | BS_DEFPUSHBUTTON},
        {L"元に戻す", IDC_CMD_FORGET, button},
        {L"キャンセル", IDC_CMD_CANCEL, button},
    };
    int left = width - kMargin - kButtonCount * kButtonWidth - (kButtonCount - 1) * kGap;
    for (const auto& b : buttons) {
        AddControl(hwnd_, WC_BUTTONW, b.caption, b.style, 0, left, kRowTop, kButtonWidth,
                   kButtonHeight, b.id, f);
        left += kButtonWidth + kGap;
    }
    PlaceDialog(hwnd_, GetWindow(hwnd_, GW_OWNER), width, kRowTop + kButtonHeight + kMargin);
}

// The dialog goes with its entry, so the next one starts empty.
void FormLearnDigits::EndModal(Result result) {
    result_ = result;
    MessagePump::Instance().EndModal(hwnd_);
    if (IsOpen()) {
        DestroyWindow(hwnd_);
    }
}

void FormLearnDigits::ShowError(std::wstring_view text) {
    MessageBoxW(hwnd_, std::wstring(text).c_str(), kErrorTitle, MB_OK);
}

void FormLearnDigits::cmdLearn_Click() {
    const LearnReply reply = svc_.learn(picture_, EntryDigits(WindowText(txtDigits_)));
    if (!reply.message.empty()) {
        ShowError(reply.message);
    }
    if (reply.learned) {
        EndModal(Result::Learned);
    } else if (IsOpen()) {
        SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(txtDigits_), TRUE);
    }
}

void FormLearnDigits::cmdForget_Click() {
    const std::wstring message = svc_.forget();
    if (!message.empty()) {
        ShowError(message);
    }
    EndModal(Result::Forgotten);
}

void FormLearnDigits::cmdCancel_Click() {
    EndModal(Result::Cancelled);
}

INT_PTR FormLearnDigits::HandleDialogMessage(UINT msg, WPARAM, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG:
        CreateControls();
        return FALSE; // the focus goes to the entry when the dialog is shown
    case WM_CLOSE:
        cmdCancel_Click();
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace qv

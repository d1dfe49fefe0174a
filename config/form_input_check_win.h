// "パラメータ入力": the modal dialog that asks for one number within a range.
#pragma once

#include "config/number_entry.h"
#include "win/dialog_base_win.h"
#include "win/handles_win.h"
#include "win/ui_win.h"

#include <windows.h>

namespace qv {

class FormInputCheck : public DialogBase<FormInputCheck> {
  public:
    FormInputCheck();

    // Shows the dialog modally over `owner` (disabled meanwhile; other windows' timers keep
    // running) and returns the accepted number, exactly as read from the entry, or
    // InputCancelled. A nested call while the dialog is up returns InputCancelled at once.
    double InputCheckBox(HWND owner, const NumberEntryRequest& request);

    INT_PTR HandleDialogMessage(UINT msg, WPARAM wp, LPARAM lp);

  private:
    bool Load(HWND owner);
    void CreateControls();
    void Fill(const NumberEntryRequest& request);
    void EndModal(bool unload);
    void ShowRefusal(EntryCheck check);
    void FocusControl(HWND control);

    void cmdDec_Click();
    void cmdInc_Click();
    void cmdEnter_Click();
    void cmdCancel_Click();
    void txtInput_GotFocus();
    // False when the character must not reach the text box.
    bool txtInput_KeyPress(wchar_t character);
    void Form_QueryUnload();
    void Form_Unload();
    void Step(StepDirection direction);

    static LRESULT CALLBACK EntryProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                      DWORD_PTR self);

    NumberEntrySession session_;
    HWND owner_ = nullptr;
    bool modal_ = false;

    GdiObject<HFONT> font_, largeFont_;
    HWND cmdDec_ = nullptr, txtInput_ = nullptr, cmdInc_ = nullptr, cmdEnter_ = nullptr,
         cmdCancel_ = nullptr, lblminV_ = nullptr, lblmaxv_ = nullptr, lblmsg_ = nullptr;
};

// The program-wide input dialog (created on first use, kept for the whole run).
FormInputCheck& InputCheckForm();
double InputCheckBox(HWND owner, const NumberEntryRequest& request);

} // namespace qv

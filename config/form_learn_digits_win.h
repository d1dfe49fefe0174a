// "数字を覚える": the options dialog's modal window in which the player types the figure that the
// last test's picture of capture region 2 shows, so that the program learns its digits from
// it, or goes back to the built-in digits.
#pragma once

#include "capture/pixel_array.h"
#include "recognition/learned_glyphs.h"
#include "win/dialog_base_win.h"
#include "win/handles_win.h"

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace qv {

// The program's answer to "覚える": whether the glyphs were learned (and are in use), and what
// the player is told in a box "エラー" (why not, or that they could not be kept; empty when
// there is nothing to tell).
struct LearnReply {
    bool learned = false;
    std::wstring message;
};

// What the dialog's buttons do to the program's glyphs.
struct LearnDigitsServices {
    // Learns from region 2's picture the figure typed as `digits` (the digits before the
    // delimiter, as typed).
    std::function<LearnReply(const PixelArray& picture, std::string_view digits)> learn;
    // Back to the built-in digits; a message for the player when the file stayed.
    std::function<std::wstring()> forget;
    // "自動で探す" found the figure larger than the built-in digits: these glyphs are used from
    // the next capture on, without being written to the glyph file. False when they cannot be.
    std::function<bool(const LearnedGlyphs&)> useGlyphs;
};

class FormLearnDigits : public DialogBase<FormLearnDigits> {
  public:
    enum class Result { Cancelled, Learned, Forgotten };

    explicit FormLearnDigits(LearnDigitsServices services);

    // Shows the dialog modally over `owner` for this picture of region 2; "キャンセル" and the
    // close box change nothing.
    Result ShowModal(HWND owner, const PixelArray& picture);

    INT_PTR HandleDialogMessage(UINT msg, WPARAM wp, LPARAM lp);

  private:
    void CreateControls();
    void EndModal(Result result);
    void ShowError(std::wstring_view text);

    void cmdLearn_Click();
    void cmdForget_Click();
    void cmdCancel_Click();

    LearnDigitsServices svc_;
    GdiObject<HFONT> font_, largeFont_;
    HWND txtDigits_ = nullptr;
    PixelArray picture_; // a copy: a test finishing meanwhile does not change what is learned
    Result result_ = Result::Cancelled;
    bool modal_ = false;
};

} // namespace qv

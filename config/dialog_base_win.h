// Base for the program's dialogs: a real dialog window (so Tab, default buttons and
// IsDialogMessage behave as users expect) made from an empty in-memory template, with its
// controls created in code at pixel positions. The C++ object outlives its window: closing
// the window only clears the handle, and the next use builds it again.
#pragma once

#include <windows.h>

#include <string_view>

namespace qv {

// Design positions are in twips; the dialogs are laid out in pixels at 96 dpi.
constexpr int TwipsToDialogPixels(int twips) {
    return (twips + 7) / 15;
}

HWND CreateEmptyDialog(HWND owner, std::wstring_view title, DLGPROC procedure, LPARAM param);
// Gives the dialog this client size (pixels) and centres it over `owner` (or the screen).
void PlaceDialog(HWND dialog, HWND owner, int clientWidth, int clientHeight);

// A child control with the given font; WS_CHILD | WS_VISIBLE are added to `style`.
HWND AddControl(HWND parent, const wchar_t* className, std::wstring_view text, DWORD style,
                DWORD exStyle, int x, int y, int width, int height, int id, HFONT font);
// Sizes a label to its (possibly multi-line) text in its own font; its left and top stay.
void FitLabelToText(HWND label);
// Widens (and heightens) a label whose text does not fit its size, so a font wider than the
// designed one never cuts a caption; its left and top stay, and a label that fits keeps its size.
void GrowLabelToText(HWND label);
void SetText(HWND control, std::wstring_view text);

template <typename Derived> class DialogBase {
  public:
    HWND Handle() const { return hwnd_; }
    bool IsOpen() const { return hwnd_ != nullptr && IsWindow(hwnd_); }

  protected:
    DialogBase() = default;
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;
    ~DialogBase() {
        if (hwnd_ != nullptr && IsWindow(hwnd_)) {
            SetWindowLongPtrW(hwnd_, DWLP_USER, 0); // the window must not reach a dead object
        }
    }

    bool CreateDialogWindow(HWND owner, std::wstring_view title) {
        return CreateEmptyDialog(owner, title, &DialogBase::DialogProc,
                                 reinterpret_cast<LPARAM>(this)) != nullptr;
    }

    HWND hwnd_ = nullptr;

  private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        Derived* self = nullptr;
        if (msg == WM_INITDIALOG) {
            auto* base = reinterpret_cast<DialogBase*>(lp);
            base->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, DWLP_USER, lp);
            self = static_cast<Derived*>(base);
        } else {
            self = static_cast<Derived*>(
                reinterpret_cast<DialogBase*>(GetWindowLongPtrW(hwnd, DWLP_USER)));
        }
        if (self == nullptr) {
            return FALSE;
        }
        INT_PTR result = FALSE;
        try {
            result = self->HandleDialogMessage(msg, wp, lp);
        } catch (...) {
            result = FALSE;
        }
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, DWLP_USER, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    }
};

} // namespace qv

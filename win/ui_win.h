// Small Win32 helpers of the program's windows: the program folder, window text, fonts,
// child controls and the etched rule.
#pragma once

#include "win/twips.h"

#include <windows.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace qv {

// The folder that holds the running exe; every file of the program lives there.
std::filesystem::path ProgramFolder();

std::wstring WindowText(HWND hwnd);
void SetText(HWND control, std::wstring_view text);

// The program's window font, "Terminal" with the Shift-JIS character set. A positive height
// is the character cell, so a substituted outline font keeps to the designed label widths as
// the raster font does; a negative one is the character height.
HFONT CreateTerminalFont(int height, int weight = FW_NORMAL, bool underline = false);

// The character height of a point size on this screen, as a negative font height; the second
// takes hundredths of a point (975 for 9.75 pt).
int FontHeightForPoints(int points);
int FontHeightForHundredthsOfPoint(int hundredths);

// A child control with the given font; WS_CHILD | WS_VISIBLE are added to `style`.
HWND AddControl(HWND parent, const wchar_t* className, std::wstring_view text, DWORD style,
                DWORD exStyle, int x, int y, int width, int height, int id, HFONT font);

// A control placed as designed, in twips.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};
inline HWND AddControl(HWND parent, const wchar_t* className, std::wstring_view text, DWORD style,
                       DWORD exStyle, TwipsRect place, int id, HFONT font) {
    return AddControl(parent, className, text, style, exStyle, TwipsToPixels(place.left),
                      TwipsToPixels(place.top), TwipsToPixels(place.width),
                      TwipsToPixels(place.height), id, font);
}

// Sizes a label to its (possibly multi-line) text in its own font; its left and top stay.
void FitLabelToText(HWND label);
// Widens (and heightens) a label whose text does not fit its size, so a font wider than the
// designed one never cuts a caption; its left and top stay, and a label that fits keeps its size.
void GrowLabelToText(HWND label);

// The size `text` takes in `font` on `window`'s device context (several lines allowed).
SIZE TextExtent(HWND window, HFONT font, std::wstring_view text);

// An etched horizontal rule: a shadow line at `top` and a highlight line under it.
void PaintEtchedRule(HDC dc, int left, int top, int right);

} // namespace qv

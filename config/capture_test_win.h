// The options dialog's "テスト": a ten-second count on a timer of the dialog (so the player can
// bring the game to the front while everything else, a measurement included, goes on), then
// both capture regions of the game window, captured with the measurement's own capture code,
// drawn into the dialog's picture boxes, and region 2 read by the recognizer.
#pragma once

#include "config/button_countdown_win.h"
#include "config/capture_preview.h"
#include "config/settings.h"
#include "recognition/glyph_pattern_table.h"
#include "services/debug_log.h"

#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace qv {

struct CaptureTestServices {
    const GlyphPatternTable& glyphs;
    // The game's window, found as the measurement finds it; nullptr when it is not running.
    std::function<HWND()> findGame;
    // What both boxes show when the game is not running (the measurement's own words).
    std::wstring gameMissingText;
};

class CaptureTest {
  public:
    static constexpr UINT_PTR kTimerId = 1;

    CaptureTest(const Settings& settings, DebugLog& debugLog, CaptureTestServices services);

    // The controls of a freshly built dialog window; pictures of an earlier window are dropped.
    void Attach(HWND dialog, HWND button, std::array<HWND, 2> pictures, HFONT font);
    // Starts the count: the button is disabled and shows the seconds left.
    void Start() { countdown_.Start(); }
    // One second of the count; the capture follows the last one.
    void Tick();
    // The dialog goes away: the count stops and the button is itself again.
    void Cancel() { countdown_.Cancel(); }
    // WM_DRAWITEM of a picture box; false for any other control.
    bool DrawPicture(const DRAWITEMSTRUCT& item) const;

    // Region 2's picture from the last test that found the game; nullptr when there is none.
    const PixelArray* ExpPicture() const { return expPicture_ ? &*expPicture_ : nullptr; }
    // Region 2's box reads its picture again (after the glyphs changed), as after a test.
    void ReadExpPictureAgain();
    // Region 2's box keeps its picture and says `text` under it.
    void ShowExpNote(std::wstring text);
    // Region 2's box shows `picture` (region 2 as it now is) read by the recognizer, then `note`;
    // it is the picture "数字を覚える" learns from.
    void ShowExpPicture(PixelArray picture, std::wstring_view note);
    // Region 2's box says only `text`; the last picture stays the one to learn from.
    void ShowExpText(std::wstring text);

  private:
    void Finish();
    void CaptureGame(HWND game);
    // The recognizer's result for region 2 as the text under its picture.
    std::wstring ReadExpRegion(const PixelArray& captured) const;
    void ShowPreview(int box, const PixelArray& captured, std::wstring text, bool textOnly);
    int TextHeight() const;

    const Settings& settings_;
    DebugLog& debugLog_;
    CaptureTestServices svc_;
    HWND dialog_ = nullptr;
    ButtonCountdown countdown_{kTimerId};
    std::array<HWND, 2> pictures_{};
    HFONT font_ = nullptr; // the dialog's, which owns it
    std::array<std::optional<CapturePreview>, 2> previews_;
    std::optional<PixelArray> expPicture_;
};

} // namespace qv

// The options dialog's "自動で探す": a ten-second count on the button's caption (the player
// brings the game to the front meanwhile; everything else goes on), then one picture of the
// game window's whole client area, searched for the EXP figure.
#pragma once

#include "capture/pixel_array.h"
#include "config/button_countdown_win.h"
#include "config/capture_test_win.h"
#include "recognition/exp_search.h"
#include "recognition/learned_glyphs.h"

#include <windows.h>

#include <optional>
#include <string>

namespace qv {

struct AutoSearchResult {
    enum class Outcome { GameMissing, NotFound, Found };
    Outcome outcome = Outcome::NotFound;
    ExpSearchResult found; // when Found
    PixelArray picture;    // when Found: region 2's picture at the figure's place
    // When found with the built-in glyphs (enlarged, or at their own size while learned ones
    // are in use): the glyphs to use from now on.
    std::optional<LearnedGlyphs> glyphs;
};

class AutoSearch {
  public:
    static constexpr UINT_PTR kTimerId = 2; // the test capture's is 1

    explicit AutoSearch(CaptureTestServices services);

    // The button of a freshly built dialog window.
    void Attach(HWND dialog, HWND button);
    // Starts the count: the button is disabled and shows the seconds left.
    void Start() { countdown_.Start(); }
    // One second of the count; true when it has just ended and the search is due.
    bool Tick() { return countdown_.Tick(); }
    // The dialog goes away: the count stops and the button is itself again.
    void Cancel() { countdown_.Cancel(); }

    // The game's client area, searched with the glyphs in use and the built-in ones enlarged.
    AutoSearchResult SearchGame() const;
    // The built-in set-1 glyphs, from the program's resources.
    static GlyphImageSet BuiltInGlyphs();
    const std::wstring& GameMissingText() const { return svc_.gameMissingText; }

  private:
    CaptureTestServices svc_;
    ButtonCountdown countdown_{kTimerId};
};

// The line under region 2's picture after a search that found the figure at `scale` times the
// built-in size with the built-in glyphs enlarged.
std::wstring FoundLargerNote(std::int32_t scale);

inline constexpr std::wstring_view kFigureNotFound = L"見つかりませんでした";

} // namespace qv

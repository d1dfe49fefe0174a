// Where the small window ("ミニ表示") stands. It stays over the game, but never over region 2:
// a capture copies that rectangle from the screen, and would read the window instead of the
// figure.
#pragma once

#include <optional>

namespace qv {

// A rectangle in screen pixels, right and bottom excluded.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// The gap left between the window and the region it gives way to.
inline constexpr int kRegionGap = 4;

// The window at `proposed` when it covers no part of `region`. Otherwise moved straight up until
// its bottom edge is kRegionGap pixels above the region's top, or, when that would take it over
// the top of `screen`, down to kRegionGap pixels below the region.
ScreenRect KeepClearOfRegion(const ScreenRect& proposed, const std::optional<ScreenRect>& region,
                             const ScreenRect& screen);

// Where a window of `width` x `height` opens: its top-right corner on that of the game's client
// area, or of the work area without the game; then kept clear of `region`.
ScreenRect OpeningPlace(int width, int height, const std::optional<ScreenRect>& gameClient,
                        const std::optional<ScreenRect>& region, const ScreenRect& workArea);

} // namespace qv

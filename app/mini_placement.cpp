#include "app/mini_placement.h"

namespace qv {

namespace {

bool Overlap(const ScreenRect& a, const ScreenRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

ScreenRect MovedToTop(const ScreenRect& r, int top) {
    return {r.left, top, r.right, top + r.Height()};
}

} // namespace

ScreenRect KeepClearOfRegion(const ScreenRect& proposed, const std::optional<ScreenRect>& region,
                             const ScreenRect& screen) {
    if (!region || !Overlap(proposed, *region)) {
        return proposed;
    }
    const int above = region->top - kRegionGap - proposed.Height();
    return MovedToTop(proposed, above >= screen.top ? above : region->bottom + kRegionGap);
}

ScreenRect OpeningPlace(int width, int height, const std::optional<ScreenRect>& gameClient,
                        const std::optional<ScreenRect>& region, const ScreenRect& workArea) {
    const ScreenRect& corner = gameClient ? *gameClient : workArea;
    const ScreenRect place{corner.right - width, corner.top, corner.right, corner.top + height};
    return KeepClearOfRegion(place, region, workArea);
}

} // namespace qv

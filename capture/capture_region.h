// A rectangle of the game window's client area, in pixels.
#pragma once

#include <cstdint>

namespace qv {

struct CaptureRegion {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    friend bool operator==(const CaptureRegion&, const CaptureRegion&) = default;
};

// The EXP figure is captured from capture region 1 into buffer slot 1 and matched against
// glyph set 1: the region, the slot and the glyph set share this index.
inline constexpr int kExpCaptureIndex = 1;

} // namespace qv

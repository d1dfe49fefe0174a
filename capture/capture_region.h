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

// The largest side of a capture region, in pixels. The configuration file, the capture
// buffer and the capture all hold to it, so a capture stays a quick copy of at most
// 4096 x 4096 = 2^24 pixels and no product of sizes comes near overflowing.
inline constexpr std::int32_t kMaxRegionSide = 4096;

// Whether a width and height make a region that can be captured.
constexpr bool IsCapturableSize(std::int64_t width, std::int64_t height) {
    return width >= 1 && height >= 1 && width <= kMaxRegionSide && height <= kMaxRegionSide;
}

} // namespace qv

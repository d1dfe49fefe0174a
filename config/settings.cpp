#include "config/settings.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace qv {
namespace {

constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

bool FitsInt32(std::int64_t value) {
    return value >= std::numeric_limits<std::int32_t>::min() && value <= kInt32Max;
}

bool IsRunnableRegion(const CaptureRegion& r) {
    if (r.width < 1 || r.height < 1) {
        return false;
    }
    const std::int64_t w = r.width;
    const std::int64_t h = r.height;
    return w * h * 4 <= kInt32Max && FitsInt32(r.x + w) && FitsInt32(r.y + h);
}

// Seconds that are turned into milliseconds in 32-bit arithmetic.
bool IsRunnableSeconds(std::int32_t seconds, std::int32_t minimum) {
    return seconds >= minimum && std::int64_t{seconds} * 1000 <= kInt32Max;
}

// The capture buffer spans the widest and the tallest region plus the glyph margin, in
// columns 0..last and rows 0..last, four bytes a pixel.
bool CaptureBufferFits(const std::array<CaptureRegion, 2>& regions) {
    std::int64_t lastColumn = 0;
    std::int64_t lastRow = 0;
    for (const CaptureRegion& r : regions) {
        lastColumn = std::max(lastColumn, std::int64_t{r.width} + kCaptureBufferMargin);
        lastRow = std::max(lastRow, std::int64_t{r.height} + kCaptureBufferMargin);
    }
    return (lastColumn + 1) * (lastRow + 1) * 4 <= kInt32Max;
}

} // namespace

bool IsRunnable(const Settings& settings) {
    for (const CaptureRegion& r : settings.captureRegions) {
        if (!IsRunnableRegion(r)) {
            return false;
        }
    }
    return CaptureBufferFits(settings.captureRegions) &&
           IsRunnableSeconds(settings.captureInterval, 1) &&
           IsRunnableSeconds(settings.startDelay, 0);
}

} // namespace qv

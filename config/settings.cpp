#include "config/settings.h"

#include <cstdint>
#include <limits>

namespace qv {
namespace {

constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

bool FitsInt32(std::int64_t value) {
    return value >= std::numeric_limits<std::int32_t>::min() && value <= kInt32Max;
}

bool IsRunnableRegion(const CaptureRegion& r) {
    return IsCapturableSize(r.width, r.height) && FitsInt32(std::int64_t{r.x} + r.width) &&
           FitsInt32(std::int64_t{r.y} + r.height);
}

// Seconds that are turned into milliseconds in 32-bit arithmetic.
bool IsRunnableSeconds(std::int32_t seconds, std::int32_t minimum) {
    return seconds >= minimum && std::int64_t{seconds} * 1000 <= kInt32Max;
}

} // namespace

bool IsRunnable(const Settings& settings) {
    for (const CaptureRegion& r : settings.captureRegions) {
        if (!IsRunnableRegion(r)) {
            return false;
        }
    }
    return IsRunnableSeconds(settings.captureInterval, 1) &&
           IsRunnableSeconds(settings.startDelay, 0);
}

} // namespace qv

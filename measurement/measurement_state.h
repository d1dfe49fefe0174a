// The timing of the running measurement; what it has read is the evaluation's record.
#pragma once

#include <cstdint>

namespace qv {

struct MeasurementState {
    // Millisecond-clock value at or after which the next capture falls due. The counter is
    // monotonic, so a daylight-saving change or a clock set does not move captures; compare
    // only through IsCaptureDue, which copes with the counter's wrap.
    std::uint32_t nextCaptureTime = 0;
};

} // namespace qv

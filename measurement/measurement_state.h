// The record of the running measurement.
#pragma once

#include <string>

namespace qv {

struct MeasurementState {
    // Millisecond-clock time at which the next capture falls due.
    double nextCaptureTime = 0;
    // Non-empty while a measurement has taken its first reading; the summary at stop and
    // close is written only then.
    std::wstring logMark;
};

} // namespace qv

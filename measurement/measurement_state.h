// The record of the running measurement.
#pragma once

#include "measurement/exp_gain.h"

#include <cstdint>
#include <optional>
#include <string>

namespace qv {

struct MeasurementState {
    // Millisecond-clock value at or after which the next capture falls due. The counter is
    // monotonic, so a daylight-saving change or a clock set does not move captures; compare
    // only through IsCaptureDue, which copes with the counter's wrap.
    std::uint32_t nextCaptureTime = 0;
    // Non-empty once the running measurement has taken its first reading, cleared by a stop.
    // The summary at stop and close, and the restart when the game is lost, happen only then.
    std::wstring logMark;
    // The last figure read: a capture that read nothing leaves it; nothing before the first.
    std::optional<double> currentExp;
    // The reading against which the next change is measured.
    double previousExp = 0;
    // currentExp - previousExp at the last change.
    double lastExpChange = 0;
    // Whole seconds of the millisecond clock at the latest non-zero reading.
    std::int32_t currentSecond = 0;
    // The same at the previous reading; 0 while no reading has been taken since the start.
    std::int32_t previousSecond = 0;
    // The increase and rate of the measurement, reset with the history.
    ExpGainTracker gain;
};

} // namespace qv

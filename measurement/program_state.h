// Program-wide state, created once at start and passed by reference, so a test builds a
// fresh program in one line.
#pragma once

#include "capture/capture_buffer.h"
#include "config/settings.h"
#include "measurement/exp_series.h"
#include "measurement/measurement_state.h"
#include "recognition/glyph_pattern_table.h"
#include "services/program_identity.h"

#include <optional>

namespace qv {

struct ProgramState {
    Settings settings;
    MeasurementState measurement;
    // The last recognised EXP figure; empty before the first recognition.
    std::optional<double> expReading;
    // The graph of the current (or last) measurement.
    ExpSeries expSeries;
    GlyphPatternTable glyphs;
    CaptureBuffer captureBuffer;
    bool shuttingDown = false;
    bool popupShown = false;
};

} // namespace qv

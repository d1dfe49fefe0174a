// Program-wide state, created once at start and passed by reference, so a test builds a
// fresh program in one line.
#pragma once

#include "capture/capture_buffer.h"
#include "config/settings.h"
#include "measurement/measurement_state.h"
#include "recognition/glyph_pattern_table.h"
#include "services/program_identity.h"

namespace qv {

struct ProgramState {
    Settings settings;
    MeasurementState measurement;
    GlyphPatternTable glyphs;
    CaptureBuffer captureBuffer;
    bool shuttingDown = false;
    bool popupShown = false;
};

} // namespace qv

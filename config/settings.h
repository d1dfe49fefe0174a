// The program-wide settings record and the limits the program needs to run with it safely.
#pragma once

#include "capture/capture_region.h"

#include <array>
#include <cstdint>

namespace qv {

// Every field is zero or false until the configuration has been read.
struct Settings {
    // Index kExpCaptureIndex is the area of the game window that holds the EXP figure.
    std::array<CaptureRegion, 2> captureRegions{};
    bool autoStart = false;
    std::int32_t captureInterval = 0; // seconds
    bool beepOnCapture = false;
    std::int32_t startDelay = 0; // seconds
    bool debugMode = false;      // never stored

    friend bool operator==(const Settings&, const Settings&) = default;
};

// The built-in defaults (debug mode off).
constexpr Settings DefaultSettings() {
    Settings s;
    s.captureRegions[0] = CaptureRegion{1, 1, 1, 1};
    s.captureRegions[kExpCaptureIndex] = CaptureRegion{463, 570, 90, 9};
    s.autoStart = false;
    s.captureInterval = 20;
    s.beepOnCapture = false;
    s.startDelay = 15;
    s.debugMode = false;
    return s;
}

// True when every value can be used without overflow or an impossible capture: regions
// whose sides are 1 to kMaxRegionSide pixels and whose right/bottom edges fit 32-bit
// arithmetic, a capture interval of at least 1 s and a start delay of at least 0 s whose
// millisecond values fit 32 bits. Values outside the options dialog's ranges but within these
// limits are runnable.
bool IsRunnable(const Settings& settings);

} // namespace qv

// What the measurement needs of the program around it. The Win32 shell implements these with
// the main window's log box, the desktop and the message loop; tests use fakes.
#pragma once

#include "capture/capture_region.h"
#include "measurement/log_view.h"
#include "services/debug_log.h"
#include "services/local_time.h"
#include "services/waiter.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace qv {

// A top-level window as the desktop names it (the HWND's value on Windows); 0 is no window.
using WindowId = std::uintptr_t;

class Desktop {
  public:
    virtual ~Desktop() = default;
    // The top-level window whose whole title is exactly `title` (any class).
    virtual std::optional<WindowId> FindWindowByTitle(std::wstring_view title) = 0;
    // The foreground window, 0 when there is none.
    virtual WindowId ForegroundWindow() = 0;
    // Copies `region` of the window's client area into capture-buffer slot `slot`.
    virtual void CaptureWindowRegion(WindowId window, const CaptureRegion& region, int slot) = 0;
    // Saves the whole foreground window as a BMP file at `path`, replacing a file of that
    // name. False when no complete file could be written (nothing half-written is left).
    // Pending events are not processed here; SaveForegroundSnapshot does that first.
    [[nodiscard]] virtual bool SaveForegroundWindowBitmap(const std::filesystem::path& path) = 0;
    virtual void Beep() = 0;
};

// The non-modal message popup. Implementations keep ProgramState::popupShown: true after a
// show, false after a hide.
class Popup {
  public:
    virtual ~Popup() = default;
    virtual void ShowPopupMessage(std::wstring_view text, std::wstring_view title,
                                  std::int32_t fontSize) = 0;
    virtual void HidePopupMessage() = 0;
};

// What one recognition read: the figure (0 when nothing usable was read) and the percent the
// game draws beside it, when that was read whole.
struct ExpReadout {
    double value = 0;
    std::optional<double> percent;
};

// Reads the EXP figure from capture-buffer slot 1.
class ExpRecognition {
  public:
    virtual ~ExpRecognition() = default;
    // Nothing when the recognition was abandoned because the program is closing.
    [[nodiscard]] virtual std::optional<ExpReadout> RecognizeExpReadout() = 0;
};

enum class SnapshotStatus {
    Saved,
    WriteFailed,   // no complete file could be written
    QuitRequested, // the program began to end before the picture was taken: nothing written
};

// Lets pending events run first (the window in front is the one after them, the way a user
// sees it), then saves the foreground window at `path`.
[[nodiscard]] SnapshotStatus SaveForegroundSnapshot(Desktop& desktop, Waiter& waiter,
                                                    const std::filesystem::path& path);

struct MeasurementHost {
    LogBox& log;
    Desktop& desktop;
    Waiter& waiter;
    Popup& popup;
    ExpRecognition& recognition;
    Clock& clock;
    DebugLog& debugLog;
    // The program's folder, where the snapshots are saved.
    std::filesystem::path folder;
};

} // namespace qv

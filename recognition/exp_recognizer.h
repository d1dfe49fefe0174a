// Reads the EXP figure from capture-buffer slot 1 by template matching against glyph set 1.
#pragma once

#include "capture/capture_buffer.h"
#include "capture/capture_region.h"
#include "recognition/glyph_pattern_table.h"
#include "recognition/glyph_scorer.h"
#include "services/debug_log.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

// The value of the last completed recognition: 0 when nothing usable was read, no value
// before the first recognition of the run.
using ExpReading = std::optional<double>;

// The percent of the level the game draws after the figure (83.18 for "83,18%"): nothing when
// the strip shows no whole, valid percent after the delimiter (or the figure read nothing).
using ExpPercent = std::optional<double>;

// What the recognizer needs of the program around it. The Win32 shell forwards to the main
// window, the debug log and the system; tests use fakes.
class RecognizerHost {
  public:
    virtual ~RecognizerHost() = default;
    // Caption of lblCapture(1).
    virtual void SetCaptureCaption(std::wstring_view text) = 0;
    // One debug-log record with an empty tag.
    virtual void WriteDebugLog(std::wstring_view message) = 0;
    virtual MemoryStatus QueryMemoryStatus() = 0;
    // True once the main window has been asked to close.
    virtual bool ShuttingDown() = 0;
};

// A host that keeps only the last caption: no log records, no memory figures, never closing.
// For a read that must leave the measurement's label and the debug log alone.
class CaptionKeeper : public RecognizerHost {
  public:
    void SetCaptureCaption(std::wstring_view text) override { caption = text; }
    void WriteDebugLog(std::wstring_view) override {}
    MemoryStatus QueryMemoryStatus() override { return {}; }
    bool ShuttingDown() override { return false; }
    std::wstring caption;
};

enum class RecognitionOutcome {
    Completed, // ExpReading and the caption were set
    Abandoned, // ShuttingDown was seen during the scan; nothing but the memory line changed
};

// The caption when nothing usable was read.
inline constexpr std::wstring_view kNotRecognized = L"認識NG";

// Scans slot 1 of `buffer` (captured from `region`, the EXP capture region) left to right,
// collects the digits up to the delimiter and sets `expReading` and the caption. Writes the
// memory line on every call and, in debug mode, progress captions and a trace of every
// comparison. When `percent` is given, it reads after the delimiter one to three digits, the
// decimal mark, two digits and "%", each glyph next to the one before and all within the
// region, and sets `percent` (left as it is when the recognition is abandoned).
RecognitionOutcome RecognizeExpReadout(const CaptureBuffer& buffer, const GlyphPatternTable& table,
                                       const CaptureRegion& region, bool debugMode,
                                       ExpReading& expReading, RecognizerHost& host,
                                       ExpPercent* percent = nullptr);

// "Available Physical Memory ", the kilobytes in an 11-wide column, "kByte".
std::wstring RecognizerMemoryLine(const MemoryStatus& status);

// The number a digit text stands for (0 for an empty text or one of more than 15 digits).
double DigitTextValue(std::string_view digits);

} // namespace qv

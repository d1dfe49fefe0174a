#include "recognition/exp_recognizer.h"

#include "base/column_format.h"
#include "recognition/percent_reader.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string>

namespace qv {

namespace {

constexpr std::wstring_view kRecognizing = L"認識中…";
constexpr std::wstring_view kResult = L" 認識結果:";
constexpr std::wstring_view kResultDelimiter = L"デリミタ";
constexpr std::wstring_view kResultNone = L"なし";

std::int32_t ClampToInt32(std::int64_t v) {
    if (v < 0) {
        return 0;
    }
    return v > std::numeric_limits<std::int32_t>::max() ? std::numeric_limits<std::int32_t>::max()
                                                        : static_cast<std::int32_t>(v);
}

PixelArray TakeWorkingPixels(const CaptureBuffer& buffer, const GlyphSetPatterns& set,
                             const CaptureRegion& region) {
    // The scan window is wider and taller than the region by the spread of glyph sizes;
    // what lies beyond the captured pixels is black.
    const CaptureRegion window{
        0, 0, ClampToInt32(std::int64_t{region.width} + set.largestWidth - set.smallestWidth),
        ClampToInt32(std::int64_t{region.height} + set.largestHeight - set.smallestHeight)};
    PixelArray pixels;
    ExtractCaptureWindow(buffer, kExpCaptureIndex, window, pixels);
    return pixels;
}

// Pattern "0#": at least two digits.
std::wstring TwoDigits(std::int64_t v) {
    std::wstring text = std::to_wstring(v);
    return v >= 0 && v < 10 ? L"0" + text : text;
}

// Pattern "#####": a score of 0 shows no digits.
std::wstring ScoreText(std::int32_t score) {
    return score == 0 ? std::wstring() : std::to_wstring(score);
}

std::wstring Widen(std::string_view ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

// What a scan in normal mode leaves behind: nothing. Its steps are empty, so the scan loop
// costs nothing for them.
struct NoTrace {
    void Position(std::int64_t) {}
    void Comparison(const GlyphScorer&, int, const GlyphMatch&) {}
    void Result(int) {}
    void Progress(const std::string&) {}
    void Finish(const std::string&) {}
};

// What a scan in debug mode leaves behind: progress captions while it runs, and a trace of
// every comparison for the debug log.
class DebugTrace {
  public:
    explicit DebugTrace(RecognizerHost& host) : host_(host) {
        host_.SetCaptureCaption(kRecognizing);
    }

    // A new scan position (the scan runs along the top row).
    void Position(std::int64_t sx) { text_ += L"\r\nX:" + TwoDigits(sx) + L" Y:0"; }
    void Comparison(const GlyphScorer& scorer, int glyph, const GlyphMatch& match) {
        text_ += L" " + std::to_wstring(glyph) + L":" + ScoreText(scorer.Score(glyph, match));
    }
    // The glyph accepted at the position, -1 for none.
    void Result(int glyph) {
        text_ += kResult;
        if (glyph == kDelimiterGlyph) {
            text_ += kResultDelimiter;
        } else if (glyph < 0) {
            text_ += kResultNone;
        } else {
            text_ += static_cast<wchar_t>(L'0' + glyph);
        }
    }
    // A position passed without reaching the delimiter.
    void Progress(const std::string& digits) {
        host_.SetCaptureCaption(Widen(digits) + std::wstring(kRecognizing));
    }
    void Finish(const std::string& digits) { host_.SetCaptureCaption(Widen(digits)); }

    const std::wstring& Text() const { return text_; }

  private:
    RecognizerHost& host_;
    std::wstring text_;
};

// Collects the digits left to right up to the delimiter, and where that was (-1: nowhere).
// False when ShuttingDown was seen.
template <typename Trace>
bool ScanDigits(const GlyphScorer& scorer, const GlyphSetPatterns& set, const CaptureRegion& region,
                std::int32_t pixelsWidth, RecognizerHost& host, Trace& trace, std::string& digits,
                std::int64_t& delimiterAt) {
    delimiterAt = -1;
    const std::int64_t lastPosition = std::int64_t{region.width} - set.smallestWidth;
    // Positions past the working image could only score 0; they are not visited.
    for (std::int64_t sx = 0; sx <= lastPosition && sx < pixelsWidth; ++sx) {
        trace.Position(sx);
        int accepted = -1;
        for (int g = 0; g < kGlyphsPerSet; ++g) {
            const GlyphMatch match = scorer.Match(g, static_cast<std::int32_t>(sx));
            trace.Comparison(scorer, g, match);
            if (scorer.Accepted(g, match)) {
                accepted = g;
                break;
            }
            if (host.ShuttingDown()) {
                return false;
            }
        }
        trace.Result(accepted);
        if (accepted == kDelimiterGlyph) {
            delimiterAt = sx;
            return true;
        }
        if (accepted >= 0) {
            digits += static_cast<char>('0' + accepted);
            // The right border column of one glyph is the left border of the next.
            sx += set.width[static_cast<std::size_t>(accepted)] - 2;
        }
        trace.Progress(digits);
    }
    return true;
}

template <typename Trace>
RecognitionOutcome Recognize(const CaptureBuffer& buffer, const GlyphPatternTable& table,
                             const CaptureRegion& region, ExpReading& expReading,
                             ExpPercent* percent, RecognizerHost& host, Trace& trace) {
    const GlyphSetPatterns& set = table.sets[kExpCaptureIndex];
    const PixelArray pixels = TakeWorkingPixels(buffer, set, region);
    const GlyphScorer scorer(set, pixels);
    std::string digits;
    std::int64_t delimiterAt = -1;
    if (!ScanDigits(scorer, set, region, pixels.Width(), host, trace, digits, delimiterAt)) {
        return RecognitionOutcome::Abandoned;
    }
    trace.Finish(digits);
    expReading = DigitTextValue(digits);
    if (percent) {
        const std::int64_t columns = std::min<std::int64_t>(region.width, pixels.Width());
        *percent = *expReading != 0.0 && delimiterAt >= 0
                       ? ReadPercentAfter(scorer, set, table.percent, delimiterAt, columns)
                       : std::nullopt;
    }
    host.SetCaptureCaption(*expReading != 0.0 ? Widen(digits) : std::wstring(kNotRecognized));
    return RecognitionOutcome::Completed;
}

// The normal scan with every step inlined, as fast as a scan that knows no trace. (The debug
// scan calls the scorer too; without this the compiler keeps one shared copy of it out of line.)
[[gnu::flatten]] RecognitionOutcome
RecognizeWithoutTrace(const CaptureBuffer& buffer, const GlyphPatternTable& table,
                      const CaptureRegion& region, ExpReading& expReading, ExpPercent* percent,
                      RecognizerHost& host) {
    NoTrace none;
    return Recognize(buffer, table, region, expReading, percent, host, none);
}

} // namespace

std::wstring RecognizerMemoryLine(const MemoryStatus& status) {
    const auto column = FormatColumn(AvailableKilobytes(status), 11, 1, 0, false);
    return L"Available Physical Memory " + column.value_or(L" ") + L"kByte";
}

double DigitTextValue(std::string_view digits) {
    // More digits than a double holds exactly (and than any EXP the game shows) come only from
    // a region wider than the figure: nothing usable was read.
    constexpr std::size_t kMaxExpDigits = 15;
    if (digits.empty() || digits.size() > kMaxExpDigits) {
        return 0.0;
    }
    double value = 0.0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return value;
}

RecognitionOutcome RecognizeExpReadout(const CaptureBuffer& buffer, const GlyphPatternTable& table,
                                       const CaptureRegion& region, bool debugMode,
                                       ExpReading& expReading, RecognizerHost& host,
                                       ExpPercent* percent) {
    host.WriteDebugLog(RecognizerMemoryLine(host.QueryMemoryStatus()));
    if (!debugMode) {
        return RecognizeWithoutTrace(buffer, table, region, expReading, percent, host);
    }
    DebugTrace trace(host);
    const RecognitionOutcome outcome =
        Recognize(buffer, table, region, expReading, percent, host, trace);
    if (outcome == RecognitionOutcome::Completed) {
        host.WriteDebugLog(trace.Text());
    }
    return outcome;
}

} // namespace qv

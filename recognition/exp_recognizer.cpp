#include "recognition/exp_recognizer.h"

#include "base/column_format.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <vector>

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
                                       ExpReading& expReading, RecognizerHost& host) {
    host.WriteDebugLog(RecognizerMemoryLine(host.QueryMemoryStatus()));
    std::string digits;
    std::wstring trace;
    if (debugMode) {
        host.SetCaptureCaption(kRecognizing);
    }
    const GlyphSetPatterns& set = table.sets[kExpCaptureIndex];
    const PixelArray pixels = TakeWorkingPixels(buffer, set, region);
    const GlyphScorer scorer(set, pixels);

    const std::int64_t lastPosition = std::int64_t{region.width} - set.smallestWidth;
    const std::int32_t sy = 0;
    bool delimiterFound = false;
    // Positions past the working image could only score 0; they are not visited.
    for (std::int64_t sx = 0; sx <= lastPosition && sx < pixels.Width() && !delimiterFound; ++sx) {
        if (debugMode) {
            trace += L"\r\nX:" + TwoDigits(sx) + L" Y:" + std::to_wstring(sy);
        }
        bool accepted = false;
        for (int g = 0; g < kGlyphsPerSet && !accepted; ++g) {
            const GlyphMatch match = scorer.Match(g, static_cast<std::int32_t>(sx));
            if (debugMode) {
                trace += L" " + std::to_wstring(g) + L":" + ScoreText(scorer.Score(g, match));
            }
            if (scorer.Accepted(g, match)) {
                accepted = true;
                if (g == kDelimiterGlyph) {
                    if (debugMode) {
                        trace += std::wstring(kResult) + std::wstring(kResultDelimiter);
                    }
                    delimiterFound = true;
                    break;
                }
                digits += static_cast<char>('0' + g);
                // The right border column of one glyph is the left border of the next.
                sx += set.width[static_cast<std::size_t>(g)] - 2;
                if (debugMode) {
                    trace += std::wstring(kResult) + static_cast<wchar_t>(L'0' + g);
                }
            } else if (host.ShuttingDown()) {
                return RecognitionOutcome::Abandoned;
            }
        }
        if (delimiterFound) {
            break;
        }
        if (debugMode) {
            if (!accepted) {
                trace += std::wstring(kResult) + std::wstring(kResultNone);
            }
            host.SetCaptureCaption(Widen(digits) + std::wstring(kRecognizing));
        }
    }

    if (debugMode) {
        host.SetCaptureCaption(Widen(digits));
    }
    expReading = DigitTextValue(digits);
    host.SetCaptureCaption(*expReading != 0.0 ? Widen(digits) : std::wstring(kNotRecognized));
    if (debugMode) {
        host.WriteDebugLog(trace);
    }
    return RecognitionOutcome::Completed;
}

} // namespace qv

#include "recognition/exp_recognizer.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <limits>
#include <vector>

#include "services/column_format.h"

namespace qv {

namespace {

constexpr std::wstring_view kRecognizing = L"認識中…";
constexpr std::wstring_view kResult = L" 認識結果:";
constexpr std::wstring_view kResultDelimiter = L"デリミタ";
constexpr std::wstring_view kResultNone = L"なし";
// Early abandonment: after a full column, a glyph is dropped when fewer than 90 % of more
// than 20 compared pixels matched.
constexpr double kAbandonRatio = 0.9;
constexpr int kAbandonMinCompared = 20;

// Glyph columns are compared in fixed runs of kLanes rows, which the compiler turns into a
// few vector instructions; glyphs taller than that take the plain path.
constexpr int kLanes = 16;
// Pattern value of the padding rows: never within the tolerance of any brightness.
constexpr std::int16_t kNeverMatches = -2000;

// The working image as brightness sums, column by column (kLanes rows per column, black
// below the image), so a glyph column compares against a contiguous run.
struct WorkingImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::int16_t> brightness;

    const std::int16_t* Column(std::int32_t x) const {
        return brightness.data() + static_cast<std::size_t>(x) * kLanes;
    }
};

// Glyph set 1 in the same column layout.
struct PaddedGlyphs {
    std::int32_t columns = 0;
    std::vector<std::int16_t> sums;

    const std::int16_t* Column(int glyph, std::int32_t x) const {
        return sums.data() + (static_cast<std::size_t>(glyph) * columns + x) * kLanes;
    }
};

bool FitsLanes(const GlyphSetPatterns& set) {
    return std::all_of(set.height.begin(), set.height.end(),
                       [](std::int32_t h) { return h <= kLanes; });
}

PaddedGlyphs PadGlyphs(const GlyphSetPatterns& set) {
    PaddedGlyphs padded{set.largestWidth, {}};
    padded.sums.assign(static_cast<std::size_t>(kGlyphsPerSet) * padded.columns * kLanes,
                       kNeverMatches);
    for (int g = 0; g < kGlyphsPerSet; ++g) {
        for (std::int32_t x = 0; x < set.width[g] && x < padded.columns; ++x) {
            auto* column =
                padded.sums.data() + (static_cast<std::size_t>(g) * padded.columns + x) * kLanes;
            for (std::int32_t y = 0; y < set.height[g]; ++y) {
                column[y] = static_cast<std::int16_t>(set.PixelSum(g, x, y));
            }
        }
    }
    return padded;
}

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
    ExtractCaptureWindow(buffer, kRecognitionSlot, window, pixels);
    return pixels;
}

WorkingImage ToColumns(const PixelArray& pixels) {
    WorkingImage work{pixels.Width(), pixels.Height(), {}};
    work.brightness.assign(static_cast<std::size_t>(work.width) * kLanes, 0);
    const std::int32_t rows = std::min(work.height, kLanes);
    for (std::int32_t x = 0; x < work.width; ++x) {
        auto* column = work.brightness.data() + static_cast<std::size_t>(x) * kLanes;
        for (std::int32_t y = 0; y < rows; ++y) {
            column[y] = static_cast<std::int16_t>(pixels.Brightness(x, y));
        }
    }
    return work;
}

bool Abandon(std::int64_t compared, std::int64_t matched) {
    return static_cast<double>(compared) * kAbandonRatio > static_cast<double>(matched) &&
           compared > kAbandonMinCompared;
}

std::int32_t Score(std::int64_t matched, std::int32_t w, std::int32_t h) {
    return static_cast<std::int32_t>(matched * 10000 / w / h);
}

// Score (0 to 10000) of glyph g placed at column sx, for glyphs at most kLanes rows tall.
std::int32_t ScoreGlyph(const WorkingImage& work, const PaddedGlyphs& glyphs,
                        const GlyphSetPatterns& set, int g, std::int32_t sx) {
    const std::int32_t w = set.width[static_cast<std::size_t>(g)];
    const std::int32_t h = set.height[static_cast<std::size_t>(g)];
    if (w < 1 || h < 1) {
        return 0;
    }
    std::int64_t matched = 0;
    std::int64_t compared = 0;
    for (std::int32_t x = 0; x < w; ++x) {
        if (std::int64_t{sx} + x >= work.width) {
            break;
        }
        const std::int16_t* pattern = glyphs.Column(g, x);
        const std::int16_t* pixels = work.Column(sx + x);
        int columnMatches = 0;
        for (int y = 0; y < kLanes; ++y) {
            const auto d = static_cast<std::uint16_t>(pattern[y] - pixels[y] + kPixelTolerance);
            columnMatches += d <= 2 * kPixelTolerance;
        }
        matched += columnMatches;
        compared += h;
        if (Abandon(compared, matched)) {
            break;
        }
    }
    return Score(matched, w, h);
}

// The same for any glyph height, straight from the table and the pixels.
std::int32_t ScoreTallGlyph(const PixelArray& work, const GlyphSetPatterns& set, int g,
                            std::int32_t sx) {
    const std::int32_t w = set.width[static_cast<std::size_t>(g)];
    const std::int32_t h = set.height[static_cast<std::size_t>(g)];
    if (w < 1 || h < 1) {
        return 0;
    }
    std::int64_t matched = 0;
    std::int64_t compared = 0;
    for (std::int32_t x = 0; x < w; ++x) {
        if (std::int64_t{sx} + x >= work.Width()) {
            break;
        }
        for (std::int32_t y = 0; y < h; ++y) {
            // Rows below the working image (a region lower than the glyph) compare as black.
            const int b = y < work.Height() ? work.Brightness(sx + x, y) : 0;
            matched += std::abs(set.PixelSum(g, x, y) - b) <= kPixelTolerance;
        }
        compared += h;
        if (Abandon(compared, matched)) {
            break;
        }
    }
    return Score(matched, w, h);
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
    if (digits.empty()) {
        return 0.0;
    }
    double value = 0.0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    // Hundreds of digits (only from an absurdly wide region) overflow to infinity.
    if (result.ec == std::errc::result_out_of_range) {
        return std::numeric_limits<double>::infinity();
    }
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
    const GlyphSetPatterns& set = table.sets[kRecognitionGlyphSet];
    const PixelArray pixels = TakeWorkingPixels(buffer, set, region);
    const bool fast = FitsLanes(set);
    const WorkingImage work = fast ? ToColumns(pixels) : WorkingImage{};
    const PaddedGlyphs glyphs = fast ? PadGlyphs(set) : PaddedGlyphs{};

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
            const auto at = static_cast<std::int32_t>(sx);
            const std::int32_t score =
                fast ? ScoreGlyph(work, glyphs, set, g, at) : ScoreTallGlyph(pixels, set, g, at);
            if (debugMode) {
                trace += L" " + std::to_wstring(g) + L":" + ScoreText(score);
            }
            if (score > kAcceptScore) {
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

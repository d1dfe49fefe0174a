#include "recognition/percent_reader.h"

#include <algorithm>

namespace qv {

namespace {

constexpr int kMaxWholeDigits = 3;
constexpr int kDigitGlyphs = 10;

// What may come next: a digit, the decimal mark, the percent sign.
constexpr unsigned kDigits = 1;
constexpr unsigned kMarks = 2;
constexpr unsigned kSign = 4;

struct Found {
    bool digit = false;
    int glyph = 0;
    std::int64_t at = 0;
    std::int32_t width = 0;
};

class PercentScan {
  public:
    PercentScan(const GlyphScorer& scorer, const GlyphSetPatterns& digits,
                const PercentMarks& marks, std::int64_t regionWidth)
        : scorer_(scorer), digits_(digits), marks_(marks.patterns.scoring), scale_(marks.scale),
          regionWidth_(regionWidth),
          widestDigit_(
              *std::max_element(digits.width.begin(), digits.width.begin() + kDigitGlyphs)) {}

    // The first allowed glyph next to `last`. Neighbours share the border columns on their
    // facing sides (the scale's width); a glyph narrower than the widest digit, as a learned
    // "1" may be, leaves the rest of a digit's width blank before the next one.
    std::optional<Found> Next(const Found& last, unsigned allowed) const {
        const std::int64_t from = last.at + last.width - scale_;
        const std::int64_t to =
            last.at + last.width - 1 + std::max(0, widestDigit_ - last.width) + scale_;
        for (std::int64_t sx = from; sx <= to; ++sx) {
            if (auto found = At(sx, allowed)) {
                return found;
            }
        }
        return std::nullopt;
    }

  private:
    std::optional<Found> At(std::int64_t sx, unsigned allowed) const {
        const auto column = static_cast<std::int32_t>(sx);
        for (int g = 0; (allowed & kDigits) != 0 && g < kDigitGlyphs; ++g) {
            if (Fits(sx, digits_.width[g]) && scorer_.Accepted(g, scorer_.Match(g, column))) {
                return Found{true, g, sx, digits_.width[g]};
            }
        }
        for (const int g : {kCommaMark, kDotMark, kPercentSign}) {
            const unsigned kind = g == kPercentSign ? kSign : kMarks;
            if ((allowed & kind) != 0 && Fits(sx, marks_.width[g]) &&
                GlyphScorer::Accepted(marks_, g, scorer_.Match(marks_, g, column))) {
                return Found{false, g, sx, marks_.width[g]};
            }
        }
        return std::nullopt;
    }

    // Wholly within the region (and so within the working image).
    bool Fits(std::int64_t sx, std::int32_t width) const {
        return sx >= 0 && sx + width <= regionWidth_;
    }

    const GlyphScorer& scorer_;
    const GlyphSetPatterns& digits_;
    const ScoringPatterns& marks_;
    std::int32_t scale_;
    std::int64_t regionWidth_;
    std::int32_t widestDigit_;
};

} // namespace

std::optional<double> ReadPercentAfter(const GlyphScorer& scorer, const GlyphSetPatterns& digits,
                                       const PercentMarks& marks, std::int64_t delimiterAt,
                                       std::int64_t regionWidth) {
    if (marks.scale < 1) {
        return std::nullopt;
    }
    const PercentScan scan(scorer, digits, marks, regionWidth);
    Found last{false, kDelimiterGlyph, delimiterAt, digits.width[kDelimiterGlyph]};
    int hundredths = 0;
    for (int whole = 0;; ++whole) {
        const unsigned allowed = (whole < kMaxWholeDigits ? kDigits : 0) | (whole > 0 ? kMarks : 0);
        const std::optional<Found> next = scan.Next(last, allowed);
        if (!next) {
            return std::nullopt;
        }
        last = *next;
        if (!next->digit) {
            break;
        }
        hundredths = hundredths * 10 + next->glyph * 100;
    }
    for (const int place : {10, 1}) {
        const std::optional<Found> next = scan.Next(last, kDigits);
        if (!next) {
            return std::nullopt;
        }
        hundredths += place * next->glyph;
        last = *next;
    }
    if (!scan.Next(last, kSign) || hundredths > 10000) {
        return std::nullopt;
    }
    return hundredths / 100.0;
}

} // namespace qv

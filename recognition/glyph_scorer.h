// How well each glyph of a set matches a working image at a column: the one scoring rule
// the recognizer uses (and its benchmark times).
#pragma once

#include "capture/pixel_array.h"
#include "recognition/glyph_images.h"
#include "recognition/glyph_pattern_table.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#if (defined(__SSE2__) || defined(_M_X64)) && !defined(QV_PORTABLE_SCORER)
#include <emmintrin.h>
#endif

namespace qv {

constexpr int kPixelTolerance = 72; // largest brightness difference that still matches
constexpr int kAcceptScore = 9800;  // a glyph is accepted above this score (of 10000)

// The outcome of comparing one glyph at one column, column by column, until the whole glyph
// was compared or fewer than 90 % of more than 20 compared pixels matched (abandoned).
struct GlyphMatch {
    std::int64_t matched = 0;
    std::int64_t compared = 0;
};

class GlyphScorer {
  public:
    // `image` is the working image; rows below it compare as black, and a glyph placed so
    // that it reaches past the image's right edge is compared up to the edge. The set's
    // patterns must outlive the scorer.
    GlyphScorer(const GlyphSetPatterns& set, const PixelArray& image);

    GlyphMatch Match(int glyph, std::int32_t sx) const { return MatchIn(glyphs_, glyph, sx); }
    // 0 to 10000: the share of the glyph's pixels that matched.
    std::int32_t Score(int glyph, const GlyphMatch& match) const;
    // Score(glyph, match) > kAcceptScore.
    bool Accepted(int glyph, const GlyphMatch& match) const {
        return Accepted(glyphs_, glyph, match);
    }

    // A glyph of other patterns on the same image (the percent's marks); no match unless they
    // were prepared for as many rows as the set's.
    GlyphMatch Match(const ScoringPatterns& patterns, int glyph, std::int32_t sx) const {
        return patterns.lanes == glyphs_.lanes ? MatchIn(patterns, glyph, sx) : GlyphMatch{};
    }
    static bool Accepted(const ScoringPatterns& patterns, int glyph, const GlyphMatch& match) {
        return match.matched >= patterns.acceptFrom[static_cast<std::size_t>(glyph)];
    }

  private:
    GlyphMatch MatchIn(const ScoringPatterns& patterns, int glyph, std::int32_t sx) const;

    const ScoringPatterns& glyphs_;
    std::int32_t imageWidth_ = 0;
    // Brightness column by column, glyphs_.lanes rows each.
    std::vector<std::int16_t> image_;
};

namespace detail {

// Per-row match counts of one block of kLaneBlock rows, summed over columns; the rows are
// added up only when the total is needed.
#if (defined(__SSE2__) || defined(_M_X64)) && !defined(QV_PORTABLE_SCORER)
class RowCounts { // two vectors of eight rows
  public:
    void AddColumn(const std::int16_t* pattern, const std::int16_t* pixels) {
        low_ = _mm_sub_epi16(low_, MatchMask(pattern, pixels));
        high_ = _mm_sub_epi16(high_, MatchMask(pattern + 8, pixels + 8));
    }
    int Total() const {
        const __m128i pairs = _mm_madd_epi16(_mm_add_epi16(low_, high_), _mm_set1_epi16(1));
        const __m128i halves = _mm_add_epi32(pairs, _mm_shuffle_epi32(pairs, 0x4E));
        return _mm_cvtsi128_si32(_mm_add_epi32(halves, _mm_shuffle_epi32(halves, 0xB1)));
    }

  private:
    static_assert(kLaneBlock == 16);
    // All ones in the rows within the tolerance. Brightness is 0..765 and a never-matching
    // row is -2000, so the difference cannot overflow 16 bits.
    static __m128i MatchMask(const std::int16_t* pattern, const std::int16_t* pixels) {
        const __m128i d = _mm_sub_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pattern)),
                                        _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels)));
        const __m128i distance = _mm_max_epi16(d, _mm_sub_epi16(_mm_setzero_si128(), d));
        return _mm_cmplt_epi16(distance, _mm_set1_epi16(kPixelTolerance + 1));
    }

    __m128i low_ = _mm_setzero_si128();
    __m128i high_ = _mm_setzero_si128();
};
#else
class RowCounts {
  public:
    void AddColumn(const std::int16_t* pattern, const std::int16_t* pixels) {
        for (std::size_t y = 0; y < kLaneBlock; ++y) {
            const int distance = std::abs(pattern[y] - pixels[y]);
            counts_[y] = static_cast<std::uint16_t>(counts_[y] + (distance <= kPixelTolerance));
        }
    }
    int Total() const {
        int total = 0;
        for (const std::uint16_t n : counts_) {
            total += n;
        }
        return total;
    }

  private:
    std::array<std::uint16_t, kLaneBlock> counts_{};
};
#endif

// Matching pixels of `count` adjacent columns of `lanes` rows each (a multiple of kLaneBlock).
// Rows are counted apart over at most kMaxLeadingColumns columns, so each count fits.
inline int BlockMatches(const std::int16_t* pattern, const std::int16_t* pixels, std::size_t lanes,
                        std::int32_t count) {
    if (lanes == kLaneBlock) { // the usual glyph height: one block a column
        RowCounts rows;
        for (std::int32_t x = 0; x < count; ++x) {
            rows.AddColumn(pattern + x * kLaneBlock, pixels + x * kLaneBlock);
        }
        return rows.Total();
    }
    int matches = 0;
    for (std::size_t y = 0; y < lanes; y += kLaneBlock) {
        RowCounts rows;
        for (std::int32_t x = 0; x < count; ++x) {
            rows.AddColumn(pattern + x * lanes + y, pixels + x * lanes + y);
        }
        matches += rows.Total();
    }
    return matches;
}

// The leading columns, which are never abandoned, at once; then column by column until the
// glyph ends or is abandoned. Returns the columns compared.
inline std::int32_t MatchColumns(const std::int16_t* pattern, const std::int16_t* pixels,
                                 const std::int64_t* goOn, std::int32_t columns,
                                 std::int32_t leading, std::size_t lanes, std::int64_t& matched) {
    std::int32_t x = std::min(columns, leading);
    matched += BlockMatches(pattern, pixels, lanes, x);
    while (x < columns) {
        matched += BlockMatches(pattern + x * lanes, pixels + x * lanes, lanes, 1);
        if (matched < goOn[x++]) {
            break;
        }
    }
    return x;
}

} // namespace detail

// Inline: the recognizer calls it for every glyph at every position.
inline GlyphMatch GlyphScorer::MatchIn(const ScoringPatterns& patterns, int glyph,
                                       std::int32_t sx) const {
    const auto g = static_cast<std::size_t>(glyph);
    const std::int32_t w = patterns.width[g];
    const std::int32_t h = patterns.height[g];
    GlyphMatch match;
    if (w < 1 || h < 1 || sx < 0) {
        return match;
    }
    const auto columns =
        static_cast<std::int32_t>(std::min<std::int64_t>(w, std::int64_t{imageWidth_} - sx));
    const auto lanes = static_cast<std::size_t>(patterns.lanes);
    const std::size_t first = g * static_cast<std::size_t>(patterns.columns);
    const std::int16_t* pattern = patterns.pixels.data() + first * lanes;
    const std::int16_t* pixels = image_.data() + static_cast<std::size_t>(sx) * lanes;
    const std::int64_t* goOn = patterns.goOnFrom.data() + first;
    const std::int32_t compared = detail::MatchColumns(pattern, pixels, goOn, columns,
                                                       patterns.leading[g], lanes, match.matched);
    match.compared = std::int64_t{h} * compared;
    return match;
}

} // namespace qv

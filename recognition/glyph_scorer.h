// How well each glyph of a set matches a working image at a column: the one scoring rule
// the recognizer uses (and its benchmark times).
#pragma once

#include "capture/pixel_array.h"
#include "recognition/glyph_images.h"
#include "recognition/glyph_pattern_table.h"

#include <array>
#include <cstdint>
#include <vector>

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
    // that it reaches past the image's right edge is compared up to the edge.
    GlyphScorer(const GlyphSetPatterns& set, const PixelArray& image);

    GlyphMatch Match(int glyph, std::int32_t sx) const;
    // 0 to 10000: the share of the glyph's pixels that matched.
    std::int32_t Score(int glyph, const GlyphMatch& match) const;
    // Score(glyph, match) > kAcceptScore.
    bool Accepted(int glyph, const GlyphMatch& match) const {
        return match.matched >= acceptFrom_[static_cast<std::size_t>(glyph)];
    }

  private:
    // Glyph columns are compared in blocks of kLaneBlock rows: one block, the usual case,
    // becomes a few vector instructions.
    static constexpr std::size_t kLaneBlock = 16;

    std::array<std::int32_t, kGlyphsPerSet> width_{};
    std::array<std::int32_t, kGlyphsPerSet> height_{};
    std::int32_t imageWidth_ = 0;
    std::int32_t columns_ = 0; // pattern columns per glyph
    std::int32_t lanes_ = 0;
    // Brightness sums column by column, lanes_ rows each (a multiple of 16); the patterns'
    // rows below their glyph never match.
    std::vector<std::int16_t> image_;
    std::vector<std::int16_t> patterns_;
    // The least match count after column x of glyph g that goes on (not abandoned).
    std::vector<std::int64_t> goOnFrom_;
    // The least match count of glyph g that is accepted.
    std::array<std::int64_t, kGlyphsPerSet> acceptFrom_{};
};

} // namespace qv

// The glyph side of the scoring, prepared once when the pattern table is built: each glyph's
// brightness in columns of lanes the scorer compares with vector instructions, and the match
// counts at which a glyph goes on and is accepted.
#pragma once

#include "recognition/glyph_images.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv {

struct GlyphSetPatterns;

// Glyph columns are compared in blocks of this many rows: one block, the usual case, becomes
// a few vector instructions.
constexpr std::size_t kLaneBlock = 16;

// Most leading columns counted before the first abandon check.
constexpr std::int32_t kMaxLeadingColumns = 64;

struct ScoringPatterns {
    std::array<std::int32_t, kGlyphsPerSet> width{};
    std::array<std::int32_t, kGlyphsPerSet> height{};
    std::int32_t columns = 0; // pattern columns per glyph
    std::int32_t lanes = 0;   // rows per column: a multiple of kLaneBlock
    // Brightness column by column, `lanes` rows each; the rows below a glyph never match.
    std::vector<std::int16_t> pixels;
    // The least match count after column x of glyph g that goes on (is not abandoned).
    std::vector<std::int64_t> goOnFrom;
    // The first columns of glyph g, which are never abandoned (at most kMaxLeadingColumns).
    std::array<std::int32_t, kGlyphsPerSet> leading{};
    // The least match count of glyph g that is accepted.
    std::array<std::int64_t, kGlyphsPerSet> acceptFrom{};
};

ScoringPatterns PrepareScoring(const GlyphSetPatterns& set);

} // namespace qv

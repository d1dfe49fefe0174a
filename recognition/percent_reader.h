// The percent of the level that the game draws after the EXP figure's delimiter.
#pragma once

#include "recognition/glyph_pattern_table.h"
#include "recognition/glyph_scorer.h"

#include <cstdint>
#include <optional>

namespace qv {

// Reads one to three digits, the decimal mark, two digits and "%" after the delimiter accepted
// at `delimiterAt`, each glyph next to the one before it (so a covered glyph is not skipped) and
// all within the first `regionWidth` columns (the region's, at most the working image's). Nothing
// unless the whole percent is there and at most 100.
std::optional<double> ReadPercentAfter(const GlyphScorer& scorer, const GlyphSetPatterns& digits,
                                       const PercentMarks& marks, std::int64_t delimiterAt,
                                       std::int64_t regionWidth);

} // namespace qv

// The decimal mark and the percent sign as the game draws them after the percent's digits, at
// the built-in size: '#' a white stroke, '.' background; each with the border column on either
// side that it shares with its neighbours, like the digits.
#include "recognition/glyph_pattern_table.h"

#include <string_view>

namespace qv {

namespace {

constexpr std::int32_t kBuiltInHeight = 9;
constexpr std::int32_t kStroke = 765; // white

using Shape = std::array<std::string_view, kBuiltInHeight>;
constexpr std::array<Shape, 3> kShapes = {{
    {".....", ".....", ".....", ".....", ".....", ".....", ".....", "..#..", "..#.."},
    {".....", ".....", ".....", ".....", ".....", ".....", ".....", "..#..", "....."},
    {".........", "..#....#.", ".#.#..#..", "..#..#...", "....#....", "...#..#..", "..#..#.#.",
     ".#....#..", "........."},
}};

} // namespace

PercentMarks BuildPercentMarks(const GlyphSetPatterns& digits) {
    PercentMarks marks;
    const std::int32_t height = digits.height[0];
    if (height < kBuiltInHeight || height % kBuiltInHeight != 0) {
        return marks; // learned digits of another size: no percent is read
    }
    const std::int32_t scale = height / kBuiltInHeight;
    GlyphSetPatterns& set = marks.patterns;
    for (std::size_t g = 0; g < kShapes.size(); ++g) {
        set.width[g] = static_cast<std::int32_t>(kShapes[g][0].size()) * scale;
        set.height[g] = height;
    }
    set.largestWidth = set.width[kPercentSign];
    set.largestHeight = height;
    set.sums.assign(static_cast<std::size_t>(kGlyphsPerSet) * set.Columns() * set.Rows(), 0);
    for (int g = 0; g < static_cast<int>(kShapes.size()); ++g) {
        for (std::int32_t x = 0; x < set.width[g]; ++x) {
            for (std::int32_t y = 0; y < height; ++y) {
                // The background of the digits' left border column, row by row.
                const bool stroke = kShapes[g][y / scale][x / scale] == '#';
                set.sums[set.SumIndex(g, x, y)] = stroke ? kStroke : digits.PixelSum(0, 0, y);
            }
        }
    }
    set.scoring = PrepareScoring(set);
    marks.scale = scale;
    return marks;
}

} // namespace qv

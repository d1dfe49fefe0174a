#include "recognition/glyph_scorer.h"

#include <algorithm>

namespace qv {

namespace {

// Early abandonment: after a full column, a glyph is dropped when fewer than 90 % of more
// than 20 compared pixels matched.
constexpr double kAbandonRatio = 0.9;
constexpr int kAbandonMinCompared = 20;
// Pattern value of the rows below a glyph: never within the tolerance of any brightness.
constexpr std::int16_t kNeverMatches = -2000;

bool Abandon(std::int64_t compared, std::int64_t matched) {
    return static_cast<double>(compared) * kAbandonRatio > static_cast<double>(matched) &&
           compared > kAbandonMinCompared;
}

std::int32_t ScoreOf(std::int64_t matched, std::int32_t w, std::int32_t h) {
    return static_cast<std::int32_t>(matched * 10000 / w / h);
}

// The least match count of `compared` pixels that is not abandoned. Found with the rule
// itself, so the threshold agrees with it exactly.
std::int64_t GoOnFrom(std::int64_t compared) {
    auto m = static_cast<std::int64_t>(static_cast<double>(compared) * kAbandonRatio);
    while (m > 0 && !Abandon(compared, m - 1)) {
        --m;
    }
    while (Abandon(compared, m)) {
        ++m;
    }
    return m;
}

// The least match count of a w x h glyph whose score is accepted.
std::int64_t AcceptFrom(std::int32_t w, std::int32_t h) {
    const std::int64_t pixels = std::int64_t{w} * h;
    std::int64_t m = (std::int64_t{kAcceptScore + 1} * pixels + 9999) / 10000;
    while (m > 0 && ScoreOf(m - 1, w, h) > kAcceptScore) {
        --m;
    }
    while (m <= pixels && ScoreOf(m, w, h) <= kAcceptScore) {
        ++m;
    }
    return m;
}

std::int32_t RoundUpToLanes(std::int32_t rows, std::int32_t lanes) {
    return std::max(lanes, (rows + lanes - 1) / lanes * lanes);
}

} // namespace

ScoringPatterns PrepareScoring(const GlyphSetPatterns& set) {
    ScoringPatterns p;
    p.width = set.width;
    p.height = set.height;
    p.columns = std::max(0, *std::max_element(p.width.begin(), p.width.end()));
    p.lanes = RoundUpToLanes(*std::max_element(p.height.begin(), p.height.end()),
                             static_cast<std::int32_t>(kLaneBlock));
    const auto lanes = static_cast<std::size_t>(p.lanes);
    p.pixels.assign(static_cast<std::size_t>(kGlyphsPerSet * p.columns) * lanes, kNeverMatches);
    p.goOnFrom.assign(static_cast<std::size_t>(kGlyphsPerSet * p.columns), 0);
    for (int g = 0; g < kGlyphsPerSet; ++g) {
        const std::int32_t w = p.width[static_cast<std::size_t>(g)];
        const std::int32_t h = p.height[static_cast<std::size_t>(g)];
        for (std::int32_t x = 0; x < w; ++x) {
            const std::size_t at = static_cast<std::size_t>(g * p.columns + x);
            std::int16_t* column = p.pixels.data() + at * lanes;
            for (std::int32_t y = 0; y < h; ++y) {
                column[y] = static_cast<std::int16_t>(set.PixelSum(g, x, y));
            }
            p.goOnFrom[at] = GoOnFrom(std::int64_t{h} * (x + 1));
            if (p.goOnFrom[at] == 0 && x == p.leading[static_cast<std::size_t>(g)] &&
                x < kMaxLeadingColumns) {
                ++p.leading[static_cast<std::size_t>(g)];
            }
        }
        p.acceptFrom[static_cast<std::size_t>(g)] = w < 1 || h < 1 ? 1 : AcceptFrom(w, h);
    }
    return p;
}

GlyphScorer::GlyphScorer(const GlyphSetPatterns& set, const PixelArray& image)
    : glyphs_(set.scoring), imageWidth_(image.Width()) {
    const auto lanes = static_cast<std::size_t>(glyphs_.lanes);
    image_.assign(static_cast<std::size_t>(imageWidth_) * lanes, 0);
    const std::int32_t rows = std::min(image.Height(), glyphs_.lanes);
    for (std::int32_t y = 0; y < rows; ++y) {
        const Pixel* row = image.Data() + static_cast<std::size_t>(y) * imageWidth_;
        for (std::int32_t x = 0; x < imageWidth_; ++x) {
            image_[static_cast<std::size_t>(x) * lanes + y] =
                static_cast<std::int16_t>(BrightnessOf(row[x]));
        }
    }
}

std::int32_t GlyphScorer::Score(int glyph, const GlyphMatch& match) const {
    const auto g = static_cast<std::size_t>(glyph);
    const std::int32_t w = glyphs_.width[g];
    const std::int32_t h = glyphs_.height[g];
    return w < 1 || h < 1 ? 0 : ScoreOf(match.matched, w, h);
}

} // namespace qv

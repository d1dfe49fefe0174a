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

GlyphScorer::GlyphScorer(const GlyphSetPatterns& set, const PixelArray& image)
    : width_(set.width), height_(set.height), imageWidth_(image.Width()) {
    columns_ = std::max(0, *std::max_element(width_.begin(), width_.end()));
    lanes_ = RoundUpToLanes(*std::max_element(height_.begin(), height_.end()),
                            static_cast<std::int32_t>(kLaneBlock));
    const auto lanes = static_cast<std::size_t>(lanes_);

    image_.assign(static_cast<std::size_t>(imageWidth_) * lanes, 0);
    const std::int32_t rows = std::min(image.Height(), lanes_);
    for (std::int32_t x = 0; x < imageWidth_; ++x) {
        std::int16_t* column = image_.data() + static_cast<std::size_t>(x) * lanes;
        for (std::int32_t y = 0; y < rows; ++y) {
            column[y] = static_cast<std::int16_t>(image.Brightness(x, y));
        }
    }

    patterns_.assign(static_cast<std::size_t>(kGlyphsPerSet * columns_) * lanes, kNeverMatches);
    goOnFrom_.assign(static_cast<std::size_t>(kGlyphsPerSet * columns_), 0);
    for (int g = 0; g < kGlyphsPerSet; ++g) {
        const std::int32_t w = width_[static_cast<std::size_t>(g)];
        const std::int32_t h = height_[static_cast<std::size_t>(g)];
        for (std::int32_t x = 0; x < w; ++x) {
            const std::size_t at = static_cast<std::size_t>(g * columns_ + x);
            std::int16_t* column = patterns_.data() + at * lanes;
            for (std::int32_t y = 0; y < h; ++y) {
                column[y] = static_cast<std::int16_t>(set.PixelSum(g, x, y));
            }
            goOnFrom_[at] = GoOnFrom(std::int64_t{h} * (x + 1));
        }
        acceptFrom_[static_cast<std::size_t>(g)] = w < 1 || h < 1 ? 1 : AcceptFrom(w, h);
    }
}

namespace {

// Matching pixels of one column of `lanes` rows (a multiple of kLaneBlock). kFixedLanes, when
// not 0, is `lanes` known at compile time, so the usual glyph height gets vector code.
template <std::size_t kFixedLanes>
int ColumnMatches(const std::int16_t* pattern, const std::int16_t* pixels, std::size_t lanes) {
    if constexpr (kFixedLanes != 0) {
        lanes = kFixedLanes;
    }
    int matches = 0;
    for (std::size_t y = 0; y < lanes; ++y) {
        const auto d = static_cast<std::uint16_t>(pattern[y] - pixels[y] + kPixelTolerance);
        matches += d <= 2 * kPixelTolerance;
    }
    return matches;
}

template <std::size_t kFixedLanes>
std::int32_t MatchColumns(const std::int16_t* pattern, const std::int16_t* pixels,
                          const std::int64_t* goOn, std::int32_t columns, std::size_t lanes,
                          std::int64_t& matched) {
    std::int32_t x = 0;
    while (x < columns) {
        matched += ColumnMatches<kFixedLanes>(pattern, pixels, lanes);
        pattern += lanes;
        pixels += lanes;
        if (matched < goOn[x++]) {
            break;
        }
    }
    return x;
}

} // namespace

GlyphMatch GlyphScorer::Match(int glyph, std::int32_t sx) const {
    const auto g = static_cast<std::size_t>(glyph);
    const std::int32_t w = width_[g];
    const std::int32_t h = height_[g];
    GlyphMatch match;
    if (w < 1 || h < 1 || sx < 0) {
        return match;
    }
    const auto columns =
        static_cast<std::int32_t>(std::min<std::int64_t>(w, std::int64_t{imageWidth_} - sx));
    const auto lanes = static_cast<std::size_t>(lanes_);
    const std::size_t first = g * static_cast<std::size_t>(columns_);
    const std::int16_t* pattern = patterns_.data() + first * lanes;
    const std::int16_t* pixels = image_.data() + static_cast<std::size_t>(sx) * lanes;
    const std::int64_t* goOn = goOnFrom_.data() + first;
    const std::int32_t compared =
        lanes == kLaneBlock
            ? MatchColumns<kLaneBlock>(pattern, pixels, goOn, columns, lanes, match.matched)
            : MatchColumns<0>(pattern, pixels, goOn, columns, lanes, match.matched);
    match.compared = std::int64_t{h} * compared;
    return match;
}

std::int32_t GlyphScorer::Score(int glyph, const GlyphMatch& match) const {
    const auto g = static_cast<std::size_t>(glyph);
    if (width_[g] < 1 || height_[g] < 1) {
        return 0;
    }
    return ScoreOf(match.matched, width_[g], height_[g]);
}

} // namespace qv

#include "recognition/exp_search.h"

#include "recognition/exp_recognizer.h"
#include "recognition/glyph_scorer.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <tuple>
#include <vector>

namespace qv {

namespace {

// Brightness of every pixel, row by row: the search compares sums, as the recognizer does.
struct BrightnessPlane {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::int16_t> values;

    explicit BrightnessPlane(const PixelArray& picture)
        : width(picture.Width()), height(picture.Height()),
          values(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        const Pixel* pixels = picture.Data();
        for (std::size_t i = 0; i < values.size(); ++i) {
            values[i] = static_cast<std::int16_t>(BrightnessOf(pixels[i]));
        }
    }
    // Every `step`-th pixel of every `step`-th row of `full`.
    BrightnessPlane(const BrightnessPlane& full, std::int32_t step)
        : width((full.width + step - 1) / step), height((full.height + step - 1) / step),
          values(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        for (std::int32_t v = 0; v < height; ++v) {
            const std::int16_t* row = full.Row(v * step);
            for (std::int32_t u = 0; u < width; ++u) {
                values[static_cast<std::size_t>(v) * static_cast<std::size_t>(width) +
                       static_cast<std::size_t>(u)] = row[u * step];
            }
        }
    }
    const std::int16_t* Row(std::int32_t y) const {
        return values.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    }
};

struct Probe {
    std::int32_t x = 0, y = 0;
    std::int16_t value = 0;
};

// One glyph as the search compares it: accepted where the recognizer would accept it, with at
// most `allowedMisses` pixels beyond the tolerance.
struct SearchGlyph {
    std::int32_t width = 0, height = 0;
    std::vector<std::int16_t> values; // row by row
    std::int64_t allowedMisses = 0;
    // A glyph enlarged `block` times is made of block x block squares of one value. Whichever
    // place it is drawn at, each whole square holds one pixel of every block-th row and column,
    // so the search first compares those pixels only (`probes`, in block units, strokes and
    // background in turn): one look serves block x block places, and most are rejected after a
    // few probes.
    std::int32_t block = 1;
    std::int32_t blockColumns = 0, blockRows = 0;
    std::vector<Probe> probes;

    std::int16_t At(std::int32_t x, std::int32_t y) const {
        return values[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

bool Near(int a, int b) {
    return std::abs(a - b) <= kPixelTolerance;
}

std::vector<Probe> ChooseProbes(const SearchGlyph& glyph) {
    const auto [low, high] = std::minmax_element(glyph.values.begin(), glyph.values.end());
    const int middle = (*low + *high) / 2;
    std::array<std::vector<Probe>, 2> kinds; // background, strokes
    for (std::int32_t b = 0; b < glyph.blockRows; ++b) {
        for (std::int32_t a = 0; a < glyph.blockColumns; ++a) {
            const std::int16_t v = glyph.At(a * glyph.block, b * glyph.block);
            kinds[v > middle ? 1 : 0].push_back({a, b, v});
        }
    }
    std::vector<Probe> probes;
    for (std::size_t i = 0; i < std::max(kinds[0].size(), kinds[1].size()); ++i) {
        for (int kind = 1; kind >= 0; --kind) {
            if (i < kinds[kind].size()) {
                probes.push_back(kinds[kind][i]);
            }
        }
    }
    return probes;
}

SearchGlyph MakeSearchGlyph(const GlyphSetPatterns& set, int g, std::int32_t block) {
    SearchGlyph glyph;
    glyph.width = set.width[static_cast<std::size_t>(g)];
    glyph.height = set.height[static_cast<std::size_t>(g)];
    for (std::int32_t y = 0; y < glyph.height; ++y) {
        for (std::int32_t x = 0; x < glyph.width; ++x) {
            glyph.values.push_back(static_cast<std::int16_t>(set.PixelSum(g, x, y)));
        }
    }
    glyph.allowedMisses = std::int64_t{glyph.width} * glyph.height -
                          set.scoring.acceptFrom[static_cast<std::size_t>(g)];
    glyph.block = block;
    glyph.blockColumns = glyph.width / block; // whole squares only
    glyph.blockRows = glyph.height / block;
    if (!glyph.values.empty()) {
        glyph.probes = ChooseProbes(glyph);
    }
    return glyph;
}

bool MatchesAt(const BrightnessPlane& plane, const SearchGlyph& glyph, std::int32_t x,
               std::int32_t y) {
    if (glyph.values.empty() || x < 0 || y < 0 || x + glyph.width > plane.width ||
        y + glyph.height > plane.height) {
        return false;
    }
    std::int64_t misses = 0;
    for (std::int32_t gy = 0; gy < glyph.height; ++gy) {
        const std::int16_t* row = plane.Row(y + gy) + x;
        for (std::int32_t gx = 0; gx < glyph.width; ++gx) {
            misses += !Near(row[gx], glyph.At(gx, gy));
        }
        if (misses > glyph.allowedMisses) {
            return false;
        }
    }
    return true;
}

struct Point {
    std::int32_t x = 0, y = 0;
};

// Places u0 .. u0 + count - 1 of row v of the sampled plane, probe by probe, until every one
// of them has missed more than the glyph allows. Plain loops over a short array, which the
// compiler vectorises. The places left are then compared in full at every pixel they stand for.
constexpr std::int32_t kChunk = 64;

void ScanChunk(const BrightnessPlane& plane, const BrightnessPlane& sampled,
               const SearchGlyph& glyph, std::int32_t u0, std::int32_t v, std::int32_t count,
               std::vector<Point>& hits) {
    std::array<std::int16_t, kChunk> misses{};
    const auto allowed =
        static_cast<std::int16_t>(std::min<std::int64_t>(glyph.allowedMisses, 30000));
    for (std::size_t i = 0; i < glyph.probes.size(); ++i) {
        const Probe& p = glyph.probes[i];
        const std::int16_t* src = sampled.Row(v + p.y) + u0 + p.x;
        const std::int16_t value = p.value;
        for (std::int32_t j = 0; j < count; ++j) {
            const int d = src[j] - value;
            misses[static_cast<std::size_t>(j)] =
                static_cast<std::int16_t>(misses[static_cast<std::size_t>(j)] +
                                          (d > kPixelTolerance || d < -kPixelTolerance));
        }
        if (i >= static_cast<std::size_t>(allowed) && i % 2 == 0) {
            std::int16_t fewest = misses[0];
            for (std::int32_t j = 1; j < count; ++j) {
                fewest = std::min(fewest, misses[static_cast<std::size_t>(j)]);
            }
            if (fewest > allowed) {
                return;
            }
        }
    }
    const std::int32_t k = glyph.block;
    for (std::int32_t j = 0; j < count; ++j) {
        if (misses[static_cast<std::size_t>(j)] > allowed) {
            continue;
        }
        // The places whose squares hold the sampled pixels of (u0 + j, v).
        for (std::int32_t y = std::max(0, k * (v - 1) + 1); y <= k * v; ++y) {
            for (std::int32_t x = std::max(0, k * (u0 + j - 1) + 1); x <= k * (u0 + j); ++x) {
                if (MatchesAt(plane, glyph, x, y)) {
                    hits.push_back({x, y});
                }
            }
        }
    }
}

// Every place where the recognizer would accept the glyph.
std::vector<Point> FindGlyph(const BrightnessPlane& plane, const SearchGlyph& glyph) {
    std::vector<Point> hits;
    if (glyph.probes.empty()) {
        return hits;
    }
    const BrightnessPlane sampledCopy =
        glyph.block > 1 ? BrightnessPlane(plane, glyph.block) : BrightnessPlane(PixelArray());
    const BrightnessPlane& sampled = glyph.block > 1 ? sampledCopy : plane;
    const std::int32_t lastU = sampled.width - glyph.blockColumns;
    const std::int32_t lastV = sampled.height - glyph.blockRows;
    for (std::int32_t v = 0; v <= lastV; ++v) {
        for (std::int32_t u0 = 0; u0 <= lastU; u0 += kChunk) {
            ScanChunk(plane, sampled, glyph, u0, v, std::min(kChunk, lastU - u0 + 1), hits);
        }
    }
    return hits;
}

// A glyph set the search reads with, and the scale the game would draw it at.
struct SearchSet {
    const GlyphPatternTable* table = nullptr;
    std::int32_t scale = 1;
    bool enlarged = false;
    std::array<SearchGlyph, kGlyphsPerSet> glyphs;

    SearchSet(const GlyphPatternTable& t, std::int32_t k, bool e, std::int32_t block)
        : table(&t), scale(k), enlarged(e) {
        for (int g = 0; g < kGlyphsPerSet; ++g) {
            glyphs[static_cast<std::size_t>(g)] =
                MakeSearchGlyph(t.sets[kExpCaptureIndex], g, block);
        }
    }
};

struct Run {
    Point start;
    std::size_t digits = 0;
};

// The digits right before a delimiter, read right to left.
std::optional<Run> RunBefore(const BrightnessPlane& plane, const SearchSet& set, Point delimiter) {
    Point start = delimiter;
    std::size_t digits = 0;
    while (digits < kMaxSearchDigits) {
        bool found = false;
        for (int g = 0; g < kDelimiterGlyph && !found; ++g) {
            const SearchGlyph& digit = set.glyphs[static_cast<std::size_t>(g)];
            const std::int32_t x = start.x - (digit.width - 1); // sharing a border column
            found = MatchesAt(plane, digit, x, start.y);
            if (found) {
                start.x = x;
            }
        }
        if (!found) {
            break;
        }
        ++digits;
    }
    return digits == 0 ? std::nullopt : std::optional<Run>(Run{start, digits});
}

// What the measurement reads in `region` of the client with `table`.
std::string ReadRegion(const PixelArray& client, const GlyphPatternTable& table,
                       const CaptureRegion& region) {
    CaptureBuffer buffer;
    if (!UpdateCaptureBufferSize({CaptureRegion{1, 1, 1, 1}, region}, table, buffer)) {
        return {};
    }
    PixelArray captured(region.width, region.height);
    for (std::int32_t y = 0; y < region.height; ++y) {
        for (std::int32_t x = 0; x < region.width; ++x) {
            if (client.Contains(region.x + x, region.y + y)) {
                captured.At(x, y) = client.At(region.x + x, region.y + y);
            }
        }
    }
    StoreInSlot(buffer, kExpCaptureIndex, captured);
    ExpReading reading;
    CaptionKeeper keeper;
    RecognizeExpReadout(buffer, table, region, false, reading, keeper);
    std::string digits;
    if (reading && *reading != 0.0) {
        for (const wchar_t c : keeper.caption) {
            if (c < L'0' || c > L'9') {
                break;
            }
            digits += static_cast<char>(c);
        }
    }
    return digits;
}

void SearchWith(const PixelArray& client, const BrightnessPlane& plane, const SearchSet& set,
                const PercentCheck& followedByPercent, std::vector<ExpSearchResult>& found) {
    for (const Point delimiter : FindGlyph(plane, set.glyphs[kDelimiterGlyph])) {
        const std::optional<Run> run = RunBefore(plane, set, delimiter);
        if (!run) {
            continue;
        }
        ExpSearchResult result;
        result.region =
            FigureRegion(run->start.x, run->start.y, set.scale, run->digits, client.Width());
        result.region.height = set.glyphs[0].height;
        result.scale = set.scale;
        result.enlarged = set.enlarged;
        result.digits = ReadRegion(client, *set.table, result.region);
        if (result.digits.empty()) {
            continue;
        }
        result.percent =
            followedByPercent && followedByPercent(client, delimiter.x, delimiter.y, set.scale);
        found.push_back(std::move(result));
    }
}

// A percent first, then the lowest, then the leftmost.
bool Better(const ExpSearchResult& a, const ExpSearchResult& b) {
    return std::make_tuple(a.percent, a.region.y, -a.region.x) >
           std::make_tuple(b.percent, b.region.y, -b.region.x);
}

std::optional<ExpSearchResult> Best(std::vector<ExpSearchResult>& found) {
    if (found.empty()) {
        return std::nullopt;
    }
    return *std::max_element(found.begin(), found.end(),
                             [](const auto& a, const auto& b) { return Better(b, a); });
}

// The "%" sign as the game draws it, 7 x 7.
constexpr const char* kPercentSign[] = {".#....#", "#.#..#.", ".#..#..", "...#...",
                                        "..#..#.", ".#..#.#", "#....#."};
constexpr int kWhite = 765;

bool PercentSignAt(const PixelArray& client, std::int32_t left, std::int32_t top,
                   std::int32_t scale) {
    for (std::int32_t row = 0; row < 7; ++row) {
        for (std::int32_t column = 0; column < 7; ++column) {
            const std::int32_t x = left + column * scale + scale / 2;
            const std::int32_t y = top + row * scale + scale / 2;
            if (!client.Contains(x, y) ||
                Near(client.Brightness(x, y), kWhite) != (kPercentSign[row][column] == '#')) {
                return false;
            }
        }
    }
    return true;
}

bool SameGlyphs(const GlyphPatternTable& a, const GlyphPatternTable& b) {
    const GlyphSetPatterns& x = a.sets[kExpCaptureIndex];
    const GlyphSetPatterns& y = b.sets[kExpCaptureIndex];
    return x.width == y.width && x.height == y.height && x.sums == y.sums;
}

} // namespace

bool PercentSignAfter(const PixelArray& client, std::int32_t x, std::int32_t y,
                      std::int32_t scale) {
    // From the delimiter's cell, the sign's strokes begin 27 columns on after one digit before
    // the mark and 39 after three; a client that spaces the mark wider shifts them a little.
    for (std::int32_t column = 20; column <= 46; ++column) {
        if (PercentSignAt(client, x + column * scale, y + scale, scale)) {
            return true;
        }
    }
    return false;
}

CaptureRegion FigureRegion(std::int32_t x, std::int32_t y, std::int32_t scale, std::size_t digits,
                           std::int32_t clientWidth) {
    const std::int64_t wanted =
        std::int64_t{scale} * (6 * (static_cast<std::int64_t>(digits) + 2) + 46);
    const std::int64_t room = std::int64_t{clientWidth} - x;
    return {x, y, static_cast<std::int32_t>(std::max<std::int64_t>(1, std::min(wanted, room))),
            9 * scale};
}

GlyphImageSet EnlargeGlyphSet(const GlyphImageSet& builtIn, std::int32_t scale) {
    GlyphImageSet enlarged;
    for (int g = 0; g < kGlyphsPerSet; ++g) {
        const PixelArray& image = builtIn[static_cast<std::size_t>(g)];
        const std::int32_t width =
            g == kDelimiterGlyph ? image.Width() * scale : (image.Width() - 1) * scale + 1;
        PixelArray big(width, image.Height() * scale);
        for (std::int32_t y = 0; y < big.Height(); ++y) {
            for (std::int32_t x = 0; x < big.Width(); ++x) {
                big.At(x, y) = image.At(x / scale, y / scale);
            }
        }
        enlarged[static_cast<std::size_t>(g)] = std::move(big);
    }
    return enlarged;
}

LearnedGlyphs EnlargedGlyphs(const GlyphImageSet& builtIn, std::int32_t scale) {
    LearnedGlyphs learned;
    GlyphImageSet images = EnlargeGlyphSet(builtIn, scale);
    for (std::size_t g = 0; g < images.size(); ++g) {
        learned.images[g] = std::move(images[g]);
    }
    return learned;
}

std::optional<ExpSearchResult> SearchExpFigure(const PixelArray& client,
                                               const GlyphPatternTable& inUse,
                                               const GlyphImageSet& builtIn,
                                               const PercentCheck& followedByPercent) {
    const BrightnessPlane plane(client);
    std::vector<ExpSearchResult> found;
    const std::int32_t inUseScale = std::max(1, (inUse.sets[kExpCaptureIndex].height[0] + 4) / 9);
    SearchWith(client, plane, SearchSet(inUse, inUseScale, false, 1), followedByPercent, found);
    if (!found.empty()) {
        return Best(found);
    }
    // The built-in glyphs at their own size too when learned ones are in use (a player back
    // on a client that draws the built-in digits).
    for (std::int32_t k = 1; k <= kMaxSearchScale; ++k) {
        const GlyphPictureSet pictures = PicturesFromImages(EnlargeGlyphSet(builtIn, k));
        GlyphPatternTable table;
        if (!BuildGlyphPatterns({pictures, pictures}, table) ||
            (k == 1 && SameGlyphs(table, inUse))) {
            continue;
        }
        SearchWith(client, plane, SearchSet(table, k, true, k), followedByPercent, found);
    }
    return Best(found);
}

} // namespace qv

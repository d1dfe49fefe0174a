#include "testkit/glyph_render.h"

#include <algorithm>
#include <random>

namespace qv {

namespace {

// The test kit's own font: '#' stroke, '.' background.
constexpr std::int32_t kSegmentRows = 7;
const char* const kSegmentGlyphs[kGlyphsPerSet][kSegmentRows] = {
    {".####.", ".#..#.", ".#..#.", ".#..#.", ".#..#.", ".#..#.", ".####."},
    {".##.", "..#.", "..#.", "..#.", "..#.", "..#.", "..#."},
    {".####.", "....#.", "....#.", ".####.", ".#....", ".#....", ".####."},
    {".####.", "....#.", "....#.", "..###.", "....#.", "....#.", ".####."},
    {".#..#.", ".#..#.", ".#..#.", ".####.", "....#.", "....#.", "....#."},
    {".####.", ".#....", ".#....", ".####.", "....#.", "....#.", ".####."},
    {".####.", ".#....", ".#....", ".####.", ".#..#.", ".#..#.", ".####."},
    {".####.", "....#.", "....#.", "...#..", "...#..", "..#...", "..#..."},
    {".####.", ".#..#.", ".#..#.", ".####.", ".#..#.", ".#..#.", ".####."},
    {".####.", ".#..#.", ".#..#.", ".####.", "....#.", "....#.", ".####."},
    {"....#.", "....#.", "...#..", "...#..", "..#...", ".#....", ".#...."},
};
constexpr Pixel kSegmentStroke = MakePixel(40, 40, 110);
constexpr Pixel kSegmentGround = MakePixel(240, 230, 160);

// What the game draws after the percent's digits, white ('#') on the strip's background, each in
// a cell whose left border column is the previous glyph's right one: the decimal mark in the
// middle column of five, the percent sign in the seven columns and rows inside a 9 x 9 cell.
constexpr Pixel kWhite = MakePixel(255, 255, 255);
constexpr std::int32_t kMarkCell = 5;
constexpr std::int32_t kSignCell = 9;
constexpr std::string_view kPercentSign[] = {".#....#", "#.#..#.", ".#..#..", "...#...",
                                             "..#..#.", ".#..#.#", "#....#."};

void DrawStroke(PixelArray& strip, std::int64_t x, std::int32_t y) {
    if (x >= 0 && x < strip.Width() && y >= 0 && y < strip.Height()) {
        strip.At(static_cast<std::int32_t>(x), y) = kWhite;
    }
}

// Draws one character of the percent at cell `x`; returns the next cell's left column.
std::int32_t DrawPercentChar(PixelArray& strip, char c, const GlyphImageSet& set1, std::int32_t x,
                             std::int32_t top) {
    if (c == ',' || c == '.') {
        DrawStroke(strip, x + 2, top + 7);
        if (c == ',') {
            DrawStroke(strip, x + 2, top + 8);
        }
        return x + kMarkCell - 1;
    }
    if (c == '%') {
        for (std::int32_t y = 0; y < 7; ++y) {
            for (std::int32_t column = 0; column < 7; ++column) {
                if (kPercentSign[y][column] == '#') {
                    DrawStroke(strip, x + 1 + column, top + 1 + y);
                }
            }
        }
        return x + kSignCell - 1;
    }
    const bool digit = c >= '0' && c <= '9';
    const PixelArray& glyph = set1[digit ? static_cast<std::size_t>(c - '0') : 0];
    if (digit) {
        DrawImage(strip, glyph, x, top);
    }
    return x + glyph.Width() - 1;
}

// The background is taken from the outer columns of the digit-0 image, which hold only
// background, so the strip's slate matches the glyphs' own row by row.
Pixel BackgroundAt(const PixelArray& zero, std::int32_t x, std::int32_t y) {
    if (zero.Empty()) {
        return 0;
    }
    const std::int32_t row = y < 0 ? 0 : (y < zero.Height() ? y : zero.Height() - 1);
    const std::int32_t column = (x & 1) != 0 ? zero.Width() - 1 : 0;
    return zero.At(column, row);
}

} // namespace

void DrawImage(PixelArray& target, const PixelArray& image, std::int32_t left, std::int32_t top) {
    for (std::int32_t y = 0; y < image.Height(); ++y) {
        for (std::int32_t x = 0; x < image.Width(); ++x) {
            const std::int64_t tx = std::int64_t{left} + x;
            const std::int64_t ty = std::int64_t{top} + y;
            if (tx >= 0 && ty >= 0 && tx < target.Width() && ty < target.Height()) {
                target.At(static_cast<std::int32_t>(tx), static_cast<std::int32_t>(ty)) =
                    image.At(x, y);
            }
        }
    }
}

PixelArray RenderExpStrip(std::string_view figure, const GlyphImageSet& set1,
                          const StripLayout& layout) {
    PixelArray strip(layout.width, layout.height);
    const PixelArray& zero = set1[0];
    for (std::int32_t y = 0; y < strip.Height(); ++y) {
        for (std::int32_t x = 0; x < strip.Width(); ++x) {
            strip.At(x, y) = BackgroundAt(zero, x, y - layout.top);
        }
    }
    std::int32_t x = layout.left;
    for (const char c : figure) {
        const bool digit = c >= '0' && c <= '9';
        const PixelArray& glyph = set1[digit ? static_cast<std::size_t>(c - '0') : 0];
        if (digit) {
            DrawImage(strip, glyph, x, layout.top);
        }
        x += glyph.Width() - 1;
    }
    if (layout.delimiter) {
        DrawImage(strip, set1[kDelimiterGlyph], x, layout.top);
        x += set1[kDelimiterGlyph].Width() - 1;
        for (const char c : layout.percent) {
            x = DrawPercentChar(strip, c, set1, x, layout.top);
        }
    }
    return layout.scale > 1 ? Enlarge(strip, layout.scale) : strip;
}

PixelArray Enlarge(const PixelArray& image, std::int32_t scale) {
    PixelArray large(image.Width() * scale, image.Height() * scale);
    for (std::int32_t y = 0; y < large.Height(); ++y) {
        for (std::int32_t x = 0; x < large.Width(); ++x) {
            large.At(x, y) = image.At(x / scale, y / scale);
        }
    }
    return large;
}

GlyphImageSet SegmentFont() {
    GlyphImageSet font;
    for (std::size_t g = 0; g < font.size(); ++g) {
        const std::string_view first = kSegmentGlyphs[g][0];
        font[g] = PixelArray(static_cast<std::int32_t>(first.size()), kSegmentRows);
        for (std::int32_t y = 0; y < kSegmentRows; ++y) {
            for (std::int32_t x = 0; x < font[g].Width(); ++x) {
                font[g].At(x, y) = kSegmentGlyphs[g][y][x] == '#' ? kSegmentStroke : kSegmentGround;
            }
        }
    }
    return font;
}

void AddNoise(PixelArray& pixels, unsigned seed, int amplitude) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> noise(-amplitude, amplitude);
    const auto jitter = [&](int channel) { return std::clamp(channel + noise(random), 0, 255); };
    for (std::int32_t y = 0; y < pixels.Height(); ++y) {
        for (std::int32_t x = 0; x < pixels.Width(); ++x) {
            const Pixel p = pixels.At(x, y);
            const int red = jitter(RedOf(p));
            const int green = jitter(GreenOf(p));
            pixels.At(x, y) = MakePixel(red, green, jitter(BlueOf(p)));
        }
    }
}

} // namespace qv

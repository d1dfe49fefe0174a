#include "testkit/glyph_render.h"

namespace qv {

namespace {

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
    }
    return strip;
}

} // namespace qv

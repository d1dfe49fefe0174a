#include "tools/demogame/status_figures.h"

#include "testkit/glyph_render.h"

#include <string>

namespace qv::demo {

namespace {

constexpr Pixel kWhite = MakePixel(255, 255, 255);
constexpr std::int32_t kPitch = 6; // a glyph's width less the column it shares

// A slash in the digits' white, one glyph cell wide.
void DrawSlash(PixelArray& strip, std::int32_t left) {
    for (std::int32_t row = 1; row <= 7; ++row) {
        strip.At(left + 5 - (row + 1) / 2, row) = kWhite;
    }
}

PixelArray Mirrored(const PixelArray& image) {
    PixelArray mirrored(image.Width(), image.Height());
    for (std::int32_t y = 0; y < image.Height(); ++y) {
        for (std::int32_t x = 0; x < image.Width(); ++x) {
            mirrored.At(x, y) = image.At(image.Width() - 1 - x, y);
        }
    }
    return mirrored;
}

} // namespace

PixelArray RenderStatusFigure(std::string_view figure, const GlyphImageSet& glyphs, int scale) {
    const std::string cells = " " + std::string(figure) + " ";
    StripLayout layout;
    layout.width = kPitch * static_cast<std::int32_t>(cells.size()) + 1;
    layout.delimiter = false;
    PixelArray strip = RenderExpStrip(cells, glyphs, layout);
    const PixelArray& bracket = glyphs[kDelimiterGlyph];
    DrawImage(strip, bracket, 0, 0);
    const auto last = static_cast<std::int32_t>(cells.size()) - 1;
    DrawImage(strip, Mirrored(bracket), kPitch * last + 7 - bracket.Width(), 0);
    const auto slash = cells.find('/');
    if (slash != std::string::npos) {
        DrawSlash(strip, kPitch * static_cast<std::int32_t>(slash));
    }
    return Enlarge(strip, scale);
}

} // namespace qv::demo

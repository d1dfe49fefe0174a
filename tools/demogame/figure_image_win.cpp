#include "capture/bmp_file.h"
#include "resources/resource_ids.h"
#include "testkit/glyph_render.h"
#include "tools/demogame/demo_script.h"
#include "tools/demogame/figure_image.h"

#include <span>
#include <string>

namespace qv::demo {

std::optional<GlyphImageSet> LoadGlyphs(HINSTANCE instance) {
    GlyphImageSet set;
    for (int glyph = 0; glyph < kGlyphsPerSet; ++glyph) {
        HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(IDB_GLYPH_SET1_BASE + glyph),
                                    MAKEINTRESOURCEW(2)); // RT_BITMAP
        HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
        const void* data = loaded ? LockResource(loaded) : nullptr;
        if (!data) {
            return std::nullopt;
        }
        auto image = DecodePackedDib(
            std::span(static_cast<const std::uint8_t*>(data), SizeofResource(instance, found)));
        if (!image) {
            return std::nullopt;
        }
        set[static_cast<size_t>(glyph)] = std::move(*image);
    }
    return set;
}

PixelArray RenderFigure(std::uint64_t figure, const GlyphImageSet& glyphs, int scale) {
    StripLayout layout;
    layout.width = kStripWidth;
    layout.height = kStripHeight;
    layout.scale = scale;
    const std::string percent = PercentText(figure);
    layout.percent = percent;
    return RenderExpStrip(std::to_string(figure), glyphs, layout);
}

} // namespace qv::demo

#include "testkit/glyph_files.h"

#include "capture/bmp_file.h"

namespace qv {

std::string GlyphFileName(int set, int glyph) {
    const std::string name = glyph == kDelimiterGlyph ? "delim" : std::to_string(glyph);
    return "set" + std::to_string(set) + "_" + name + ".bmp";
}

std::filesystem::path GlyphFolder(const std::filesystem::path& sourceRoot) {
    return sourceRoot / "recognition" / "glyphs";
}

std::optional<GlyphImageSet> LoadGlyphImageSet(const std::filesystem::path& folder, int set) {
    GlyphImageSet images;
    for (int glyph = 0; glyph < kGlyphsPerSet; ++glyph) {
        auto image = ReadBmpFile(folder / GlyphFileName(set, glyph));
        if (!image) {
            return std::nullopt;
        }
        images[static_cast<std::size_t>(glyph)] = std::move(*image);
    }
    return images;
}

} // namespace qv

#include "testkit/glyph_files.h"

#include "capture/bmp_file.h"

namespace qv {

namespace {

// The names of the glyph list, as the resource script spells the files.
#define QV_GLYPH_NAME(index, name) #name,
constexpr const char* kGlyphNames[] = {QV_GLYPHS_OF_A_SET(QV_GLYPH_NAME)};
#undef QV_GLYPH_NAME

} // namespace

std::string GlyphFileName(int set, int glyph) {
    return "set" + std::to_string(set) + "_" + kGlyphNames[glyph] + ".bmp";
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

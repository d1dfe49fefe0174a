// The glyph images of the source tree (recognition/glyphs/*.bmp), read from their files for
// tests, tools and benchmarks; the program itself carries them as resources.
#pragma once

#include "recognition/glyph_images.h"

#include <filesystem>
#include <optional>
#include <string>

namespace qv {

// "set1_7.bmp", "set0_delim.bmp", ...
std::string GlyphFileName(int set, int glyph);

// The folder of the glyph files in a source tree.
std::filesystem::path GlyphFolder(const std::filesystem::path& sourceRoot);

// Reads one set's eleven BMP files from a folder; nothing when any is missing or unreadable.
std::optional<GlyphImageSet> LoadGlyphImageSet(const std::filesystem::path& folder, int set);

} // namespace qv

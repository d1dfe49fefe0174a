// QvanGlyphs.bmp: the learned glyphs kept beside the exe, as one 24-bit picture a player can
// open. The eleven glyphs of set 1 stand side by side (digits 0 to 9, then the delimiter), each
// in a frame: a bar above it and a bar on its left as tall as the glyph, green when the glyph
// is learned and grey when it is the built-in picture; black columns part the frames and black
// fills below glyphs shorter than the tallest. Reading takes only the learned glyphs, so a
// later program's built-in pictures are never replaced by old copies.
//
//   row 0:        black | bar over glyph 0 | black | bar over glyph 1 | ... | bar over 10 | black
//   rows 1..h(g): the frame column left of glyph g in its bar colour, then glyph g's pixels
#pragma once

#include "capture/pixel_array.h"
#include "recognition/glyph_images.h"
#include "recognition/learned_glyphs.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace qv {

inline constexpr std::wstring_view kLearnedGlyphFileName = L"QvanGlyphs.bmp";
// Shown at start-up when the file exists but cannot be used; the built-in digits stay in use.
inline constexpr std::wstring_view kLearnedGlyphFileUnusable =
    L"覚えた数字のファイル QvanGlyphs.bmp を読めません。元の数字で読み取ります。";

// Shown when "覚える" learned glyphs that could not be written, or "元に戻す" could not delete the
// file; the glyphs asked for are in use either way.
inline constexpr std::wstring_view kLearnedGlyphFileNotSaved =
    L"覚えた数字を QvanGlyphs.bmp に保存できませんでした。\r\n"
    L"今回覚えた数字は次回の起動には引き継がれません。";
inline constexpr std::wstring_view kLearnedGlyphFileNotRemoved =
    L"覚えた数字のファイル QvanGlyphs.bmp を消せませんでした。\r\n"
    L"次回の起動では、またこのファイルの数字で読み取ります。";

inline constexpr Pixel kLearnedGlyphMark = MakePixel(0, 200, 0);
inline constexpr Pixel kBuiltInGlyphMark = MakePixel(128, 128, 128);

// The picture of set 1 with its learned glyphs marked.
PixelArray DrawGlyphSheet(const GlyphImageSet& builtIn, const LearnedGlyphs& learned);

// The learned glyphs of a sheet; nothing when the picture is not a sheet as drawn above or a
// learned glyph could not be a glyph of set 1 (narrower than the recognizer takes, larger than
// region 2 can hold: kMaxGlyphWidth x kMaxGlyphHeight).
std::optional<LearnedGlyphs> ReadGlyphSheet(const PixelArray& sheet);

enum class GlyphFileStatus {
    Absent,     // no file: nothing was learned
    Loaded,     // the learned glyphs were read
    Unreadable, // the file exists but could not be read
    Invalid,    // the file is not a glyph sheet
};

struct GlyphFileLoad {
    GlyphFileStatus status = GlyphFileStatus::Absent;
    LearnedGlyphs glyphs; // the learned glyphs when Loaded, none otherwise
};

GlyphFileLoad LoadLearnedGlyphs(const std::filesystem::path& file);

// Replaces the file as a whole (never a torn picture under its name). False when it could not
// be written.
[[nodiscard]] bool SaveLearnedGlyphs(const std::filesystem::path& file,
                                     const GlyphImageSet& builtIn, const LearnedGlyphs& learned);

// Deletes the file: the built-in digits from the next start on. False when it is still there.
[[nodiscard]] bool RemoveLearnedGlyphs(const std::filesystem::path& file);

} // namespace qv

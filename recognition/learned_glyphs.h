// Digits learned from the player's own screen. The player types the EXP figure that a picture
// of capture region 2 shows; the shapes of the figure, found in the picture itself, become the
// glyph images of set 1, so that a game drawing its digits at another size or in another font
// is read by the same recognition as the built-in pictures.
//
// A learned glyph is cut the way the built-in pictures are made: the shape's stroke columns
// with one background column on either side (the right one may be the next glyph's left one,
// as the recognizer steps on by a glyph's width less one), over every row of the picture: the
// recognizer compares each glyph from the region's top row down, and glyphs of one height keep
// their place on the strip whichever shapes an entry holds.
#pragma once

#include "capture/pixel_array.h"
#include "recognition/glyph_images.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// The most digits one entry takes.
inline constexpr std::size_t kMaxLearnDigits = 10;

// The first line of the message that refuses an entry; the reason follows on the next line.
inline constexpr std::wstring_view kLearnRefused = L"覚えられませんでした。";
inline constexpr std::wstring_view kDelimiterNotDistinct =
    L"区切りが見分けられません（入力した数字の数を確かめてください）";
inline constexpr std::wstring_view kReadsBackDifferently = L"読み直すと違う数字になります";

// The largest glyph region 2 can hold: the options dialog takes regions up to 200 x 100 pixels.
inline constexpr std::int32_t kMaxGlyphWidth = 200;
inline constexpr std::int32_t kMaxGlyphHeight = 100;

// The set-1 glyphs learned so far: an image for each learned glyph (digits 0 to 9, the
// delimiter at kDelimiterGlyph), nothing where the built-in picture is in use.
struct LearnedGlyphs {
    std::array<std::optional<PixelArray>, kGlyphsPerSet> images;

    bool Learned(int glyph) const { return images[static_cast<std::size_t>(glyph)].has_value(); }
    bool Any() const;

    friend bool operator==(const LearnedGlyphs&, const LearnedGlyphs&) = default;
};

// Set 1 as the pattern table is built from it: the learned images, the built-in ones elsewhere.
GlyphImageSet ComposeGlyphSet(const GlyphImageSet& builtIn, const LearnedGlyphs& learned);

// One shape of the figure: the columns left..right (inclusive) hold strokes, the columns
// beside them do not.
struct FigureShape {
    std::int32_t left = 0;
    std::int32_t right = 0;

    friend bool operator==(const FigureShape&, const FigureShape&) = default;
};

// The shapes of a picture, left to right. A stroke is a pixel whose brightness differs from
// its row's background by more than the recognizer's tolerance. A row's background is its
// median brightness; but when the row's first and last pixels agree with each other and not
// with the median, the row is mostly strokes between background ends, and the first pixel's.
std::vector<FigureShape> FindFigureShapes(const PixelArray& picture);

// Whether the recognizer would take one image for the other: the same size, and a score of
// pixels within the tolerance above the acceptance threshold.
bool SameGlyphShape(const PixelArray& a, const PixelArray& b);

enum class LearnStatus {
    Learned,
    NotDigits,          // the entry is empty, longer than kMaxLearnDigits or not all digits
    TooFewShapes,       // fewer shapes than the digits plus the delimiter
    ShapeAtEdge,        // a shape touches the picture's left or right edge: no border column
    DigitShapesDiffer,  // a digit typed twice over two different shapes
    ShapeTypedTwice,    // one shape typed as two different glyphs
    DiffersFromLearned, // a shape unlike what its glyph learned from an earlier entry
    SameAsOtherGlyph,   // a shape equal to the picture another glyph uses
    // The delimiter's shape has the colour and the width of a digit's: a digit taken for it.
    DelimiterNotDistinct,
    // The new glyphs do not read the picture as typed, or hold too few strokes to be told
    // from the background.
    ReadsBackDifferently,
    GlyphTooLarge, // a glyph larger than kMaxGlyphWidth x kMaxGlyphHeight
};

struct LearnOutcome {
    LearnStatus status = LearnStatus::Learned;
    // Why the entry was refused (the message's second line); empty when learned.
    std::wstring reason;
    // When learned: the earlier glyphs with this entry's digits and delimiter in their place.
    LearnedGlyphs glyphs;
};

// Learns from `picture` (capture region 2) the figure the player typed as `digits` (the digits
// before the delimiter): the first shapes are the digits, the next one the delimiter; shapes
// less than two thirds as tall as the tallest are marks and are passed over. A digit typed
// twice takes its first shape. Nothing is learned unless the new glyphs read the picture back
// as typed. `learned` is what earlier entries learned, `builtIn` the
// built-in set-1 pictures; a refused entry changes nothing.
LearnOutcome LearnGlyphs(const PixelArray& picture, std::string_view digits,
                         const LearnedGlyphs& learned, const GlyphImageSet& builtIn);

} // namespace qv

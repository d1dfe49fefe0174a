#include "recognition/learned_glyphs.h"

#include "recognition/exp_recognizer.h"
#include "recognition/glyph_scorer.h"

#include <algorithm>
#include <cstdlib>

namespace qv {

namespace {

std::vector<int> RowBackgrounds(const PixelArray& picture) {
    std::vector<int> backgrounds(static_cast<std::size_t>(picture.Height()));
    std::vector<int> row(static_cast<std::size_t>(picture.Width()));
    for (std::int32_t y = 0; y < picture.Height(); ++y) {
        for (std::int32_t x = 0; x < picture.Width(); ++x) {
            row[static_cast<std::size_t>(x)] = picture.Brightness(x, y);
        }
        const auto middle = row.begin() + static_cast<std::ptrdiff_t>(row.size() / 2);
        std::nth_element(row.begin(), middle, row.end());
        const int first = picture.Brightness(0, y);
        const int last = picture.Brightness(picture.Width() - 1, y);
        const bool endsAgree = std::abs(first - last) <= kPixelTolerance;
        backgrounds[static_cast<std::size_t>(y)] =
            endsAgree && std::abs(first - *middle) > kPixelTolerance ? first : *middle;
    }
    return backgrounds;
}

bool IsStroke(const PixelArray& picture, const std::vector<int>& backgrounds, std::int32_t x,
              std::int32_t y) {
    return std::abs(picture.Brightness(x, y) - backgrounds[static_cast<std::size_t>(y)]) >
           kPixelTolerance;
}

// The stroke pixels of a shape: how many, how many rows they span, their summed colour.
struct ShapeStrokes {
    std::int64_t count = 0;
    std::int32_t top = -1, bottom = -1;
    std::array<std::int64_t, 3> colour{}; // red, green, blue

    std::int32_t Height() const { return top < 0 ? 0 : bottom - top + 1; }
};

ShapeStrokes StrokesOf(const PixelArray& picture, const std::vector<int>& backgrounds,
                       const FigureShape& shape) {
    ShapeStrokes strokes;
    for (std::int32_t y = 0; y < picture.Height(); ++y) {
        for (std::int32_t x = shape.left; x <= shape.right; ++x) {
            if (!IsStroke(picture, backgrounds, x, y)) {
                continue;
            }
            const Pixel p = picture.At(x, y);
            ++strokes.count;
            strokes.colour[0] += RedOf(p);
            strokes.colour[1] += GreenOf(p);
            strokes.colour[2] += BlueOf(p);
            strokes.top = strokes.top < 0 ? y : strokes.top;
            strokes.bottom = y;
        }
    }
    return strokes;
}

// Whether the strokes' mean colours are further apart than the recognizer's tolerance.
bool ColoursDiffer(const ShapeStrokes& a, const ShapeStrokes& b) {
    std::int64_t distance = 0;
    for (std::size_t c = 0; c < 3; ++c) {
        distance += std::abs(a.colour[c] / std::max<std::int64_t>(1, a.count) -
                             b.colour[c] / std::max<std::int64_t>(1, b.count));
    }
    return distance > kPixelTolerance;
}

// The shapes of a picture without its marks: shapes less than two thirds as tall as the
// tallest (a dot, a speck left of the figure) are never glyphs.
std::vector<FigureShape> GlyphShapes(const PixelArray& picture, const std::vector<int>& backgrounds,
                                     std::vector<ShapeStrokes>& strokes) {
    std::vector<FigureShape> shapes = FindFigureShapes(picture);
    std::int32_t tallest = 0;
    for (const FigureShape& shape : shapes) {
        strokes.push_back(StrokesOf(picture, backgrounds, shape));
        tallest = std::max(tallest, strokes.back().Height());
    }
    std::vector<FigureShape> kept;
    std::vector<ShapeStrokes> keptStrokes;
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        if (3 * strokes[i].Height() >= 2 * tallest) {
            kept.push_back(shapes[i]);
            keptStrokes.push_back(strokes[i]);
        }
    }
    strokes = std::move(keptStrokes);
    return kept;
}

// What the recognizer reads in the picture with these glyphs is what was typed. (A figure of
// only zeros reads as nothing.)
bool ReadsBack(const PixelArray& picture, std::string_view digits, const GlyphImageSet& set1) {
    const CaptureRegion region{0, 0, picture.Width(), picture.Height()};
    const GlyphPictureSet pictures = PicturesFromImages(set1);
    GlyphPatternTable table;
    CaptureBuffer buffer;
    if (!BuildGlyphPatterns({pictures, pictures}, {CaptureRegion{1, 1, 1, 1}, region}, table,
                            buffer)) {
        return false;
    }
    StoreInSlot(buffer, kExpCaptureIndex, picture);
    ExpReading reading;
    CaptionKeeper keeper;
    RecognizeExpReadout(buffer, table, region, false, reading, keeper);
    if (digits.find_first_not_of('0') == std::string_view::npos) {
        return keeper.caption == kNotRecognized;
    }
    const std::wstring typed(digits.begin(), digits.end());
    const std::wstring& read = keeper.caption;
    return read.starts_with(typed) &&
           (read.size() == typed.size() || read[typed.size()] < L'0' || read[typed.size()] > L'9');
}

// The delimiter must not be a digit the player left out: another colour, or another width.
std::optional<LearnOutcome> CheckDelimiter(const std::vector<FigureShape>& shapes,
                                           const std::vector<ShapeStrokes>& strokes,
                                           std::size_t delimiter) {
    const auto width = [&](std::size_t i) { return shapes[i].right - shapes[i].left; };
    for (std::size_t i = 0; i < delimiter; ++i) {
        if (!ColoursDiffer(strokes[i], strokes[delimiter]) && width(i) == width(delimiter)) {
            return LearnOutcome{
                LearnStatus::DelimiterNotDistinct, std::wstring(kDelimiterNotDistinct), {}};
        }
    }
    return std::nullopt;
}

// The glyph image of a shape: its columns with a border column on either side, every row.
PixelArray CutGlyph(const PixelArray& picture, const FigureShape& shape) {
    PixelArray glyph(shape.right - shape.left + 3, picture.Height());
    for (std::int32_t y = 0; y < glyph.Height(); ++y) {
        for (std::int32_t x = 0; x < glyph.Width(); ++x) {
            glyph.At(x, y) = picture.At(shape.left - 1 + x, y);
        }
    }
    return glyph;
}

// Glyph names and positions as the reasons say them ("数字 3 と区切り").
std::wstring GlyphName(int glyph) {
    return glyph == kDelimiterGlyph ? std::wstring(L"区切り")
                                    : L"数字 " + std::to_wstring(glyph) + L" ";
}
std::wstring Position(std::size_t shape) {
    return L"左から " + std::to_wstring(shape + 1) + L" 番目";
}
std::wstring Positions(std::size_t first, std::size_t second) {
    return Position(first) + L"と " + std::to_wstring(second + 1) + L" 番目";
}

LearnOutcome Refuse(LearnStatus status, std::wstring reason) {
    return LearnOutcome{status, std::move(reason), {}};
}

// The glyph each used shape was typed as: the digits, then the delimiter.
std::vector<int> TypedGlyphs(std::string_view digits) {
    std::vector<int> glyphs;
    for (const char c : digits) {
        glyphs.push_back(c - '0');
    }
    glyphs.push_back(kDelimiterGlyph);
    return glyphs;
}

// The shapes of this entry against each other: one glyph, one shape.
std::optional<LearnOutcome> CheckEntry(const std::vector<int>& typed,
                                       const std::vector<PixelArray>& cuts) {
    for (std::size_t i = 0; i < cuts.size(); ++i) {
        for (std::size_t j = i + 1; j < cuts.size(); ++j) {
            const bool same = SameGlyphShape(cuts[i], cuts[j]);
            if (typed[i] == typed[j] && !same) {
                return Refuse(LearnStatus::DigitShapesDiffer,
                              GlyphName(typed[i]) + L"が 2 か所にありますが、" + Positions(i, j) +
                                  L"の形が違います。");
            }
            if (typed[i] != typed[j] && same) {
                return Refuse(LearnStatus::ShapeTypedTwice,
                              Positions(i, j) + L"は同じ形ですが、" + GlyphName(typed[i]) + L"と" +
                                  GlyphName(typed[j]) + L"として入力されています。");
            }
        }
    }
    return std::nullopt;
}

// The shapes of this entry against the pictures the other glyphs use and what their own
// glyphs learned before.
std::optional<LearnOutcome> CheckAgainstSet(const std::vector<int>& typed,
                                            const std::vector<PixelArray>& cuts,
                                            const LearnedGlyphs& learned,
                                            const GlyphImageSet& builtIn) {
    for (std::size_t i = 0; i < cuts.size(); ++i) {
        const auto& before = learned.images[static_cast<std::size_t>(typed[i])];
        if (before && !SameGlyphShape(*before, cuts[i])) {
            return Refuse(LearnStatus::DiffersFromLearned,
                          Position(i) + L"の形は、前に覚えた" + GlyphName(typed[i]) +
                              L"の形と違います。覚え直すときは「元に戻す」を押してからにして"
                              L"ください。");
        }
        for (int other = 0; other < kGlyphsPerSet; ++other) {
            if (std::find(typed.begin(), typed.end(), other) != typed.end()) {
                continue;
            }
            const auto& picture = learned.images[static_cast<std::size_t>(other)];
            if (SameGlyphShape(picture ? *picture : builtIn[static_cast<std::size_t>(other)],
                               cuts[i])) {
                return Refuse(
                    LearnStatus::SameAsOtherGlyph,
                    Position(i) + L"の形は" + GlyphName(typed[i]) + L"として入力されていますが、" +
                        (picture ? L"前に覚えた" : L"元の") + GlyphName(other) + L"と同じ形です。");
            }
        }
    }
    return std::nullopt;
}

} // namespace

bool LearnedGlyphs::Any() const {
    return std::any_of(images.begin(), images.end(), [](const auto& i) { return i.has_value(); });
}

GlyphImageSet ComposeGlyphSet(const GlyphImageSet& builtIn, const LearnedGlyphs& learned) {
    GlyphImageSet set = builtIn;
    for (std::size_t g = 0; g < set.size(); ++g) {
        if (learned.images[g]) {
            set[g] = *learned.images[g];
        }
    }
    return set;
}

std::vector<FigureShape> FindFigureShapes(const PixelArray& picture) {
    const std::vector<int> backgrounds = RowBackgrounds(picture);
    std::vector<FigureShape> shapes;
    bool open = false; // the previous column held strokes
    for (std::int32_t x = 0; x < picture.Width(); ++x) {
        bool strokes = false;
        for (std::int32_t y = 0; y < picture.Height() && !strokes; ++y) {
            strokes = std::abs(picture.Brightness(x, y) -
                               backgrounds[static_cast<std::size_t>(y)]) > kPixelTolerance;
        }
        if (strokes && open) {
            shapes.back().right = x;
        } else if (strokes) {
            shapes.push_back({x, x});
        }
        open = strokes;
    }
    return shapes;
}

bool SameGlyphShape(const PixelArray& a, const PixelArray& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height() || a.Empty()) {
        return false;
    }
    std::int64_t matched = 0;
    for (std::int32_t y = 0; y < a.Height(); ++y) {
        for (std::int32_t x = 0; x < a.Width(); ++x) {
            matched += std::abs(a.Brightness(x, y) - b.Brightness(x, y)) <= kPixelTolerance;
        }
    }
    return matched * 10000 / a.Width() / a.Height() > kAcceptScore;
}

LearnOutcome LearnGlyphs(const PixelArray& picture, std::string_view digits,
                         const LearnedGlyphs& learned, const GlyphImageSet& builtIn) {
    if (digits.empty() || digits.size() > kMaxLearnDigits ||
        digits.find_first_not_of("0123456789") != std::string_view::npos) {
        return Refuse(LearnStatus::NotDigits, L"数字を 1 個から " +
                                                  std::to_wstring(kMaxLearnDigits) +
                                                  L" 個まで入力してください。");
    }
    const std::vector<int> typed = TypedGlyphs(digits);
    const std::vector<int> backgrounds = RowBackgrounds(picture);
    std::vector<ShapeStrokes> strokes;
    const std::vector<FigureShape> shapes = GlyphShapes(picture, backgrounds, strokes);
    if (shapes.size() < typed.size()) {
        return Refuse(LearnStatus::TooFewShapes, L"数字 " + std::to_wstring(digits.size()) +
                                                     L" 個と区切り 1 個を探しましたが、形が " +
                                                     std::to_wstring(shapes.size()) +
                                                     L" 個しか見つかりませんでした。");
    }
    std::vector<PixelArray> cuts;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        if (shapes[i].left == 0 || shapes[i].right == picture.Width() - 1) {
            return Refuse(LearnStatus::ShapeAtEdge,
                          Position(i) + L"の形がキャプチャ領域2の左右の端に接しています。"
                                        L"形の両側に背景が写るように領域を広げてください。");
        }
        cuts.push_back(CutGlyph(picture, shapes[i]));
        if (cuts.back().Width() > kMaxGlyphWidth || cuts.back().Height() > kMaxGlyphHeight) {
            return Refuse(LearnStatus::GlyphTooLarge, L"キャプチャ領域2の高さを " +
                                                          std::to_wstring(kMaxGlyphHeight) +
                                                          L" ピクセルまでにしてください。");
        }
        // Strokes on 2 % of a glyph or less: blank background matches it nearly everywhere.
        if (strokes[i].count * 50 <= std::int64_t{cuts.back().Width()} * cuts.back().Height()) {
            return Refuse(LearnStatus::ReadsBackDifferently, std::wstring(kReadsBackDifferently));
        }
    }
    if (auto refused = CheckDelimiter(shapes, strokes, typed.size() - 1)) {
        return std::move(*refused);
    }
    if (auto refused = CheckEntry(typed, cuts)) {
        return std::move(*refused);
    }
    if (auto refused = CheckAgainstSet(typed, cuts, learned, builtIn)) {
        return std::move(*refused);
    }
    LearnOutcome outcome{LearnStatus::Learned, {}, learned};
    // Backwards, so that a digit typed twice keeps its first shape.
    for (std::size_t i = typed.size(); i-- > 0;) {
        outcome.glyphs.images[static_cast<std::size_t>(typed[i])] = std::move(cuts[i]);
    }
    if (!ReadsBack(picture, digits, ComposeGlyphSet(builtIn, outcome.glyphs))) {
        return Refuse(LearnStatus::ReadsBackDifferently, std::wstring(kReadsBackDifferently));
    }
    return outcome;
}

} // namespace qv

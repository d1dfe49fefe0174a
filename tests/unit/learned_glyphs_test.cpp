#include "recognition/exp_recognizer.h"
#include "recognition/learned_glyph_file.h"
#include "recognition/learned_glyphs.h"
#include "testkit/glyph_files.h"
#include "testkit/glyph_render.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace qv {
namespace {

class LearnedGlyphsTest : public ::testing::Test {
  protected:
    static GlyphImageSet Load(int set) {
        auto images = LoadGlyphImageSet(GlyphFolder(QV_SOURCE_DIR), set);
        EXPECT_TRUE(images.has_value());
        return images.value_or(GlyphImageSet{});
    }

    static PixelArray Strip(std::string_view figure, const GlyphImageSet& font, int scale,
                            std::int32_t left = 0, std::int32_t top = 0) {
        StripLayout layout;
        layout.scale = scale;
        layout.left = left;
        layout.top = top;
        layout.height += 2 * top;
        return RenderExpStrip(figure, font, layout);
    }

    // What the recognizer reads in `strip`, captured as region 2 of its size, with set 1 made
    // of the learned glyphs and the built-in ones.
    std::wstring Read(const LearnedGlyphs& learned, const PixelArray& strip) const {
        const CaptureRegion region{0, 0, strip.Width(), strip.Height()};
        GlyphPatternTable table;
        CaptureBuffer buffer;
        EXPECT_TRUE(BuildGlyphPatterns(
            {PicturesFromImages(set0_), PicturesFromImages(ComposeGlyphSet(builtIn_, learned))},
            {CaptureRegion{1, 1, 1, 1}, region}, table, buffer));
        StoreInSlot(buffer, kExpCaptureIndex, strip);
        CaptionKeeper host;
        ExpReading reading;
        RecognizeExpReadout(buffer, table, region, false, reading, host);
        return host.caption;
    }

    // The test kit's own font with its delimiter drawn green, as the game draws its own: a
    // delimiter of the digits' colour and width is refused.
    static GlyphImageSet OwnFont() {
        GlyphImageSet font = SegmentFont();
        PixelArray& delimiter = font[kDelimiterGlyph];
        const Pixel ground = delimiter.At(0, 0);
        for (std::int32_t y = 0; y < delimiter.Height(); ++y) {
            for (std::int32_t x = 0; x < delimiter.Width(); ++x) {
                if (delimiter.At(x, y) != ground) {
                    delimiter.At(x, y) = MakePixel(40, 160, 40);
                }
            }
        }
        return font;
    }

    const GlyphImageSet set0_ = Load(0);
    const GlyphImageSet builtIn_ = Load(1);
};

TEST_F(LearnedGlyphsTest, FiguresLearnedAtAnySizeAndInAnyFontReadOtherFiguresBack) {
    struct Case {
        const char* name;
        bool ownFont;
        int scale;
        int noise;
        std::int32_t top; // the figure lower in a region taller by twice this
    };
    const Case cases[] = {
        {"built-in font", false, 1, 0, 0},       {"twice the size", false, 2, 0, 0},
        {"three times", false, 3, 0, 0},         {"own font", true, 1, 0, 0},
        {"own font, twice", true, 2, 0, 0},      {"noisy background", false, 2, 12, 0},
        {"lower in the region", false, 2, 0, 3},
    };
    for (const Case& c : cases) {
        const GlyphImageSet font = c.ownFont ? OwnFont() : builtIn_;
        unsigned seed = 1;
        const auto strip = [&](std::string_view figure) {
            PixelArray pixels = Strip(figure, font, c.scale, 0, c.top);
            AddNoise(pixels, seed++, c.noise);
            return pixels;
        };
        if (c.ownFont || c.scale > 1 || c.top > 0) {
            EXPECT_EQ(Read({}, strip("1234567")), kNotRecognized) << c.name;
        }
        LearnedGlyphs learned;
        for (const char* entry : {"1234567", "9876543210"}) {
            const LearnOutcome outcome = LearnGlyphs(strip(entry), entry, learned, builtIn_);
            ASSERT_EQ(outcome.status, LearnStatus::Learned) << c.name << " " << entry;
            learned = outcome.glyphs;
        }
        for (const std::string figure : {"1234567", "9081726354", "5"}) {
            EXPECT_EQ(Read(learned, strip(figure)), std::wstring(figure.begin(), figure.end()))
                << c.name;
        }
    }
}

TEST_F(LearnedGlyphsTest, EntriesTheShapesCannotBeAreRefusedWithAReason) {
    const LearnedGlyphs first =
        LearnGlyphs(Strip("1234567", builtIn_, 2), "1234567", {}, builtIn_).glyphs;
    ASSERT_TRUE(first.Learned(7) && first.Learned(kDelimiterGlyph) && !first.Learned(8));
    struct Case {
        const char* figure;
        std::int32_t left;
        const char* typed;
        bool afterFirst;
        LearnStatus status;
        const wchar_t* reason = nullptr; // when not just any reason
    };
    const Case cases[] = {
        {"1234", 0, "1234567", false, LearnStatus::TooFewShapes,
         L"数字 7 個と区切り 1 個を探しましたが、形が 5 個しか見つかりませんでした。"},
        {"1213", 0, "1212", false, LearnStatus::DigitShapesDiffer,
         L"数字 2 が 2 か所にありますが、左から 2 番目と 4 番目の形が違います。"},
        {"1111", 0, "1234", false, LearnStatus::ShapeTypedTwice},
        {"7654321", 0, "7654312", true, LearnStatus::DiffersFromLearned},
        {"1234567", 0, "123456", true, LearnStatus::DelimiterNotDistinct, // a digit short
         kDelimiterNotDistinct.data()},
        {"3", 0, "9", true, LearnStatus::SameAsOtherGlyph},
        {"5", -1, "5", false, LearnStatus::ShapeAtEdge},
        {"12", 0, "1a", false, LearnStatus::NotDigits},
        {"12", 0, "", false, LearnStatus::NotDigits},
        {"12345678901", 0, "12345678901", false, LearnStatus::NotDigits},
    };
    for (const Case& c : cases) {
        const LearnOutcome outcome = LearnGlyphs(Strip(c.figure, builtIn_, 2, c.left), c.typed,
                                                 c.afterFirst ? first : LearnedGlyphs{}, builtIn_);
        EXPECT_EQ(outcome.status, c.status) << c.typed;
        EXPECT_TRUE(c.reason ? outcome.reason == c.reason : !outcome.reason.empty()) << c.typed;
        EXPECT_FALSE(outcome.glyphs.Any()) << c.typed;
    }
}

// A digit short, with a last digit narrower than the others: the 1 would be learned as the
// delimiter, but the built-in 1 is tried first and the picture reads as 821.
TEST_F(LearnedGlyphsTest, EntriesThatWouldNotReadBackAreRefused) {
    const LearnOutcome outcome = LearnGlyphs(Strip("821", builtIn_, 1, 1), "82", {}, builtIn_);
    EXPECT_EQ(outcome.status, LearnStatus::ReadsBackDifferently);
    EXPECT_EQ(outcome.reason, kReadsBackDifferently);
    EXPECT_FALSE(outcome.glyphs.Any());
}

// A 1 x 4 speck left of the figure is passed over, not learned as its first digit.
TEST_F(LearnedGlyphsTest, MarksShorterThanTheGlyphsAreNotLearned) {
    PixelArray strip = Strip("7654321", builtIn_, 1, 3);
    DrawImage(strip, PixelArray(1, 4), 1, 3);
    const LearnOutcome outcome = LearnGlyphs(strip, "7654321", {}, builtIn_);
    ASSERT_EQ(outcome.status, LearnStatus::Learned);
    EXPECT_EQ(Read(outcome.glyphs, Strip("7654321", builtIn_, 1, 3)), L"7654321");
}

TEST_F(LearnedGlyphsTest, ShapesAreFoundFromEachRowsBackground) {
    // The own font's 1 has a column with a stroke in its top row only.
    EXPECT_EQ(FindFigureShapes(Strip("1", SegmentFont(), 1)),
              (std::vector<FigureShape>{{1, 2}, {4, 7}}));
    // Digit 7 at twice the size has strokes in columns 2 to 11, the delimiter in 14 to 17. A row
    // that is mostly the 7's bar still finds its ground.
    PixelArray strip = Strip("7", builtIn_, 2);
    const std::vector<FigureShape> shapes{{2, 11}, {14, 17}};
    EXPECT_EQ(FindFigureShapes(strip), shapes);
    PixelArray tight(20, strip.Height());
    DrawImage(tight, strip, 0, 0);
    EXPECT_EQ(FindFigureShapes(tight), shapes);
}

TEST_F(LearnedGlyphsTest, GlyphFileKeepsTheLearnedGlyphsAndRefusesDamage) {
    LearnedGlyphs learned = LearnGlyphs(Strip("40", OwnFont(), 3), "40", {}, builtIn_).glyphs;
    const auto folder = std::filesystem::temp_directory_path() /
                        ("qv-learned-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder);
    const auto file = folder / std::wstring(kLearnedGlyphFileName);
    EXPECT_EQ(LoadLearnedGlyphs(file).status, GlyphFileStatus::Absent);
    ASSERT_TRUE(SaveLearnedGlyphs(file, builtIn_, learned));
    const GlyphFileLoad loaded = LoadLearnedGlyphs(file);
    EXPECT_EQ(loaded.status, GlyphFileStatus::Loaded);
    EXPECT_EQ(loaded.glyphs, learned);

    const PixelArray sheet = DrawGlyphSheet(builtIn_, learned);
    EXPECT_EQ(sheet.At(1, 0), kLearnedGlyphMark);                              // over the learned 0
    EXPECT_EQ(sheet.At(learned.images[0]->Width() + 2, 0), kBuiltInGlyphMark); // the built-in 1
    // The frame, a bar, the closing column, below a shorter glyph's frame and in its padding.
    const std::int32_t builtInOne = learned.images[0]->Width() + 1;
    const struct {
        std::int32_t x, y;
        Pixel pixel;
    } damage[] = {{0, 0, kLearnedGlyphMark},
                  {1, 0, MakePixel(0, 0, 200)},
                  {sheet.Width() - 1, 3, kBuiltInGlyphMark},
                  {builtInOne, sheet.Height() - 1, kBuiltInGlyphMark},
                  {builtInOne + 1, sheet.Height() - 1, MakePixel(9, 9, 9)}};
    for (const auto& d : damage) {
        PixelArray spoiled = sheet;
        spoiled.At(d.x, d.y) = d.pixel;
        EXPECT_FALSE(ReadGlyphSheet(spoiled).has_value()) << d.x << "," << d.y;
    }
    LearnedGlyphs narrow; // narrower than the recognizer takes
    narrow.images[5] = PixelArray(2, 9);
    EXPECT_FALSE(ReadGlyphSheet(DrawGlyphSheet(builtIn_, narrow)).has_value());
    LearnedGlyphs tall; // taller than region 2 can be
    tall.images[5] = PixelArray(7, kMaxGlyphHeight + 1);
    EXPECT_FALSE(ReadGlyphSheet(DrawGlyphSheet(builtIn_, tall)).has_value());
    std::filesystem::resize_file(file, std::filesystem::file_size(file) - 10);
    EXPECT_EQ(LoadLearnedGlyphs(file).status, GlyphFileStatus::Invalid);
    std::filesystem::remove_all(folder);
}

// A learned glyph far wider than the built-in ones still fits the capture buffer beside the
// widest region.
TEST_F(LearnedGlyphsTest, CaptureBufferTakesTheSpreadOfLearnedSizes) {
    GlyphImageSet set1 = builtIn_;
    set1[4] = PixelArray(200, 9);
    GlyphPatternTable table;
    CaptureBuffer buffer;
    ASSERT_TRUE(BuildGlyphPatterns({PicturesFromImages(set0_), PicturesFromImages(set1)},
                                   {{{1, 1, 1, 1}, {0, 0, 4096, 9}}}, table, buffer));
    EXPECT_EQ(buffer.LastColumn(), 4096 + 200 - 5);
}

} // namespace
} // namespace qv

#include "recognition/exp_recognizer.h"
#include "recognition/glyph_pattern_table.h"
#include "recognition/learned_glyphs.h"
#include "testkit/glyph_files.h"
#include "testkit/glyph_render.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace qv {
namespace {

// The small EXP font as drawn, glyphs 0 to 9 and the delimiter side by side: '#' stroke,
// '.' background.
constexpr std::string_view kSet1Font = R"(
....... ....... ....... ....... ....... ....... ....... ....... ....... ....... .##..
..###.. ...#... ..###.. ..###.. ....#.. .#####. ..###.. .#####. ..###.. ..###.. .#...
.#...#. ..##... .#...#. .#...#. ...##.. .#..... .#...#. .....#. .#...#. .#...#. .#...
.#...#. ...#... .....#. .....#. ..#.#.. .#..... .#..... .....#. .#...#. .#...#. .#...
.#...#. ...#... ....#.. ...##.. .#..#.. ..###.. .####.. .....#. ..###.. ..####. .#...
.#...#. ...#... ...#... .....#. .#####. .....#. .#...#. ....#.. .#...#. .....#. .#...
.#...#. ...#... ..#.... .#...#. ....#.. .#...#. .#...#. ...#... .#...#. .#...#. .#...
..###.. ...#... .#####. ..###.. ....#.. ..###.. ..###.. ...#... ..###.. ..###.. .#...
....... ....... ....... ....... ....... ....... ....... ....... ....... ....... .##..
)";

// Row y of one glyph in kSet1Font.
std::string_view FontRow(int glyph, int y) {
    std::string_view rows = kSet1Font.substr(1); // after the opening line break
    for (int row = 0; row < y; ++row) {
        rows.remove_prefix(rows.find('\n') + 1);
    }
    const std::string_view row = rows.substr(0, rows.find('\n')).substr(8 * glyph);
    return row.substr(0, row.find(' '));
}

// Allowed background brightness per row.
const int kBackgroundLow[9] = {222, 222, 180, 180, 180, 180, 123, 123, 123};
const int kBackgroundHigh[9] = {230, 230, 230, 197, 197, 197, 163, 163, 163};

const std::array<CaptureRegion, 2> kDefaultRegions{{{1, 1, 1, 1}, {463, 570, 90, 9}}};

std::array<GlyphImageSet, kGlyphSetCount> LoadRealImages() {
    std::array<GlyphImageSet, kGlyphSetCount> sets;
    for (int s = 0; s < kGlyphSetCount; ++s) {
        auto loaded = LoadGlyphImageSet(GlyphFolder(QV_SOURCE_DIR), s);
        EXPECT_TRUE(loaded.has_value()) << "set " << s;
        if (loaded) {
            sets[static_cast<std::size_t>(s)] = std::move(*loaded);
        }
    }
    return sets;
}

std::array<GlyphPictureSet, kGlyphSetCount>
Pictures(const std::array<GlyphImageSet, kGlyphSetCount>& images) {
    return {PicturesFromImages(images[0]), PicturesFromImages(images[1])};
}

class FakeHost : public RecognizerHost {
  public:
    void SetCaptureCaption(std::wstring_view text) override { captions.emplace_back(text); }
    void WriteDebugLog(std::wstring_view message) override { log.emplace_back(message); }
    MemoryStatus QueryMemoryStatus() override { return memory; }
    bool ShuttingDown() override { return shuttingDown; }

    std::wstring Caption() const { return captions.empty() ? L"" : captions.back(); }

    std::vector<std::wstring> captions;
    std::vector<std::wstring> log;
    MemoryStatus memory{};
    bool shuttingDown = false;
};

TEST(GlyphPatternTable, RealImagesGiveTheDesignedSizesAndExtremes) {
    const auto images = LoadRealImages();
    GlyphPatternTable table;
    ASSERT_TRUE(BuildGlyphPatterns(Pictures(images), table));

    struct Expected {
        int digitWidth, delimiterWidth, height;
    };
    const Expected expected[kGlyphSetCount] = {{11, 5, 13}, {7, 5, 9}};
    for (int s = 0; s < kGlyphSetCount; ++s) {
        const GlyphSetPatterns& set = table.sets[static_cast<std::size_t>(s)];
        for (int g = 0; g < kGlyphsPerSet; ++g) {
            EXPECT_EQ(set.width[g],
                      g == kDelimiterGlyph ? expected[s].delimiterWidth : expected[s].digitWidth)
                << s << "/" << g;
            EXPECT_EQ(set.height[g], expected[s].height) << s << "/" << g;
        }
        EXPECT_EQ(set.largestWidth, expected[s].digitWidth);
        EXPECT_EQ(set.smallestWidth, 5);
        EXPECT_EQ(set.largestHeight, expected[s].height);
        EXPECT_EQ(set.smallestHeight, expected[s].height);
    }
}

TEST(GlyphPatternTable, Set1SumsFollowTheDrawnFontAndAreZeroOutsideEachImage) {
    GlyphPatternTable table;
    ASSERT_TRUE(BuildGlyphPatterns(Pictures(LoadRealImages()), table));
    const GlyphSetPatterns& set = table.sets[1];
    for (int g = 0; g < kGlyphsPerSet; ++g) {
        const int stroke = g == kDelimiterGlyph ? 411 : 765;
        for (int y = 0; y <= 9; ++y) {
            for (int x = 0; x <= 7; ++x) {
                const int sum = set.PixelSum(g, x, y);
                const int width = static_cast<int>(FontRow(g, 0).size());
                if (x >= width || y == 9) {
                    EXPECT_EQ(sum, 0) << g << " at " << x << "," << y;
                } else if (FontRow(g, y)[x] == '#') {
                    EXPECT_EQ(sum, stroke) << g << " at " << x << "," << y;
                } else {
                    EXPECT_GE(sum, kBackgroundLow[y]) << g << " at " << x << "," << y;
                    EXPECT_LE(sum, kBackgroundHigh[y]) << g << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST(GlyphPatternTable, Set0HasWhiteStrokesOnAnOrangeTile) {
    const auto images = LoadRealImages();
    for (int g = 0; g < kDelimiterGlyph; ++g) {
        const PixelArray& image = images[0][g];
        int strokes = 0;
        for (int y = 0; y < image.Height(); ++y) {
            for (int x = 0; x < image.Width(); ++x) {
                const int b = image.Brightness(x, y);
                const bool corner = (x == 0 || x == 10) && (y == 0 || y == 12);
                if (corner) {
                    EXPECT_LT(b, 100) << g;
                } else if (b == 765) {
                    ++strokes;
                } else {
                    EXPECT_GE(b, 320) << g;
                    EXPECT_LE(b, 411) << g;
                }
            }
        }
        EXPECT_GT(strokes, 10) << g;
    }
}

GlyphPicture Narrow(std::int32_t width) {
    return GlyphPicture{PixelArray(width, 9), width + 2 * kPictureBorder, 9 + 2 * kPictureBorder};
}

TEST(GlyphPatternTable, BrokenPicturesMakeTheBuildFailAfterAllSteps) {
    const auto images = LoadRealImages();
    struct Case {
        const char* name;
        void (*spoil)(std::array<GlyphPictureSet, kGlyphSetCount>&);
        bool ok;
        int healthySet; // the set the spoiling leaves intact (-1 when the build succeeds)
    };
    const Case cases[] = {
        {"intact", [](std::array<GlyphPictureSet, kGlyphSetCount>&) {}, true, -1},
        {"missing set-0 picture", [](auto& p) { p[0][4].reset(); }, false, 1},
        {"missing set-1 delimiter", [](auto& p) { p[1][kDelimiterGlyph].reset(); }, false, 0},
        {"image two columns too wide", [](auto& p) { p[1][3]->image = PixelArray(9, 9); }, false,
         0},
        {"image two rows too tall", [](auto& p) { p[0][0]->image = PixelArray(11, 15); }, false, 1},
        // One column beyond the largest width still fits the table's inclusive extent.
        {"image one column wider", [](auto& p) { p[1][3]->image = PixelArray(8, 9); }, true, -1},
        {"picture without pixels", [](auto& p) { p[1][2]->outerWidth = 4; }, false, 0},
        {"picture one pixel tall", [](auto& p) { p[1][2]->outerHeight = 2 * kPictureBorder + 1; },
         true, -1},
        // The scan steps by the glyph width less 2: a narrower set-1 glyph would never advance.
        {"set-1 glyph one pixel wide", [](auto& p) { p[1][kDelimiterGlyph] = Narrow(1); }, false,
         0},
        {"set-1 glyph three pixels wide", [](auto& p) { p[1][kDelimiterGlyph] = Narrow(3); }, true,
         -1},
    };
    for (const Case& c : cases) {
        auto pictures = Pictures(images);
        c.spoil(pictures);
        GlyphPatternTable table;
        EXPECT_EQ(BuildGlyphPatterns(pictures, table), c.ok) << c.name;
        if (!c.ok) {
            // The other set is still built in full: sizes and sums. Digit 0's top-left pixel
            // is set 1's slate (222 to 230); in set 0, (0, 1) is the orange tile (320 to 411).
            EXPECT_EQ(table.sets[1].largestWidth + table.sets[0].largestWidth, 18) << c.name;
            if (c.healthySet == 1) {
                EXPECT_GE(table.sets[1].PixelSum(0, 0, 0), 222) << c.name;
                EXPECT_LE(table.sets[1].PixelSum(0, 0, 0), 230) << c.name;
            } else {
                EXPECT_GE(table.sets[0].PixelSum(0, 0, 1), 320) << c.name;
                EXPECT_LE(table.sets[0].PixelSum(0, 0, 1), 411) << c.name;
            }
        }
    }
}

TEST(GlyphPatternTable, FailureMessageEndsWithLineBreaks) {
    struct Sink : MessageSink {
        void ShowMessage(std::wstring_view t, std::wstring_view ti) override {
            text = t;
            title = ti;
        }
        std::wstring text, title;
    } sink;
    ShowGlyphBuildFailure(sink);
    EXPECT_EQ(sink.title, L"パターン読込みエラー");
    EXPECT_EQ(sink.text, L"パターンファイルのデータ化に失敗しました。\r\n終了します。\r\n");
}

TEST(GlyphPatternTable, CaptureBufferSizing) {
    GlyphPatternTable table;
    ASSERT_TRUE(BuildGlyphPatterns(Pictures(LoadRealImages()), table));
    CaptureBuffer buffer;

    ASSERT_TRUE(UpdateCaptureBufferSize({{{0, 0, 100, 12}, {0, 0, 200, 10}}}, table, buffer));
    EXPECT_EQ(buffer.LastColumn(), 202);
    EXPECT_EQ(buffer.LastRow(), 12);

    ASSERT_TRUE(UpdateCaptureBufferSize(kDefaultRegions, table, buffer));
    EXPECT_EQ(buffer.LastColumn(), 92);
    EXPECT_EQ(buffer.LastRow(), 9);

    // Before the build every extreme is 0: the larger region decides alone.
    ASSERT_TRUE(UpdateCaptureBufferSize({{{0, 0, 100, 12}, {0, 0, 200, 10}}}, {}, buffer));
    EXPECT_EQ(buffer.LastColumn(), 200);
    EXPECT_EQ(buffer.LastRow(), 12);

    // Every region the configuration file accepts fits, with its glyph spread.
    ASSERT_TRUE(UpdateCaptureBufferSize({{{0, 0, 4096, 1}, {0, 0, 1, 4096}}}, table, buffer));
    EXPECT_EQ(buffer.LastColumn(), 4096 + 6);
    EXPECT_EQ(buffer.LastRow(), 4096);
    ASSERT_TRUE(UpdateCaptureBufferSize({{{0, 0, 100, 12}, {0, 0, 200, 10}}}, {}, buffer));

    // An overflowing extent is refused and leaves the buffer alone.
    EXPECT_FALSE(UpdateCaptureBufferSize({{{0, 0, 1, 1}, {0, 0, 0x7FFFFFFF, 9}}}, table, buffer));
    EXPECT_EQ(buffer.LastColumn(), 200);
}

// The start-up build sizes the buffer only once the table is complete.
TEST(GlyphPatternTable, TheStartUpBuildSizesTheCaptureBufferAfterTheTable) {
    GlyphPatternTable table;
    CaptureBuffer buffer;
    ASSERT_TRUE(BuildGlyphPatterns(Pictures(LoadRealImages()), kDefaultRegions, table, buffer));
    EXPECT_EQ(buffer.LastColumn(), 92);
    EXPECT_EQ(buffer.LastRow(), 9);

    auto broken = Pictures(LoadRealImages());
    broken[1][kDelimiterGlyph].reset();
    EXPECT_FALSE(BuildGlyphPatterns(broken, {{{0, 0, 1, 1}, {0, 0, 300, 9}}}, table, buffer));
    EXPECT_EQ(buffer.LastColumn(), 92);
}

TEST(GlyphPatternTable, ExtentsOfARebuildAndTheEdgesOfTheSums) {
    const auto images = LoadRealImages();
    auto odd = Pictures(images);
    odd[1][3]->outerWidth += 20;                                   // one wide glyph
    odd[1][3]->outerHeight += 4;                                   // and tall
    odd[1][kDelimiterGlyph]->outerWidth = 2 * kPictureBorder + 3;  // one narrow
    odd[1][kDelimiterGlyph]->outerHeight = 2 * kPictureBorder + 3; // and short
    GlyphPatternTable table;
    ASSERT_TRUE(BuildGlyphPatterns(odd, table));
    ASSERT_EQ(table.sets[1].largestWidth, 27);

    // Rebuilt from the real pictures: nothing of the first build's extents is kept.
    ASSERT_TRUE(BuildGlyphPatterns(Pictures(images), table));
    const GlyphSetPatterns& set = table.sets[1];
    EXPECT_EQ(set.largestWidth, 7);
    EXPECT_EQ(set.largestHeight, 9);
    EXPECT_EQ(set.smallestWidth, 5);
    EXPECT_EQ(set.smallestHeight, 9);

    // Just past the table's extent reads 0, not the next glyph's or column's first sum.
    for (int g = 0; g < kDelimiterGlyph; ++g) {
        ASSERT_NE(set.PixelSum(g + 1, 0, 0), 0);
        EXPECT_EQ(set.PixelSum(g, set.Columns(), 0), 0) << g;
        EXPECT_EQ(set.PixelSum(g, 0, set.Rows()), 0) << g;
    }

    // An image one column wider and one row taller than its glyph fills the table's inclusive
    // extent; reads on either side of it still stay within their own glyph.
    auto full = Pictures(images);
    full[1][0]->image = PixelArray(8, 10);
    for (std::int32_t y = 0; y < 10; ++y) {
        for (std::int32_t x = 0; x < 8; ++x) {
            full[1][0]->image.At(x, y) = MakePixel(100, 100, 100);
        }
    }
    GlyphPatternTable filled;
    ASSERT_TRUE(BuildGlyphPatterns(full, filled));
    EXPECT_EQ(filled.sets[1].PixelSum(0, 7, 9), 300);
    EXPECT_EQ(filled.sets[1].PixelSum(1, -1, 0), 0);
    EXPECT_EQ(filled.sets[1].PixelSum(0, 1, -1), 0);

    // The buffer follows the widest region even when that is region 0.
    CaptureBuffer buffer;
    ASSERT_TRUE(UpdateCaptureBufferSize({{{0, 0, 300, 5}, {0, 0, 90, 9}}}, table, buffer));
    EXPECT_EQ(buffer.LastColumn(), 306);
    EXPECT_EQ(buffer.LastRow(), 9);
}

class Recognizer : public ::testing::Test {
  protected:
    void SetUp() override {
        images_ = LoadRealImages();
        ASSERT_TRUE(BuildGlyphPatterns(Pictures(images_), table_));
        SetRegion(kDefaultRegions[1]);
    }

    void SetRegion(const CaptureRegion& region) {
        regions_[1] = region;
        ASSERT_TRUE(UpdateCaptureBufferSize(regions_, table_, buffer_));
    }

    PixelArray Strip(std::string_view figure, std::int32_t left = 0, bool delimiter = true) const {
        StripLayout layout;
        layout.delimiter = delimiter;
        layout.width = regions_[1].width;
        layout.height = regions_[1].height;
        layout.left = left;
        return RenderExpStrip(figure, images_[1], layout);
    }

    RecognitionOutcome Read(const PixelArray& strip, bool debug = false,
                            ExpPercent* percent = nullptr) {
        EXPECT_TRUE(ResizeCaptureBuffer(buffer_, buffer_.LastColumn(), buffer_.LastRow()));
        StoreInSlot(buffer_, 1, strip);
        return RecognizeExpReadout(buffer_, table_, regions_[1], debug, reading_, host_, percent);
    }

    std::array<GlyphImageSet, kGlyphSetCount> images_;
    GlyphPatternTable table_;
    std::array<CaptureRegion, 2> regions_ = kDefaultRegions;
    CaptureBuffer buffer_;
    ExpReading reading_;
    FakeHost host_;
};

TEST_F(Recognizer, ReadsFiguresDrawnWithTheGlyphImages) {
    struct Case {
        const char* figure;
        std::int32_t left;
        double value;
        const wchar_t* caption;
    };
    const Case cases[] = {
        {"1234567", 0, 1234567, L"1234567"},
        {"1234567", 13, 1234567, L"1234567"},
        {"9876543210", 2, 9876543210.0, L"9876543210"},
        {"0012", 0, 12, L"0012"},
        {"0", 0, 0, L"認識NG"},
        {"000", 4, 0, L"認識NG"},
        {"", 0, 0, L"認識NG"},
        // Blank gaps are passed over column by column.
        {"12 34", 0, 1234, L"1234"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Read(Strip(c.figure, c.left)), RecognitionOutcome::Completed);
        ASSERT_TRUE(reading_.has_value());
        EXPECT_EQ(*reading_, c.value) << c.figure;
        EXPECT_EQ(host_.Caption(), c.caption) << c.figure;
    }
}

TEST_F(Recognizer, StopsAtTheDelimiter) {
    PixelArray strip = Strip("1234567");
    // More digits after the delimiter (at 42), which must not be read.
    DrawImage(strip, images_[1][8], 46, 0);
    DrawImage(strip, images_[1][9], 52, 0);
    Read(strip);
    EXPECT_EQ(*reading_, 1234567);
    EXPECT_EQ(host_.Caption(), L"1234567");
}

TEST_F(Recognizer, BlackOrDelimiterOnlyReadsNothing) {
    Read(PixelArray(90, 9));
    EXPECT_EQ(*reading_, 0);
    EXPECT_EQ(host_.Caption(), L"認識NG");

    StripLayout layout;
    layout.left = 30;
    Read(RenderExpStrip("", images_[1], layout));
    EXPECT_EQ(*reading_, 0);
    EXPECT_EQ(host_.Caption(), L"認識NG");
}

TEST_F(Recognizer, ToleratesOneBadPixelPerDigitButNotTwo) {
    // Digit 5 at column 0: strokes at (1,1) and (2,4) of its image.
    PixelArray one = Strip("5");
    one.At(1, 1) = MakePixel(230, 230, 230); // 690: off by 75
    Read(one);
    EXPECT_EQ(*reading_, 5);

    PixelArray two = one;
    two.At(2, 4) = MakePixel(200, 200, 200);
    Read(two);
    EXPECT_EQ(*reading_, 0);
    EXPECT_EQ(host_.Caption(), L"認識NG");

    // Off by exactly 72 still matches.
    PixelArray edge = Strip("5");
    for (const auto& [x, y] : {std::pair{1, 1}, std::pair{2, 4}, std::pair{3, 4}}) {
        edge.At(x, y) = MakePixel(231, 231, 231);
    }
    Read(edge);
    EXPECT_EQ(*reading_, 5);
}

TEST_F(Recognizer, SixteenDigitsInAWideRegionAreNotRead) {
    SetRegion({463, 570, 110, 9});
    Read(Strip("1234567890123456"));
    EXPECT_EQ(*reading_, 0);
    EXPECT_EQ(host_.Caption(), L"認識NG");
}

TEST_F(Recognizer, ScanEndsAtRegionWidthLessTheNarrowestGlyph) {
    Read(PixelArray(90, 9), true);
    const std::wstring& trace = host_.log.back();
    EXPECT_NE(trace.find(L"\r\nX:85 Y:0"), std::wstring::npos);
    EXPECT_EQ(trace.find(L"\r\nX:86 Y:0"), std::wstring::npos);
    // Positions are written with at least two digits.
    EXPECT_NE(trace.find(L"\r\nX:09 Y:0 0:"), std::wstring::npos);
    EXPECT_NE(trace.find(L"\r\nX:10 Y:0 0:"), std::wstring::npos);

    // A digit at the last position is read when the slot holds pixels beyond the region.
    PixelArray wide(93, 9);
    DrawImage(wide, Strip("", 0, false), 0, 0);
    DrawImage(wide, Strip("", 0, false), 90 - 7, 0);
    DrawImage(wide, images_[1][7], 85, 0);
    Read(wide);
    EXPECT_EQ(*reading_, 7);
    DrawImage(wide, images_[1][7], 86, 0);
    Read(wide);
    EXPECT_EQ(*reading_, 0);
}

TEST_F(Recognizer, DigitCutByTheRightEdgeIsNotRead) {
    // Digits at 72, 78 and 84; the last one's right column falls outside the capture.
    Read(Strip("123", 72));
    EXPECT_EQ(*reading_, 12);
    Read(Strip("123", 71));
    EXPECT_EQ(*reading_, 123);
}

TEST_F(Recognizer, ReadsThroughCaptureNoise) {
    std::mt19937 random(20240601);
    std::uniform_int_distribution<int> noise(-20, 20);
    std::uniform_int_distribution<int> length(1, 12);
    std::uniform_int_distribution<int> digit(1, 9);
    for (int round = 0; round < 100; ++round) {
        std::string figure;
        const int n = length(random);
        for (int i = 0; i < n; ++i) {
            figure += static_cast<char>('0' + (i == 0 ? digit(random) : digit(random) % 10));
        }
        PixelArray strip = Strip(figure, round % 6);
        for (std::int32_t y = 0; y < strip.Height(); ++y) {
            for (std::int32_t x = 0; x < strip.Width(); ++x) {
                const Pixel p = strip.At(x, y);
                auto jitter = [&](int c) { return std::clamp(c + noise(random), 0, 255); };
                strip.At(x, y) = MakePixel(jitter(RedOf(p)), jitter(GreenOf(p)), jitter(BlueOf(p)));
            }
        }
        Read(strip);
        EXPECT_EQ(host_.Caption(), std::wstring(figure.begin(), figure.end())) << round;
    }
}

TEST_F(Recognizer, FirstAcceptedGlyphWinsOverALaterBetterOne) {
    auto pictures = Pictures(images_);
    pictures[1][3]->image = images_[1][8]; // glyph 3 now looks exactly like 8
    GlyphPatternTable table;
    ASSERT_TRUE(BuildGlyphPatterns(pictures, table));
    StoreInSlot(buffer_, 1, Strip("8"));
    RecognizeExpReadout(buffer_, table, regions_[1], false, reading_, host_);
    EXPECT_EQ(*reading_, 3);
}

TEST_F(Recognizer, NormalModeLogsOnlyTheMemoryLine) {
    host_.memory.availablePhysical = 1234567ull * 1024 + 1023;
    Read(Strip("42"));
    ASSERT_EQ(host_.log.size(), 1u);
    EXPECT_EQ(host_.log[0], L"Available Physical Memory  1,234,567 kByte");
    EXPECT_EQ(host_.captions, std::vector<std::wstring>{L"42"});
}

TEST_F(Recognizer, DebugModeTracesEveryComparison) {
    SetRegion({0, 0, 20, 9});
    host_.memory.availablePhysical = 0;
    Read(Strip("1", 1), true);
    ASSERT_EQ(host_.log.size(), 2u);
    EXPECT_EQ(host_.log[0], L"Available Physical Memory          0 kByte");
    const std::wstring& trace = host_.log[1];
    // Position 0 sees only background and abandons every glyph after three columns.
    const std::wstring first = L"\r\nX:00 Y:0 0:";
    ASSERT_EQ(trace.substr(0, first.size()), first);
    const auto none = trace.find(L" 10:");
    ASSERT_NE(none, std::wstring::npos);
    const auto second = trace.find(L" 認識結果:なし\r\nX:01 Y:0 0:");
    ASSERT_NE(second, std::wstring::npos);
    EXPECT_GT(second, none);
    const std::wstring accepted = L" 1:10000 認識結果:1\r\nX:07 Y:0 0:";
    EXPECT_NE(trace.find(accepted), std::wstring::npos);
    const std::wstring end = L" 10:10000 認識結果:デリミタ";
    EXPECT_EQ(trace.substr(trace.size() - end.size()), end);

    const std::vector<std::wstring> captions{L"認識中…", L"認識中…", L"1認識中…", L"1", L"1"};
    EXPECT_EQ(host_.captions, captions);
}

TEST_F(Recognizer, DebugTraceOfAKnownStrip) {
    SetRegion({0, 0, 12, 9});
    Read(Strip("7"), true);
    // Every rejected glyph is dropped after three columns (27 pixels compared), so its score
    // is the matched count of those columns over the whole glyph: 20 matched gives 3174.
    EXPECT_EQ(host_.log.at(1),
              L"\r\nX:00 Y:0 0:3174 1:3809 2:3492 3:3650 4:3333 5:3492 6:3015 7:10000 認識結果:7"
              L"\r\nX:06 Y:0 0:2222 1:2380 2:2063 3:2222 4:2222 5:2063 6:2063 7:2380 8:2063 9:2063"
              L" 10:10000 認識結果:デリミタ");
}

TEST_F(Recognizer, ShuttingDownAbandonsTheScanAndKeepsThePreviousResult) {
    reading_ = 42;
    host_.shuttingDown = true;
    EXPECT_EQ(Read(Strip("1234567"), true), RecognitionOutcome::Abandoned);
    EXPECT_EQ(*reading_, 42);
    EXPECT_EQ(host_.captions, std::vector<std::wstring>{L"認識中…"});
    EXPECT_EQ(host_.log.size(), 1u); // the memory line only
}

// A glyph of 10 x 5 pixels with one pixel off scores exactly 9800, which is not enough.
TEST_F(Recognizer, AScoreOfExactly9800IsRejected) {
    PixelArray tile(10, 5);
    for (std::int32_t y = 0; y < 5; ++y) {
        for (std::int32_t x = 0; x < 10; ++x) {
            tile.At(x, y) = MakePixel(200, 200, 200);
        }
    }
    GlyphImageSet glyphs = images_[1];
    glyphs[4] = tile;
    GlyphPatternTable table;
    ASSERT_TRUE(
        BuildGlyphPatterns({PicturesFromImages(images_[0]), PicturesFromImages(glyphs)}, table));
    for (const bool spoiled : {false, true}) {
        PixelArray strip(20, 9);
        DrawImage(strip, tile, 0, 0);
        if (spoiled) {
            strip.At(6, 2) = MakePixel(100, 100, 100);
        }
        EXPECT_TRUE(ResizeCaptureBuffer(buffer_, buffer_.LastColumn(), buffer_.LastRow()));
        StoreInSlot(buffer_, 1, strip);
        RecognizeExpReadout(buffer_, table, {0, 0, 20, 9}, false, reading_, host_);
        EXPECT_EQ(*reading_, spoiled ? 0 : 4) << spoiled;
    }
}

// Glyphs taller than sixteen rows take the plain comparison: the set-1 font drawn twice as
// tall (7 x 18 digits, 126 pixels), where three bad pixels are one too many.
TEST_F(Recognizer, ReadsGlyphsTallerThanSixteenRows) {
    GlyphImageSet tall;
    for (int g = 0; g < kGlyphsPerSet; ++g) {
        const PixelArray& image = images_[1][g];
        tall[g] = PixelArray(image.Width(), 2 * image.Height());
        for (std::int32_t y = 0; y < tall[g].Height(); ++y) {
            for (std::int32_t x = 0; x < image.Width(); ++x) {
                tall[g].At(x, y) = image.At(x, y / 2);
            }
        }
    }
    GlyphPatternTable table;
    ASSERT_TRUE(
        BuildGlyphPatterns({PicturesFromImages(images_[0]), PicturesFromImages(tall)}, table));
    StripLayout layout;
    layout.width = 30;
    layout.height = 18;
    PixelArray strip = RenderExpStrip("42", tall, layout);
    const auto read = [&] {
        EXPECT_TRUE(ResizeCaptureBuffer(buffer_, 40, 20));
        StoreInSlot(buffer_, 1, strip);
        RecognizeExpReadout(buffer_, table, {0, 0, 30, 18}, false, reading_, host_);
        return *reading_;
    };
    EXPECT_EQ(read(), 42);
    for (const std::int32_t y : {3, 4, 5}) {
        strip.At(0, y) = MakePixel(0, 0, 0); // background of the "4"
    }
    EXPECT_EQ(read(), 2);
}

// The percent after the figure: the real client's layout (its columns as in its screenshot),
// the classic client's dot, one to three digits, twice the size with learned digits, and what
// reads as no percent while the figure reads as ever.
TEST_F(Recognizer, ReadsThePercentAfterTheDelimiterOnlyWhenWhole) {
    const struct {
        const char *figure, *percent;
        std::int32_t width;
        ExpPercent expected;
    } cases[] = {
        {"1214595027", "83,18%", 101, 83.18}, {"155759", "20.80%", 90, 20.80},
        {"72875", "5,07%", 90, 5.07},         {"72875", "100,00%", 140, 100.0},
        {"72875", "123,45%", 140, {}},        {"1214595027", "83,18%", 100, {}},
        {"72875", "8?,18%", 140, {}},         {"72875", "83,1?%", 140, {}},
        {"72875", "83,18", 140, {}},          {"72875", "", 140, {}},
        {"1111", "11,11%", 90, 11.11}, // learned, "1" is narrower than the other digits
    };
    for (int scale : {1, 2}) {
        if (scale == 2) { // digits learned from strips drawn twice the size
            LearnedGlyphs learned;
            for (const char* entry : {"1234567", "9876543210"}) {
                StripLayout layout;
                layout.scale = 2;
                learned = LearnGlyphs(RenderExpStrip(entry, images_[1], layout), entry, learned,
                                      images_[1])
                              .glyphs;
            }
            const auto set1 = PicturesFromImages(ComposeGlyphSet(images_[1], learned));
            ASSERT_TRUE(BuildGlyphPatterns({PicturesFromImages(images_[0]), set1}, table_));
        }
        for (const auto& c : cases) {
            SetRegion({463, 570, c.width * scale, 9 * scale});
            StripLayout layout;
            layout.width = 140;
            layout.percent = c.percent;
            layout.scale = scale;
            const PixelArray strip = RenderExpStrip(c.figure, images_[1], layout);
            ExpPercent percent = -1;
            Read(strip, false, &percent);
            EXPECT_EQ(*reading_, DigitTextValue(c.figure)) << c.percent;
            EXPECT_EQ(percent, c.expected) << c.figure << "[" << c.percent << " at " << scale;
        }
    }
    StripLayout layout;
    layout.width = 140;
    layout.percent = "83,18%";
    const PixelArray real = RenderExpStrip("1214595027", images_[1], layout);
    for (const auto& [x, y] : {std::pair{61, 4}, {78, 7}, {78, 8}, {93, 2}, {99, 1}}) {
        EXPECT_GT(real.Brightness(x, y), 400) << x << "," << y;
    }
}

TEST(DigitText, ConvertsLikeADecimalNumber) {
    EXPECT_EQ(DigitTextValue(""), 0.0);
    EXPECT_EQ(DigitTextValue("0012"), 12.0);
    EXPECT_EQ(DigitTextValue("123456789012345"), 123456789012345.0);
    EXPECT_EQ(DigitTextValue(std::string(64, '9')), 0.0); // no EXP has so many digits
}

} // namespace
} // namespace qv

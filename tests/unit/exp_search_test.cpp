#include "recognition/exp_search.h"
#include "testkit/glyph_files.h"
#include "testkit/glyph_render.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace qv {
namespace {

struct Figure {
    const char* digits;
    std::int32_t x, y, scale;
    bool percent;
};

class ExpSearchTest : public ::testing::Test {
  protected:
    static GlyphImageSet Load(int set) {
        return LoadGlyphImageSet(GlyphFolder(QV_SOURCE_DIR), set).value_or(GlyphImageSet{});
    }

    // A textured client area of the game.
    static PixelArray Client(std::int32_t width, std::int32_t height) {
        PixelArray client(width, height);
        for (std::int32_t y = 0; y < height; ++y) {
            for (std::int32_t x = 0; x < width; ++x) {
                client.At(x, y) = MakePixel((x * 7) % 200, (y * 5) % 180, ((x + y) * 3) % 160);
            }
        }
        AddNoise(client, 7, 60);
        return client;
    }

    // The figure, its delimiter and, when asked, a "%" where the game's percent ends.
    void Draw(PixelArray& client, const Figure& f) const {
        StripLayout layout;
        layout.width = 100;
        layout.scale = f.scale;
        PixelArray strip = RenderExpStrip(f.digits, builtIn_, layout);
        if (f.percent) {
            const char* sign[] = {".#....#", "#.#..#.", ".#..#..", "...#...",
                                  "..#..#.", ".#..#.#", "#....#."};
            const std::int32_t left =
                6 * static_cast<std::int32_t>(std::string(f.digits).size()) + 33;
            for (std::int32_t y = 0; y < 7 * f.scale; ++y) {
                for (std::int32_t x = 0; x < 7 * f.scale; ++x) {
                    if (sign[y / f.scale][x / f.scale] == '#' &&
                        left * f.scale + x < strip.Width()) {
                        strip.At(left * f.scale + x, f.scale + y) = MakePixel(255, 255, 255);
                    }
                }
            }
        }
        DrawImage(client, strip, f.x, f.y);
    }

    // HP and MP as the game draws them near the figure: "[1234/5678]".
    void DrawDecoy(PixelArray& client, std::int32_t x, std::int32_t y, std::int32_t scale) const {
        StripLayout layout;
        layout.width = 60;
        layout.scale = scale;
        layout.delimiter = false;
        DrawImage(client, RenderExpStrip(" 1234 5678", builtIn_, layout), x, y);
        DrawImage(client, Enlarge(builtIn_[kDelimiterGlyph], scale), x, y);
    }

    GlyphPatternTable BuiltInTable() const {
        GlyphPatternTable table;
        EXPECT_TRUE(
            BuildGlyphPatterns({PicturesFromImages(Load(0)), PicturesFromImages(builtIn_)}, table));
        return table;
    }

    const GlyphImageSet builtIn_ = Load(1);
};

TEST_F(ExpSearchTest, FindsTheFigureAtEveryScaleAmongDecoys) {
    struct Case {
        const char* name;
        std::int32_t width, height;
        std::vector<Figure> figures;
        int noise;
        std::optional<ExpSearchResult> expected; // region, scale, enlarged, digits, percent
    };
    const Case cases[] = {
        {"design's client at 1x",
         800,
         600,
         {{"1234567", 463, 570, 1, false}},
         0,
         ExpSearchResult{{463, 570, 100, 9}, 1, false, "1234567", false}},
        {"2x at an odd place",
         1280,
         720,
         {{"98765", 301, 433, 2, true}},
         0,
         ExpSearchResult{{301, 433, 176, 18}, 2, true, "98765", true}},
        {"3x with noise",
         1280,
         720,
         {{"40213", 77, 650, 3, true}},
         12,
         ExpSearchResult{{77, 650, 264, 27}, 3, true, "40213", true}},
        {"4x at the top, cut by the right edge",
         1920,
         1080,
         {{"1234567890", 1500, 0, 4, false}},
         0,
         ExpSearchResult{{1500, 0, 420, 36}, 4, true, "1234567890", false}},
        {"at the left and bottom edges",
         640,
         480,
         {{"5", 0, 471, 1, false}},
         0,
         ExpSearchResult{{0, 471, 64, 9}, 1, false, "5", false}},
        {"the percent beats a lower run",
         1280,
         720,
         {{"1111", 40, 600, 2, true}, {"2222", 40, 680, 2, false}},
         0,
         ExpSearchResult{{40, 600, 164, 18}, 2, true, "1111", true}},
        {"the lowest, then the leftmost",
         1280,
         720,
         {{"333", 400, 100, 1, false}, {"444", 500, 300, 1, false}, {"555", 46, 300, 1, false}},
         0,
         ExpSearchResult{{46, 300, 76, 9}, 1, false, "555", false}},
        {"absent: only HP and MP", 1920, 1080, {}, 0, std::nullopt},
    };
    const GlyphPatternTable table = BuiltInTable();
    for (const Case& c : cases) {
        PixelArray client = Client(c.width, c.height);
        DrawDecoy(client, 100, c.height / 2, 2);
        DrawDecoy(client, 100, c.height / 2 + 40, 1);
        for (const Figure& f : c.figures) {
            Draw(client, f);
        }
        AddNoise(client, 3, c.noise);
        const auto found = SearchExpFigure(client, table, builtIn_);
        ASSERT_EQ(found.has_value(), c.expected.has_value()) << c.name;
        if (!found) {
            continue;
        }
        EXPECT_EQ(found->region, c.expected->region) << c.name;
        EXPECT_EQ(found->scale, c.expected->scale) << c.name;
        EXPECT_EQ(found->enlarged, c.expected->enlarged) << c.name;
        EXPECT_EQ(found->digits, c.expected->digits) << c.name;
        EXPECT_EQ(found->percent, c.expected->percent) << c.name;
    }
}

} // namespace
} // namespace qv

// Time of one search of a whole client picture for the EXP figure: an 800 x 600 and a
// 1920 x 1080 client, the figure drawn at 1x and at 3x, and absent (only the HP and MP figures
// in view, so every scale is searched). Figures are printed, never asserted.
#include "recognition/exp_search.h"
#include "testkit/glyph_files.h"
#include "testkit/glyph_render.h"

#include <benchmark/benchmark.h>

namespace {

qv::GlyphImageSet Load(int set) {
    return qv::LoadGlyphImageSet(qv::GlyphFolder(QV_SOURCE_DIR), set).value_or(qv::GlyphImageSet{});
}

// A textured client with HP and MP drawn as "[1234/5678]" and, for scale > 0, the figure.
qv::PixelArray Client(const qv::GlyphImageSet& glyphs, std::int32_t width, std::int32_t height,
                      std::int32_t scale) {
    qv::PixelArray client(width, height);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            client.At(x, y) = qv::MakePixel((x * 7) % 200, (y * 5) % 180, ((x + y) * 3) % 160);
        }
    }
    qv::AddNoise(client, 7, 60);
    qv::StripLayout decoy;
    decoy.width = 60;
    decoy.delimiter = false;
    for (const std::int32_t y : {height - 60, height - 40}) {
        qv::DrawImage(client, qv::RenderExpStrip(" 1234 5678", glyphs, decoy), 40, y);
        qv::DrawImage(client, glyphs[qv::kDelimiterGlyph], 40, y);
    }
    if (scale > 0) {
        qv::StripLayout figure;
        figure.scale = scale;
        qv::DrawImage(client, qv::RenderExpStrip("1234567", glyphs, figure), width / 2,
                      height - 12 * scale);
    }
    return client;
}

void BM_SearchExpFigure(benchmark::State& state) {
    const qv::GlyphImageSet builtIn = Load(1);
    qv::GlyphPatternTable table;
    if (!qv::BuildGlyphPatterns({qv::PicturesFromImages(Load(0)), qv::PicturesFromImages(builtIn)},
                                table)) {
        state.SkipWithError("glyph files");
        return;
    }
    const auto scale = static_cast<std::int32_t>(state.range(2));
    const qv::PixelArray client = Client(builtIn, static_cast<std::int32_t>(state.range(0)),
                                         static_cast<std::int32_t>(state.range(1)), scale);
    bool found = false;
    for (auto _ : state) {
        const auto result = qv::SearchExpFigure(client, table, builtIn);
        found = result.has_value();
        benchmark::DoNotOptimize(found);
    }
    state.SetLabel(scale == 0
                       ? "absent"
                       : (found ? "figure at " : "NOT FOUND at ") + std::to_string(scale) + "x");
}
BENCHMARK(BM_SearchExpFigure)
    ->ArgNames({"width", "height", "scale"})
    ->Args({800, 600, 1})
    ->Args({800, 600, 3})
    ->Args({800, 600, 0})
    ->Args({1920, 1080, 1})
    ->Args({1920, 1080, 3})
    ->Args({1920, 1080, 0})
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

// Time of one EXP recognition on the default 90 x 9 region, with the pixel comparisons it
// makes. Figures are printed, never asserted.
#include "recognition/exp_recognizer.h"
#include "recognition/glyph_pattern_table.h"
#include "recognition/glyph_scorer.h"
#include "testkit/glyph_files.h"
#include "testkit/glyph_render.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

// Pixel comparisons of one call: the recognizer's scan of the strip, counted with its scorer.
std::int64_t CountComparisons(const qv::PixelArray& strip, const qv::GlyphSetPatterns& set,
                              std::int32_t regionWidth) {
    const qv::GlyphScorer scorer(set, strip);
    std::int64_t total = 0;
    for (std::int32_t sx = 0; sx <= regionWidth - set.smallestWidth && sx < strip.Width(); ++sx) {
        for (int g = 0; g < qv::kGlyphsPerSet; ++g) {
            const qv::GlyphMatch match = scorer.Match(g, sx);
            total += match.compared;
            if (scorer.Accepted(g, match)) {
                if (g == qv::kDelimiterGlyph) {
                    return total;
                }
                sx += set.width[g] - 2;
                break;
            }
        }
    }
    return total;
}

void Recognize(benchmark::State& state, const std::string& figure) {
    auto images = qv::LoadGlyphImageSet(qv::GlyphFolder(QV_SOURCE_DIR), 1);
    auto images0 = qv::LoadGlyphImageSet(qv::GlyphFolder(QV_SOURCE_DIR), 0);
    if (!images || !images0) {
        state.SkipWithError("glyph images not found");
        return;
    }
    qv::GlyphPatternTable table;
    const std::array<qv::CaptureRegion, 2> regions{{{1, 1, 1, 1}, {463, 570, 90, 9}}};
    qv::CaptureBuffer buffer;
    if (!qv::BuildGlyphPatterns({qv::PicturesFromImages(*images0), qv::PicturesFromImages(*images)},
                                regions, table, buffer)) {
        state.SkipWithError("glyph table not built");
        return;
    }
    qv::StripLayout layout;
    layout.delimiter = !figure.empty();
    const qv::PixelArray strip = qv::RenderExpStrip(figure, *images, layout);
    qv::StoreInSlot(buffer, qv::kExpCaptureIndex, strip);

    qv::CaptionKeeper host;
    qv::ExpReading reading;
    for (auto _ : state) {
        qv::RecognizeExpReadout(buffer, table, regions[qv::kExpCaptureIndex], false, reading, host);
        benchmark::DoNotOptimize(reading);
    }
    state.counters["comparisons"] = static_cast<double>(CountComparisons(
        strip, table.sets[qv::kExpCaptureIndex], regions[qv::kExpCaptureIndex].width));
    state.SetLabel("read " + std::to_string(static_cast<long long>(reading.value_or(-1))));
}

} // namespace

BENCHMARK_CAPTURE(Recognize, seven_digits, std::string("1234567"));
BENCHMARK_CAPTURE(Recognize, ten_digits, std::string("9876543210"));
BENCHMARK_CAPTURE(Recognize, empty_strip, std::string());

BENCHMARK_MAIN();

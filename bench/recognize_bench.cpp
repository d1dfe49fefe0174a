// Time of one EXP recognition, with the pixel comparisons it makes: the built-in glyphs on the
// default 90 x 9 region, and glyphs learned from a strip drawn twice the size on a 180 x 18
// region; and on a 140 x 9 region, the figure with the level's percent beside it read whole,
// against the figure alone. Figures are printed, never asserted.
#include "recognition/exp_recognizer.h"
#include "recognition/glyph_pattern_table.h"
#include "recognition/glyph_scorer.h"
#include "recognition/learned_glyphs.h"
#include "testkit/glyph_files.h"
#include "testkit/glyph_render.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <optional>
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

// Set 1 for strips drawn `scale` times the size: the built-in images, or, when larger, glyphs
// learned from two such strips that together hold every digit.
std::optional<qv::GlyphImageSet> GlyphsFor(const qv::GlyphImageSet& builtIn, int scale) {
    if (scale == 1) {
        return builtIn;
    }
    qv::LearnedGlyphs learned;
    for (const char* entry : {"1234567", "9876543210"}) {
        qv::StripLayout layout;
        layout.scale = scale;
        auto outcome =
            qv::LearnGlyphs(qv::RenderExpStrip(entry, builtIn, layout), entry, learned, builtIn);
        if (outcome.status != qv::LearnStatus::Learned) {
            return std::nullopt;
        }
        learned = std::move(outcome.glyphs);
    }
    return qv::ComposeGlyphSet(builtIn, learned);
}

// `percent` drawn after the delimiter and read; none drawn and none read when empty.
void Recognize(benchmark::State& state, const std::string& figure, int scale,
               const std::string& percent = "", std::int32_t width = 90) {
    auto builtIn = qv::LoadGlyphImageSet(qv::GlyphFolder(QV_SOURCE_DIR), 1);
    auto images0 = qv::LoadGlyphImageSet(qv::GlyphFolder(QV_SOURCE_DIR), 0);
    if (!builtIn || !images0) {
        state.SkipWithError("glyph images not found");
        return;
    }
    const auto images = GlyphsFor(*builtIn, scale);
    if (!images) {
        state.SkipWithError("glyphs not learned");
        return;
    }
    qv::GlyphPatternTable table;
    const std::array<qv::CaptureRegion, 2> regions{
        {{1, 1, 1, 1}, {463, 570, width * scale, 9 * scale}}};
    qv::CaptureBuffer buffer;
    if (!qv::BuildGlyphPatterns({qv::PicturesFromImages(*images0), qv::PicturesFromImages(*images)},
                                regions, table, buffer)) {
        state.SkipWithError("glyph table not built");
        return;
    }
    qv::StripLayout layout;
    layout.delimiter = !figure.empty();
    layout.scale = scale;
    layout.width = width;
    layout.percent = percent;
    const qv::PixelArray strip = qv::RenderExpStrip(figure, *builtIn, layout);
    qv::StoreInSlot(buffer, qv::kExpCaptureIndex, strip);

    qv::CaptionKeeper host;
    qv::ExpReading reading;
    qv::ExpPercent read;
    qv::ExpPercent* asked = percent.empty() ? nullptr : &read;
    for (auto _ : state) {
        qv::RecognizeExpReadout(buffer, table, regions[qv::kExpCaptureIndex], false, reading, host,
                                asked);
        benchmark::DoNotOptimize(reading);
        benchmark::DoNotOptimize(read);
    }
    state.counters["comparisons"] = static_cast<double>(CountComparisons(
        strip, table.sets[qv::kExpCaptureIndex], regions[qv::kExpCaptureIndex].width));
    char percentText[16] = "";
    if (read) {
        std::snprintf(percentText, sizeof percentText, " %.2f%%", *read);
    }
    state.SetLabel("read " + std::to_string(static_cast<long long>(reading.value_or(-1))) +
                   percentText);
}

} // namespace

BENCHMARK_CAPTURE(Recognize, seven_digits, std::string("1234567"), 1);
BENCHMARK_CAPTURE(Recognize, ten_digits, std::string("9876543210"), 1);
BENCHMARK_CAPTURE(Recognize, empty_strip, std::string(), 1);
BENCHMARK_CAPTURE(Recognize, learned_2x_seven_digits, std::string("1234567"), 2);
BENCHMARK_CAPTURE(Recognize, learned_2x_ten_digits, std::string("9876543210"), 2);
BENCHMARK_CAPTURE(Recognize, learned_2x_empty_strip, std::string(), 2);

BENCHMARK_CAPTURE(Recognize, figure_alone_140, std::string("1214595027"), 1, "", 140);
BENCHMARK_CAPTURE(Recognize, figure_and_percent_140, std::string("1214595027"), 1, "83,18%", 140);

BENCHMARK_MAIN();

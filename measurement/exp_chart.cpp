#include "measurement/exp_chart.h"

#include "base/number_text.h"
#include "measurement/exp_gain.h"

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

constexpr double kMinutesPerDay = 24 * 60;
// Slack for floating-point edges, far below any tick step.
constexpr double kEpsilon = 1e-9;

// An increase beyond any EXP, infinite or not a number, still gets a finite axis.
constexpr double kLargestExpAxis = 1e300;
// No screen shows more ticks than this on one axis, however large the window.
constexpr int kMaxTickIntervals = 1000;
// Text larger than this is no font the window uses; it keeps the margins' arithmetic small.
constexpr int kMaxTextMetric = 4096;

std::wstring ClockLabel(double minuteOfDay) {
    const int minutes = static_cast<int>(std::fmod(std::round(minuteOfDay), kMinutesPerDay));
    return ZeroPadded(minutes / 60, 2) + L":" + ZeroPadded(minutes % 60, 2);
}

} // namespace

double RoundTickStep(double range, int maxIntervals, double minStep) {
    maxIntervals = std::max(maxIntervals, 1);
    if (!(range > 0) || !std::isfinite(range)) {
        return minStep;
    }
    const double rough = range / maxIntervals;
    double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (;; power *= 10) {
        for (const double mantissa : {1.0, 2.0, 5.0}) {
            const double step = mantissa * power;
            if (step >= minStep && step * maxIntervals >= range * (1 - kEpsilon)) {
                return step;
            }
        }
    }
}

Axis ExpAxis(double maxIncrease, int maxIntervals) {
    Axis axis;
    maxIntervals = std::clamp(maxIntervals, 1, kMaxTickIntervals);
    const double top = maxIncrease > 1 ? std::min(maxIncrease, kLargestExpAxis) : 1;
    axis.step = RoundTickStep(top, maxIntervals, 1);
    const int intervals = static_cast<int>(
        std::min(std::ceil(top / axis.step - kEpsilon), static_cast<double>(maxIntervals)));
    axis.max = intervals * axis.step;
    for (int i = 0; i <= intervals; ++i) {
        axis.ticks.push_back(Tick{i * axis.step, GroupedNumberText(i * axis.step)});
    }
    return axis;
}

Axis TimeAxis(double seconds, const LocalTime& start, int maxIntervals) {
    Axis axis;
    maxIntervals = std::clamp(maxIntervals, 1, kMaxTickIntervals);
    axis.max = std::max(seconds / 60, 1.0);
    axis.step = RoundTickStep(axis.max, maxIntervals, 1);
    const double startClock = start.hour * 60 + start.minute + start.second / 60.0;
    for (double clock = std::ceil(startClock / axis.step - kEpsilon) * axis.step;
         clock - startClock <= axis.max + kEpsilon; clock += axis.step) {
        axis.ticks.push_back(Tick{clock - startClock, ClockLabel(clock)});
    }
    return axis;
}

int PixelScale::Index(double value) const {
    if (!(hi_ > lo_)) {
        return 0;
    }
    const double index = std::floor((value - lo_) / (hi_ - lo_) * length_);
    return static_cast<int>(std::clamp(index, 0.0, static_cast<double>(length_ - 1)));
}

std::vector<ColumnRange> ReduceToColumns(std::span<const SeriesPoint> points,
                                         const PixelScale& time) {
    std::vector<ColumnRange> columns;
    for (const SeriesPoint& p : points) {
        const int column = time.Index(p.seconds);
        if (columns.empty() || columns.back().column != column) {
            columns.push_back(ColumnRange{column, p.increase, p.increase, p.increase, p.increase});
            continue;
        }
        ColumnRange& c = columns.back();
        c.last = p.increase;
        c.min = std::min(c.min, p.increase);
        c.max = std::max(c.max, p.increase);
    }
    return columns;
}

namespace {

void AddPoint(std::vector<PixelPoint>& line, PixelPoint p) {
    if (line.empty() || line.back().x != p.x || line.back().y != p.y) {
        line.push_back(p);
    }
}

// Each column draws first, lowest, highest and last reading: its whole range as a vertical
// stroke, joined to the columns beside it.
std::vector<PixelPoint> ColumnLine(std::span<const SeriesPoint> points, const PixelScale& time,
                                   int left, const PixelScale& exp) {
    std::vector<PixelPoint> line;
    for (const ColumnRange& c : ReduceToColumns(points, time)) {
        const int x = left + c.column;
        AddPoint(line, {x, exp.ToPixel(c.first)});
        AddPoint(line, {x, exp.ToPixel(c.min)});
        AddPoint(line, {x, exp.ToPixel(c.max)});
        AddPoint(line, {x, exp.ToPixel(c.last)});
    }
    return line;
}

} // namespace

ChartLayout LayoutChart(const ExpSeries& series, int width, int height,
                        const ChartMetrics& metrics) {
    ChartLayout layout;
    const int cw = std::clamp(metrics.charWidth, 1, kMaxTextMetric);
    const int lh = std::clamp(metrics.lineHeight, 1, kMaxTextMetric);
    width = std::max(width, 0);
    height = std::max(height, 0);
    layout.top = lh * 2;             // the caption line and half a line of space
    layout.bottom = height - lh * 2; // the time labels below the axis
    layout.right = width - cw * 4;   // room for the last "hh:mm" to stand centred
    layout.hasData = !series.Empty();
    if (!layout.hasData || layout.bottom - layout.top < lh || width < cw * 20) {
        layout.left = cw;
        return layout;
    }
    // Time labels "hh:mm" need about eight characters apart, EXP labels two lines.
    const Axis exp =
        ExpAxis(series.Increase(), std::max((layout.bottom - layout.top) / (lh * 2), 1));
    std::size_t widest = 1;
    for (const Tick& t : exp.ticks) {
        widest = std::max(widest, t.label.size());
    }
    layout.left = cw * static_cast<int>(widest + 2);
    if (layout.right - layout.left < cw * 8) {
        return layout; // too narrow for a plot: the caption alone
    }
    const Axis time = TimeAxis(series.Seconds(), series.StartTime(),
                               std::max((layout.right - layout.left) / (cw * 8), 1));
    const PixelScale timeMinutes(0, time.max, layout.left, layout.right - layout.left);
    const PixelScale timeSeconds(0, time.max * 60, 0, layout.right - layout.left);
    const PixelScale expScale(0, exp.max, layout.bottom - 1, layout.bottom - layout.top, true);
    for (const Tick& t : time.ticks) {
        layout.timeTicks.push_back(PixelTick{timeMinutes.ToPixel(t.value), t.label});
    }
    for (const Tick& t : exp.ticks) {
        layout.expTicks.push_back(PixelTick{expScale.ToPixel(t.value), t.label});
    }
    layout.line = ColumnLine(series.Points(), timeSeconds, layout.left, expScale);
    for (const double fall : series.Falls()) {
        layout.falls.push_back(timeMinutes.ToPixel(fall / 60));
    }
    for (const PausedSpan& pause : series.Pauses()) {
        const int from = timeMinutes.ToPixel(pause.from / 60);
        layout.pauses.emplace_back(from, std::max(timeMinutes.ToPixel(pause.to / 60), from + 1));
    }
    return layout;
}

} // namespace qv

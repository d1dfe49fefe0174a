// The arithmetic of the EXP graph: axis ranges with round tick steps, tick labels, the mapping
// of values to pixels and the reduction of many readings to one range per pixel column. The
// window only draws what ChartLayout holds.
#pragma once

#include "measurement/exp_series.h"
#include "services/local_time.h"

#include <span>
#include <string>
#include <utility>
#include <vector>

namespace qv {

// The smallest of 1, 2, 5 x 10^n (not below minStep) that covers `range` in at most
// `maxIntervals` steps.
double RoundTickStep(double range, int maxIntervals, double minStep);

struct Tick {
    double value = 0;
    std::wstring label;
};

struct Axis {
    double min = 0;
    double max = 1;
    double step = 1;
    std::vector<Tick> ticks;
};

// EXP axis: from 0 to the increase rounded up to a whole step, labelled with thousands
// separators ("20,000,000").
Axis ExpAxis(double maxIncrease, int maxIntervals);
// Time axis in minutes since the first reading (at least one minute long). Ticks sit on the
// multiples of the step on the local clock and are labelled "hh:mm".
Axis TimeAxis(double seconds, const LocalTime& start, int maxIntervals);

// Maps values in [lo, hi] onto `length` pixels from `origin`, rightwards or upwards; each pixel
// covers an equal share of the range, values outside land on the end pixels.
class PixelScale {
  public:
    PixelScale(double lo, double hi, int origin, int length, bool upward = false)
        : lo_(lo), hi_(hi), origin_(origin), length_(length < 1 ? 1 : length), upward_(upward) {}
    // The index of the pixel (0 .. length-1) from the origin.
    int Index(double value) const;
    int ToPixel(double value) const {
        return upward_ ? origin_ - Index(value) : origin_ + Index(value);
    }
    int Length() const { return length_; }

  private:
    double lo_, hi_;
    int origin_, length_;
    bool upward_;
};

// The readings that fall in one pixel column.
struct ColumnRange {
    int column = 0; // pixel index along the time scale
    double first = 0, last = 0, min = 0, max = 0;
};

// One range per occupied column, in column order; points must be in time order.
std::vector<ColumnRange> ReduceToColumns(std::span<const SeriesPoint> points,
                                         const PixelScale& time);

struct PixelPoint {
    int x = 0, y = 0;
};
struct PixelTick {
    int pixel = 0;
    std::wstring label;
};

// Size of the window's text, so that margins and tick spacing fit the labels.
struct ChartMetrics {
    int charWidth = 8;
    int lineHeight = 16;
};

struct ChartLayout {
    bool hasData = false;
    int left = 0, top = 0, right = 0, bottom = 0; // plot area, right and bottom exclusive
    std::vector<PixelTick> timeTicks, expTicks;
    std::vector<PixelPoint> line; // the polyline through the readings
    std::vector<int> falls;       // x of each fall's mark
    // x from and to (exclusive) of each paused span's band
    std::vector<std::pair<int, int>> pauses;
};

// Lays out the series in a client area of width x height pixels under a caption line.
ChartLayout LayoutChart(const ExpSeries& series, int width, int height,
                        const ChartMetrics& metrics);

} // namespace qv

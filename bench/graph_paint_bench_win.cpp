// Repaint time of the graph window with a whole night of readings (30,000 at one a second),
// under Wine: the layout alone, and the whole paint (layout, off-screen drawing, copy).
#include "app/form_graph_win.h"
#include "measurement/exp_chart.h"

#include <windows.h>

#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start, int runs) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count() / runs;
}

} // namespace

int main() {
    constexpr std::uint32_t kReadings = 30000;
    constexpr int kRuns = 100;
    qv::MeasurementRecord night;
    qv::ExpSeries& series = night.series;
    series.Begin(qv::LocalTime{2026, 12, 7, 22, 0, 0});
    for (std::uint32_t i = 1; i < kReadings; ++i) {
        series.Add(i * 1000, i * 4100.0, i % 3000 == 0);
    }
    qv::FormGraph graph(night);
    if (!graph.Show()) {
        std::printf("graph window could not be created\n");
        return 1;
    }
    SetWindowPos(graph.Handle(), nullptr, 0, 0, 1000, 600, SWP_NOMOVE | SWP_NOZORDER);
    RECT client{};
    GetClientRect(graph.Handle(), &client);

    auto start = Clock::now();
    std::size_t points = 0;
    for (int i = 0; i < kRuns; ++i) {
        points += qv::LayoutChart(series, client.right, client.bottom, {8, 16}).line.size();
    }
    const double layout = MillisecondsSince(start, kRuns);

    start = Clock::now();
    for (int i = 0; i < kRuns; ++i) {
        RedrawWindow(graph.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    const double paint = MillisecondsSince(start, kRuns);
    std::printf("%u readings, client %ldx%ld, %zu line points\n", kReadings, client.right,
                client.bottom, points / kRuns);
    std::printf("layout (chart arithmetic): %.3f ms\n", layout);
    std::printf("repaint (layout, draw off-screen, copy): %.3f ms\n", paint);
    graph.Destroy();
    return 0;
}

// The graph window with a whole night of readings: it paints, follows the window's size and
// gives back every GDI object it used for a paint.
#include "app/form_graph_win.h"
#include "capture/screen_capture_win.h"
#include "tests/win/resource_marks.h"
#include "tests/win/test_pixels.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

// A night at one reading a second: 30,000 readings, a fall every 3,000.
MeasurementRecord NightRecord() {
    MeasurementRecord night;
    ExpSeries& series = night.series;
    series.Begin(LocalTime{2026, 12, 7, 22, 0, 0});
    for (std::uint32_t i = 1; i < 30000; ++i) {
        series.Add(i * 1000, i * 4100.0, i % 3000 == 0);
    }
    return night;
}

// Pixels of the window's client area of one colour (0xRRGGBB), read back from the screen.
int CountPixels(HWND hwnd, Pixel colour) {
    RECT client{};
    GetClientRect(hwnd, &client);
    PixelArray pixels;
    EXPECT_GT(CaptureWindowPixels(hwnd, CaptureRegion{0, 0, client.right, client.bottom}, pixels),
              0);
    int count = 0;
    for (int y = 0; y < pixels.Height(); ++y) {
        for (int x = 0; x < pixels.Width(); ++x) {
            count += Colour(pixels.At(x, y)) == colour ? 1 : 0;
        }
    }
    return count;
}

constexpr Pixel kLineColour = 0x0050C8, kFallColour = 0xDC2828, kWhite = 0xFFFFFF;

void Paint(HWND hwnd) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

TEST(FormGraph, PaintsThirtyThousandReadingsWithoutKeepingAGdiObject) {
    const MeasurementRecord night = NightRecord();
    FormGraph graph(night);
    ASSERT_TRUE(graph.Show());
    HWND hwnd = graph.Handle();
    EXPECT_EQ(GetWindow(hwnd, GW_OWNER), nullptr);
    Paint(hwnd);
    // The line (blue) and the nine fall marks (red) reach the screen.
    EXPECT_GT(CountPixels(hwnd, kLineColour), 200);
    EXPECT_GT(CountPixels(hwnd, kFallColour), 9 * 100);

    const ResourceMarks before = ResourceMarks::Take();
    for (int i = 0; i < 50; ++i) {
        SetWindowPos(hwnd, nullptr, 0, 0, 400 + i * 8, 300 + i * 4, SWP_NOMOVE | SWP_NOZORDER);
        Paint(hwnd);
    }
    const ResourceMarks after = ResourceMarks::Take();
    ExpectNoGdiOrHandleLeak(before, after);

    // Closing only hides: the same window comes back.
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(hwnd));
    ASSERT_TRUE(graph.Show());
    EXPECT_EQ(graph.Handle(), hwnd);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    graph.Destroy();
}

TEST(FormGraph, SaysSoBeforeTheFirstReading) {
    const MeasurementRecord none;
    FormGraph graph(none);
    ASSERT_TRUE(graph.Show());
    Paint(graph.Handle());
    const int white = CountPixels(graph.Handle(), kWhite);
    RECT client{};
    GetClientRect(graph.Handle(), &client);
    // The message's text, and nothing else, stands on the white ground.
    EXPECT_LT(white, client.right * client.bottom);
    EXPECT_EQ(CountPixels(graph.Handle(), kLineColour), 0);
    graph.Destroy();
}

} // namespace
} // namespace qv

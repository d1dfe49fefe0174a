#include "capture/screen_capture_win.h"
#include "recognition/exp_recognizer.h"
#include "recognition/glyph_pattern_table.h"
#include "recognition/glyph_pictures_win.h"
#include "testkit/glyph_files.h"
#include "testkit/glyph_render.h"
#include "tests/win/resource_marks.h"
#include "tests/win/test_pixels.h"
#include "tests/win/test_window.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>

namespace qv {
namespace {

// A borderless tool window, not activated, that shows a given image at its top-left corner.
class PaintedWindow : public TestWindow {
  public:
    PaintedWindow(PixelArray image, int width, int height)
        : TestWindow(L"capture test", WS_POPUP, std::move(image), width, height, WS_EX_TOOLWINDOW,
                     POINT{0, 0}, SW_SHOWNOACTIVATE) {}
};

TEST(ScreenCapture, CopiesAClientRectangleIntoTheTopLeftOfOneSlot) {
    PaintedWindow window(KnownImage(64, 48), 64, 48);
    CaptureBuffer buffer;
    ASSERT_TRUE(ResizeCaptureBuffer(buffer, 5, 3));
    const PixelArray slot0 = KnownImage(6, 4);
    StoreInSlot(buffer, 0, slot0);

    EXPECT_EQ(CaptureWindowRegion(window.get(), {10, 20, 3, 2}, buffer, 1), 2);
    for (int y = 0; y <= 3; ++y) {
        for (int x = 0; x <= 5; ++x) {
            const Pixel expected = x < 3 && y < 2 ? KnownPixel(10 + x, 20 + y) : 0;
            EXPECT_EQ(Colour(buffer.At(1, x, y)), expected) << x << "," << y;
            EXPECT_EQ(buffer.At(0, x, y), slot0.At(x, y)) << x << "," << y;
        }
    }

    ASSERT_TRUE(ResizeCaptureBuffer(buffer, 5, 3));
    EXPECT_EQ(buffer.Slot(0), PixelArray(6, 4));
    EXPECT_EQ(buffer.Slot(1), PixelArray(6, 4));
}

TEST(ScreenCapture, RefusesEmptyAndOverflowingRegionsBeforeAnyPlatformCall) {
    PaintedWindow window(KnownImage(16, 16), 16, 16);
    CaptureBuffer buffer;
    ASSERT_TRUE(ResizeCaptureBuffer(buffer, 3, 3));
    EXPECT_EQ(CaptureWindowRegion(window.get(), {0, 0, 0, 2}, buffer), 0);
    EXPECT_EQ(CaptureWindowRegion(window.get(), {0, 0, 40000, 40000}, buffer), 0);
    // A side beyond 4096 pixels, however thin the region, and sizes whose products overflow.
    EXPECT_EQ(CaptureWindowRegion(window.get(), {0, 0, 4097, 1}, buffer), 0);
    EXPECT_EQ(CaptureWindowRegion(window.get(), {0, 0, 8'000'000, 1}, buffer), 0);
    EXPECT_EQ(CaptureWindowRegion(window.get(), {0, 0, 1'518'500'250, 1'518'500'250}, buffer), 0);
    EXPECT_EQ(CaptureWindowRegion(window.get(), {0, 0, 2'000'000'000, 2'000'000'000}, buffer), 0);
    EXPECT_EQ(buffer.Slot(1), PixelArray(4, 4));
}

TEST(ScreenCapture, ReleasesEveryGdiObjectAndHandle) {
    PaintedWindow window(KnownImage(32, 32), 32, 32);
    CaptureBuffer buffer;
    ASSERT_TRUE(ResizeCaptureBuffer(buffer, 20, 20));
    // Warm up once so lazily created system objects are not counted as leaks.
    CaptureWindowRegion(window.get(), {1, 1, 16, 8}, buffer);
    const ResourceMarks before = ResourceMarks::Take();

    int lines = 0;
    for (int i = 0; i < 10000; ++i) {
        lines += CaptureWindowRegion(window.get(), {1, 1, 16, 8}, buffer);
    }
    EXPECT_EQ(lines, 10000 * 8);

    const ResourceMarks after = ResourceMarks::Take();
    ExpectNoGdiOrHandleLeak(before, after);
}

TEST(ScreenCapture, RunsPerMonitorAwareAndRestoresTheThreadsAwareness) {
    const DPI_AWARENESS_CONTEXT before = GetThreadDpiAwarenessContext();
    {
        ScopedDpiAwareness aware;
        ASSERT_TRUE(aware.Active());
        // Version 2 where the system has it, version 1 otherwise: both copy physical pixels.
        EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()),
                  DPI_AWARENESS_PER_MONITOR_AWARE);
    }
    EXPECT_TRUE(AreDpiAwarenessContextsEqual(GetThreadDpiAwarenessContext(), before));

    // A capture leaves the thread as it found it, whatever that was.
    SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_UNAWARE);
    PaintedWindow window(KnownImage(16, 16), 16, 16);
    CaptureBuffer buffer;
    ASSERT_TRUE(ResizeCaptureBuffer(buffer, 3, 3));
    CaptureWindowRegion(window.get(), {0, 0, 2, 2}, buffer);
    EXPECT_TRUE(AreDpiAwarenessContextsEqual(GetThreadDpiAwarenessContext(),
                                             DPI_AWARENESS_CONTEXT_UNAWARE));
    SetThreadDpiAwarenessContext(before);
}

TEST(ScreenCapture, ReadsTheBitmapSelectedIntoASurface) {
    const auto images = LoadGlyphImageSet(GlyphFolder(QV_SOURCE_DIR), 1);
    ASSERT_TRUE(images.has_value());
    const PixelArray& seven = (*images)[7];
    UniqueBitmap bitmap = CreateBitmapFromPixels(seven);
    ASSERT_TRUE(bitmap);

    PixelArray fromBitmap;
    EXPECT_EQ(ReadBitmapPixels(bitmap.get(), fromBitmap), 9);
    EXPECT_EQ(fromBitmap, seven);

    WindowDc screen(nullptr);
    MemoryDc surface(screen.get());
    ObjectSelection selection(surface.get(), bitmap.get());
    PixelArray fromSurface;
    EXPECT_EQ(ReadSurfacePixels(surface.get(), fromSurface), 9);
    ASSERT_EQ(fromSurface.Width(), 7);
    ASSERT_EQ(fromSurface.Height(), 9);
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 7; ++x) {
            EXPECT_EQ(Colour(fromSurface.At(x, y)), seven.At(x, y)) << x << "," << y;
        }
    }
}

TEST(GlyphPictures, PictureControlsGiveTheTableItsImagesAndBorderSizes) {
    const auto images = LoadGlyphImageSet(GlyphFolder(QV_SOURCE_DIR), 1);
    ASSERT_TRUE(images.has_value());
    UniqueBitmap bitmap = CreateBitmapFromPixels((*images)[10]);
    PaintedWindow parent(PixelArray(40, 40), 40, 40);
    const HWND picture = CreateGlyphPicture(parent.get(), 1234, bitmap.get(), 8, 4);
    ASSERT_NE(picture, nullptr);
    ShowWindow(picture, SW_SHOWNOACTIVATE);
    UpdateWindow(picture);

    const auto read = ReadGlyphPicture(picture);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->outerWidth, 9);
    EXPECT_EQ(read->outerHeight, 13);
    ASSERT_EQ(read->image.Width(), 5);
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(Colour(read->image.At(x, y)), (*images)[10].At(x, y));
        }
    }
    // The picture shows the image unscaled inside its border.
    PixelArray shown;
    CaptureWindowPixels(parent.get(), {8 + 2, 4 + 2, 5, 9}, shown);
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(Colour(shown.At(x, y)), (*images)[10].At(x, y)) << x << "," << y;
        }
    }
    EXPECT_FALSE(ReadGlyphPicture(nullptr).has_value());
    DestroyWindow(picture);
}

TEST(ScreenCapture, ReadsAFigureShownAtTheDefaultRegion) {
    std::array<GlyphImageSet, 2> images;
    for (int s = 0; s < 2; ++s) {
        auto loaded = LoadGlyphImageSet(GlyphFolder(QV_SOURCE_DIR), s);
        ASSERT_TRUE(loaded.has_value());
        images[static_cast<std::size_t>(s)] = std::move(*loaded);
    }
    GlyphPatternTable table;
    ASSERT_TRUE(
        BuildGlyphPatterns({PicturesFromImages(images[0]), PicturesFromImages(images[1])}, table));
    const std::array<CaptureRegion, 2> regions{{{1, 1, 1, 1}, {463, 570, 90, 9}}};
    CaptureBuffer buffer;
    ASSERT_TRUE(UpdateCaptureBufferSize(regions, table, buffer));

    PixelArray client(600, 600);
    DrawImage(client, RenderExpStrip("1234567", images[1]), 463, 570);
    PaintedWindow game(client, 600, 600);
    ASSERT_EQ(CaptureWindowRegion(game.get(), regions[1], buffer), 9);

    CaptionKeeper host;
    ExpReading reading;
    RecognizeExpReadout(buffer, table, regions[1], false, reading, host);
    ASSERT_TRUE(reading.has_value());
    EXPECT_EQ(*reading, 1234567);
    EXPECT_EQ(host.caption, L"1234567");
}

} // namespace
} // namespace qv

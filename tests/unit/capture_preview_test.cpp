// The test capture's picture: the whole-factor scaling, the pixel squares at the edges and the
// line under the EXP region's picture.
#include "config/capture_preview.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

// The options dialog's picture box is 213 x 49 pixels inside its edge.
constexpr std::int32_t kBoxWidth = 213, kBoxHeight = 49, kBand = 17;

PixelArray Numbered(std::int32_t width, std::int32_t height) {
    PixelArray pixels(width, height);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            pixels.At(x, y) = MakePixel(x, y, 200);
        }
    }
    return pixels;
}

struct ScaleCase {
    const char* name;
    std::int32_t width, height;
    bool withText;
    std::int32_t scale, left, top;
};

TEST(CapturePreviewTest, LargestWholeFactorCentredAboveTheText) {
    const ScaleCase cases[] = {
        {"EXP figure 90x9 under a text", 90, 9, true, 2, 16, 7},
        {"EXP figure 90x9 alone", 90, 9, false, 2, 16, 15},
        {"height decides", 20, 10, true, 3, 76, 1},
        {"larger than the box is cut, not shrunk", 300, 100, false, 1, 0, 0},
        {"one pixel fills the height", 1, 1, false, 49, 82, 0},
        {"nothing captured", 0, 0, true, 0, 0, 0},
    };
    for (const ScaleCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CapturePreview p = MakeCapturePreview(Numbered(c.width, c.height), kBoxWidth,
                                                    kBoxHeight, c.withText ? L"x" : L"", kBand);
        EXPECT_EQ(p.scale, c.scale);
        EXPECT_EQ(p.left, c.left);
        EXPECT_EQ(p.top, c.top);
        EXPECT_EQ(p.picture.Width(), kBoxWidth);
        EXPECT_EQ(p.picture.Height(), kBoxHeight);
        EXPECT_EQ(p.textTop, c.withText ? kBoxHeight - kBand : kBoxHeight);
    }
}

TEST(CapturePreviewTest, EachPixelBecomesASquareOnTheDarkBackground) {
    // 3 x 2 into 10 x 5: factor 2, so the 6 x 4 picture starts at (2, 0).
    const PixelArray captured = Numbered(3, 2);
    const CapturePreview p = MakeCapturePreview(captured, 10, 5, L"", 0);
    ASSERT_EQ(p.scale, 2);
    const PixelArray& pic = p.picture;
    EXPECT_EQ(pic.At(2, 0), captured.At(0, 0));
    EXPECT_EQ(pic.At(3, 1), captured.At(0, 0));
    EXPECT_EQ(pic.At(4, 0), captured.At(1, 0));
    EXPECT_EQ(pic.At(7, 3), captured.At(2, 1));
    EXPECT_EQ(pic.At(6, 2), captured.At(2, 1));
    EXPECT_EQ(pic.At(1, 0), kPreviewBackground);
    EXPECT_EQ(pic.At(8, 3), kPreviewBackground);
    EXPECT_EQ(pic.At(7, 4), kPreviewBackground);
}

TEST(CapturePreviewTest, LargerCaptureKeepsItsTopLeftCorner) {
    const PixelArray captured = Numbered(300, 100);
    const CapturePreview p = MakeCapturePreview(captured, kBoxWidth, kBoxHeight, L"", 0);
    EXPECT_EQ(p.picture.At(0, 0), captured.At(0, 0));
    EXPECT_EQ(p.picture.At(kBoxWidth - 1, kBoxHeight - 1),
              captured.At(kBoxWidth - 1, kBoxHeight - 1));
}

TEST(CapturePreviewTest, ResultTextOfTheExpRegion) {
    EXPECT_EQ(CaptureResultText(1234567.0, L"1234567"), L"読取: 1234567");
    EXPECT_EQ(CaptureResultText(12.0, L"0012"), L"読取: 0012");
    EXPECT_EQ(CaptureResultText(1234567.0, L"1234567", 82.3), L"読取: 1234567 82.30%");
    EXPECT_EQ(CaptureResultText(0.0, L"認識NG"), L"認識NG");
    EXPECT_EQ(CaptureResultText(std::nullopt, L""), L"認識NG");
}

} // namespace
} // namespace qv

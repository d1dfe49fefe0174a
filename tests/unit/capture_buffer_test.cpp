#include "capture/bmp_file.h"
#include "capture/capture_buffer.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <vector>

namespace qv {
namespace {

PixelArray Gradient(std::int32_t width, std::int32_t height) {
    PixelArray pixels(width, height);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            pixels.At(x, y) = MakePixel(10 * x + 1, 20 * y + 2, x + y + 3);
        }
    }
    return pixels;
}

// A buffer of the inclusive extent with the captured pixels stored in one slot.
CaptureBuffer Holding(std::int32_t lastColumn, std::int32_t lastRow, int slot,
                      const PixelArray& captured) {
    CaptureBuffer buffer;
    EXPECT_TRUE(ResizeCaptureBuffer(buffer, lastColumn, lastRow));
    StoreInSlot(buffer, slot, captured);
    return buffer;
}

PixelArray Extract(const CaptureBuffer& buffer, int slot, const CaptureRegion& window) {
    PixelArray pixels;
    ExtractCaptureWindow(buffer, slot, window, pixels);
    return pixels;
}

TEST(CaptureBuffer, ResizeClearsBothSlotsAndSetsTheInclusiveExtent) {
    CaptureBuffer buffer;
    ASSERT_TRUE(ResizeCaptureBuffer(buffer, 4, 2));
    StoreInSlot(buffer, 1, Gradient(3, 2));
    StoreInSlot(buffer, 0, Gradient(5, 3));
    ASSERT_NE(buffer.At(1, 2, 1), 0u);

    ASSERT_TRUE(ResizeCaptureBuffer(buffer, 4, 2));
    EXPECT_EQ(buffer.LastColumn(), 4);
    EXPECT_EQ(buffer.LastRow(), 2);
    for (int slot = 0; slot < 2; ++slot) {
        EXPECT_EQ(buffer.Slot(slot), PixelArray(5, 3)) << "slot " << slot;
    }
}

TEST(CaptureBuffer, StoreWritesTheTopLeftOfOneSlotOnly) {
    const PixelArray captured = Gradient(3, 2);
    const CaptureBuffer buffer = Holding(5, 3, 1, captured);
    for (std::int32_t y = 0; y <= 3; ++y) {
        for (std::int32_t x = 0; x <= 5; ++x) {
            const Pixel expected = captured.Contains(x, y) ? captured.At(x, y) : 0;
            EXPECT_EQ(buffer.At(1, x, y), expected) << x << "," << y;
            EXPECT_EQ(buffer.At(0, x, y), 0u);
        }
    }
}

TEST(CaptureBuffer, ExtractionBeyondTheCaptureOrTheBufferReadsBlack) {
    const CaptureBuffer buffer = Holding(5, 3, 1, Gradient(3, 2));

    const PixelArray wide = Extract(buffer, 1, {0, 0, 6, 4});
    ASSERT_EQ(wide.Width(), 6);
    ASSERT_EQ(wide.Height(), 4);
    EXPECT_EQ(wide.At(2, 1), Gradient(3, 2).At(2, 1));
    EXPECT_EQ(wide.At(3, 0), 0u);
    EXPECT_EQ(wide.At(0, 2), 0u);

    const PixelArray shifted = Extract(buffer, 1, {1, 1, 10, 10});
    EXPECT_EQ(shifted.At(0, 0), Gradient(3, 2).At(1, 1));
    EXPECT_EQ(shifted.At(9, 9), 0u);
}

TEST(CaptureBuffer, RefusesAbsurdExtentsAndDegenerateBoundsGiveNoPixels) {
    CaptureBuffer buffer;
    ASSERT_TRUE(ResizeCaptureBuffer(buffer, 9, 9));
    EXPECT_FALSE(ResizeCaptureBuffer(buffer, 2'000'000'000, 2'000'000'000));
    EXPECT_EQ(buffer.LastColumn(), -1);
    EXPECT_EQ(buffer.At(1, 0, 0), 0u);

    EXPECT_TRUE(ResizeCaptureBuffer(buffer, -5, 3));
    EXPECT_EQ(buffer.LastColumn(), -1);
    StoreInSlot(buffer, 1, Gradient(2, 2)); // dropped, not a crash
    EXPECT_EQ(Extract(buffer, 1, {0, 0, 2, 2}), PixelArray(2, 2));
}

TEST(CaptureBuffer, TheLastColumnAndRowOfASlotAreRead) {
    EXPECT_EQ(Extract(Holding(4, 2, 0, Gradient(5, 3)), 0, {0, 0, 5, 3}), Gradient(5, 3));
}

TEST(CaptureBuffer, WindowsLeftOfAndAboveTheSlotOrInAnUnknownSlotReadBlack) {
    const CaptureBuffer buffer = Holding(2, 1, 1, Gradient(3, 2));
    const PixelArray offset = Extract(buffer, 1, {-2, -1, 4, 3});
    EXPECT_EQ(offset.At(1, 1), 0u);
    EXPECT_EQ(offset.At(2, 0), 0u);
    EXPECT_EQ(offset.At(2, 1), Gradient(3, 2).At(0, 0));
    EXPECT_EQ(offset.At(3, 2), Gradient(3, 2).At(1, 1));
    EXPECT_EQ(Extract(buffer, 2, {0, 0, 3, 2}), PixelArray(3, 2));
}

TEST(CaptureBuffer, ARowBoundOfZeroIsOneRowAndBelowZeroIsNone) {
    CaptureBuffer buffer;
    ASSERT_TRUE(ResizeCaptureBuffer(buffer, 4, 0));
    EXPECT_EQ(buffer.LastRow(), 0);
    ASSERT_TRUE(ResizeCaptureBuffer(buffer, 4, -1));
    EXPECT_EQ(buffer.LastRow(), -1);
}

TEST(BmpFile, HeaderFields) {
    const auto bytes = EncodeBmp(Gradient(3, 2), BmpDepth::Bits24); // rows of 9 bytes padded to 12
    const auto field = [&](std::size_t at, int size) {
        std::uint32_t v = 0;
        for (int i = size - 1; i >= 0; --i) {
            v = (v << 8) | bytes.at(at + static_cast<std::size_t>(i));
        }
        return v;
    };
    struct Field {
        const char* name;
        std::size_t at;
        int size;
        std::uint32_t value;
    };
    const Field fields[] = {
        {"file size", 2, 4, 54 + 24}, {"reserved", 6, 4, 0},        {"pixel offset", 10, 4, 54},
        {"info size", 14, 4, 40},     {"width", 18, 4, 3},          {"height", 22, 4, 2},
        {"planes", 26, 2, 1},         {"bit count", 28, 2, 24},     {"compression", 30, 4, 0},
        {"image size", 34, 4, 24},    {"x per metre", 38, 4, 2835}, {"y per metre", 42, 4, 2835},
        {"colours used", 46, 4, 0},   {"important", 50, 4, 0},
    };
    for (const Field& f : fields) {
        EXPECT_EQ(field(f.at, f.size), f.value) << f.name;
    }
    // Row padding, and the fourth byte of a 32-bit pixel, are zero.
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 63, bytes.begin() + 66),
              std::vector<std::uint8_t>(3, 0));
    EXPECT_EQ(EncodeBmp(Gradient(1, 1), BmpDepth::Bits32).at(57), 0);
}

TEST(BmpFile, RoundTripsBothDepthsWithRowPadding) {
    for (const BmpDepth depth : {BmpDepth::Bits24, BmpDepth::Bits32}) {
        for (const std::int32_t width : {1, 2, 3, 5, 7}) {
            const PixelArray image = Gradient(width, 3);
            const auto bytes = EncodeBmp(image, depth);
            const std::size_t stride =
                (static_cast<std::size_t>(width) * static_cast<std::size_t>(depth) + 31) / 32 * 4;
            EXPECT_EQ(bytes.size(), 54 + 3 * stride);
            const auto decoded = DecodeBmp(bytes);
            ASSERT_TRUE(decoded.has_value());
            EXPECT_EQ(*decoded, image) << "width " << width;
        }
    }
}

TEST(BmpFile, WritesBottomUpRows) {
    PixelArray image(1, 2);
    image.At(0, 0) = MakePixel(1, 2, 3); // top row
    image.At(0, 1) = MakePixel(4, 5, 6);
    const auto bytes = EncodeBmp(image, BmpDepth::Bits24);
    // The first stored row is the bottom one, as blue, green, red.
    EXPECT_EQ(bytes[54], 6);
    EXPECT_EQ(bytes[55], 5);
    EXPECT_EQ(bytes[56], 4);
    EXPECT_EQ(bytes[58], 3);
}

TEST(BmpFile, ReadsTopDownAndPackedDibs) {
    const PixelArray image = Gradient(3, 2);
    auto bytes = EncodeBmp(image, BmpDepth::Bits32);
    // Flip to top-down: negative height and the rows in reverse order.
    const std::int32_t negative = -2;
    std::memcpy(&bytes[22], &negative, 4);
    std::vector<std::uint8_t> flipped(bytes.begin(), bytes.begin() + 54);
    flipped.insert(flipped.end(), bytes.begin() + 54 + 12, bytes.end());
    flipped.insert(flipped.end(), bytes.begin() + 54, bytes.begin() + 54 + 12);
    EXPECT_EQ(DecodeBmp(flipped), image);

    const auto file = EncodeBmp(image);
    const std::vector<std::uint8_t> packed(file.begin() + 14, file.end());
    EXPECT_EQ(DecodePackedDib(packed), image);
}

// One row, 32 bits and the three colour masks after the header.
TEST(BmpFile, MasksAreReadOnlyWhenTheyMeanPlainBgrx) {
    const PixelArray image = Gradient(3, 1);
    const auto plain = EncodeBmp(image, BmpDepth::Bits32);
    const auto withMasks = [&](std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
        std::vector<std::uint8_t> b(plain.begin(), plain.begin() + 54);
        b[10] = 66; // pixels after the masks
        b[30] = 3;  // compression: bit fields
        for (const std::uint32_t mask : {red, green, blue}) {
            for (int i = 0; i < 4; ++i) {
                b.push_back(static_cast<std::uint8_t>(mask >> (8 * i)));
            }
        }
        b.insert(b.end(), plain.begin() + 54, plain.end());
        return b;
    };
    const auto bgrx = withMasks(0xFF0000, 0xFF00, 0xFF);
    EXPECT_EQ(DecodeBmp(bgrx), image);
    EXPECT_EQ(DecodePackedDib(std::vector<std::uint8_t>(bgrx.begin() + 14, bgrx.end())), image);
    EXPECT_FALSE(DecodeBmp(withMasks(0xFF000000, 0xFF00, 0xFF)));
    EXPECT_FALSE(DecodeBmp(withMasks(0xFF0000, 0xFF00, 0xFF00)));
}

TEST(BmpFile, RejectsMalformedInput) {
    const auto good = EncodeBmp(Gradient(4, 4));
    auto truncated = good;
    truncated.resize(good.size() - 1);
    EXPECT_FALSE(DecodeBmp(truncated));

    auto notBmp = good;
    notBmp[0] = 'X';
    EXPECT_FALSE(DecodeBmp(notBmp));

    auto eightBit = good;
    eightBit[28] = 8;
    EXPECT_FALSE(DecodeBmp(eightBit));

    auto coreHeader = good; // the 12-byte header of old bitmaps is not read
    coreHeader[14] = 12;
    EXPECT_FALSE(DecodeBmp(coreHeader));

    auto maskedTwentyFour = good; // masks are read only with 32 bits a pixel
    maskedTwentyFour[30] = 3;
    const std::uint32_t masks[3] = {0xFF0000, 0xFF00, 0xFF};
    std::memcpy(&maskedTwentyFour[54], masks, sizeof(masks));
    EXPECT_FALSE(DecodeBmp(maskedTwentyFour));

    auto noWidth = good;
    noWidth[18] = 0;
    EXPECT_FALSE(DecodeBmp(noWidth));

    auto huge = good;
    const std::int32_t big = 0x7FFFFFFF;
    std::memcpy(&huge[18], &big, 4);
    EXPECT_FALSE(DecodeBmp(huge));
}

} // namespace
} // namespace qv

#include "capture/bmp_file.h"

#include "base/file_replace.h"

#include <fstream>
#include <iterator>
#include <system_error>

namespace qv {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
// Refuse images no glyph, strip or screen could be: keeps a corrupt header from
// asking for gigabytes.
constexpr std::int64_t kMaxDecodedPixels = std::int64_t{1} << 26;

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
std::uint32_t Get16(std::span<const std::uint8_t> b, std::size_t at) {
    return b[at] | (static_cast<std::uint32_t>(b[at + 1]) << 8);
}
std::uint32_t Get32(std::span<const std::uint8_t> b, std::size_t at) {
    return Get16(b, at) | (Get16(b, at + 2) << 16);
}

std::size_t RowStride(std::int64_t width, int bitsPerPixel) {
    return static_cast<std::size_t>((width * bitsPerPixel + 31) / 32 * 4);
}

// Reads the rows that follow a BITMAPINFOHEADER at `info`; pixel data starts at `bits`.
std::optional<PixelArray> DecodeRows(std::span<const std::uint8_t> b, std::size_t info,
                                     std::size_t bits) {
    if (b.size() < info + kInfoHeaderSize || Get32(b, info) < kInfoHeaderSize) {
        return std::nullopt;
    }
    const auto width = static_cast<std::int32_t>(Get32(b, info + 4));
    const auto rawHeight = static_cast<std::int32_t>(Get32(b, info + 8));
    const int bitCount = static_cast<int>(Get16(b, info + 14));
    const std::uint32_t compression = Get32(b, info + 16);
    const bool topDown = rawHeight < 0;
    const std::int64_t height = topDown ? -std::int64_t{rawHeight} : rawHeight;
    if (width <= 0 || height <= 0 || std::int64_t{width} * height > kMaxDecodedPixels) {
        return std::nullopt;
    }
    if ((bitCount != 24 && bitCount != 32) ||
        !(compression == kBiRgb || (compression == kBiBitfields && bitCount == 32))) {
        return std::nullopt;
    }
    if (compression == kBiBitfields) {
        // Only the masks that mean plain BGRx; the three masks follow the 40-byte header.
        if (b.size() < info + kInfoHeaderSize + 12 || Get32(b, info + 40) != 0xFF0000 ||
            Get32(b, info + 44) != 0xFF00 || Get32(b, info + 48) != 0xFF) {
            return std::nullopt;
        }
    }
    const std::size_t stride = RowStride(width, bitCount);
    if (bits > b.size() || (b.size() - bits) / stride < static_cast<std::size_t>(height)) {
        return std::nullopt;
    }
    PixelArray pixels(width, static_cast<std::int32_t>(height));
    const int bytesPerPixel = bitCount / 8;
    for (std::int32_t y = 0; y < pixels.Height(); ++y) {
        const std::int64_t fileRow = topDown ? y : height - 1 - y;
        const std::size_t row = bits + static_cast<std::size_t>(fileRow) * stride;
        for (std::int32_t x = 0; x < width; ++x) {
            const std::size_t at = row + static_cast<std::size_t>(x) * bytesPerPixel;
            pixels.At(x, y) = MakePixel(b[at + 2], b[at + 1], b[at]);
        }
    }
    return pixels;
}

} // namespace

std::vector<std::uint8_t> EncodeBmp(const PixelArray& pixels, BmpDepth depth) {
    const int bitCount = static_cast<int>(depth);
    const std::size_t stride = RowStride(pixels.Width(), bitCount);
    const std::size_t imageSize = stride * static_cast<std::size_t>(pixels.Height());
    const std::size_t offset = kFileHeaderSize + kInfoHeaderSize;
    std::vector<std::uint8_t> out;
    out.reserve(offset + imageSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, static_cast<std::uint32_t>(offset + imageSize));
    Put32(out, 0);
    Put32(out, static_cast<std::uint32_t>(offset));
    Put32(out, kInfoHeaderSize);
    Put32(out, static_cast<std::uint32_t>(pixels.Width()));
    Put32(out, static_cast<std::uint32_t>(pixels.Height())); // positive: bottom-up
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(bitCount));
    Put32(out, kBiRgb);
    Put32(out, static_cast<std::uint32_t>(imageSize));
    Put32(out, 2835); // 72 dpi
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (std::int32_t y = pixels.Height() - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        for (std::int32_t x = 0; x < pixels.Width(); ++x) {
            const Pixel p = pixels.At(x, y);
            out.push_back(static_cast<std::uint8_t>(BlueOf(p)));
            out.push_back(static_cast<std::uint8_t>(GreenOf(p)));
            out.push_back(static_cast<std::uint8_t>(RedOf(p)));
            if (depth == BmpDepth::Bits32) {
                out.push_back(0);
            }
        }
        out.resize(rowStart + stride, 0);
    }
    return out;
}

std::optional<PixelArray> DecodeBmp(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kFileHeaderSize + kInfoHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') {
        return std::nullopt;
    }
    return DecodeRows(bytes, kFileHeaderSize, Get32(bytes, 10));
}

std::optional<PixelArray> DecodePackedDib(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kInfoHeaderSize) {
        return std::nullopt;
    }
    const std::uint32_t headerSize = Get32(bytes, 0);
    const bool masks = Get32(bytes, 16) == kBiBitfields && headerSize == kInfoHeaderSize;
    return DecodeRows(bytes, 0, headerSize + (masks ? 12 : 0));
}

std::optional<PixelArray> ReadBmpFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    return DecodeBmp(bytes);
}

bool WriteBmpFile(const std::filesystem::path& path, const PixelArray& pixels, BmpDepth depth) {
    const std::vector<std::uint8_t> bytes = EncodeBmp(pixels, depth);
    // Replaced whole, so a full disk or a failing write never leaves a truncated picture under
    // the real name.
    return ReplaceFile(
        path, std::span<const char>(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

} // namespace qv

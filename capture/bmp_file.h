// Windows bitmap files (BMP) without any platform call: 24- and 32-bit uncompressed images,
// bottom-up or top-down on reading, bottom-up on writing.
#pragma once

#include "capture/pixel_array.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace qv {

enum class BmpDepth { Bits24 = 24, Bits32 = 32 };

// The bytes of a BMP file (file header, 40-byte info header, bottom-up rows).
std::vector<std::uint8_t> EncodeBmp(const PixelArray& pixels, BmpDepth depth = BmpDepth::Bits24);

// Decodes a BMP file image, or nothing when it is not an uncompressed 24/32-bit BMP
// (BI_RGB, or BI_BITFIELDS with the standard masks) or is truncated.
std::optional<PixelArray> DecodeBmp(std::span<const std::uint8_t> bytes);

// The same without the 14-byte file header, as bitmap resources store it (info header,
// then the rows).
std::optional<PixelArray> DecodePackedDib(std::span<const std::uint8_t> bytes);

std::optional<PixelArray> ReadBmpFile(const std::filesystem::path& path);
// Replaces a file of that name. False when the file cannot be written completely.
bool WriteBmpFile(const std::filesystem::path& path, const PixelArray& pixels,
                  BmpDepth depth = BmpDepth::Bits24);

} // namespace qv

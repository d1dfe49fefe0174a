// A two-dimensional array of 32-bit pixels as a top-down 32-bit DIB stores them:
// byte 0 blue, byte 1 green, byte 2 red, byte 3 unused; row after row from the top.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv {

using Pixel = std::uint32_t;

constexpr Pixel MakePixel(int red, int green, int blue) {
    return static_cast<Pixel>(blue & 0xFF) | (static_cast<Pixel>(green & 0xFF) << 8) |
           (static_cast<Pixel>(red & 0xFF) << 16);
}
constexpr int RedOf(Pixel p) {
    return static_cast<int>((p >> 16) & 0xFF);
}
constexpr int GreenOf(Pixel p) {
    return static_cast<int>((p >> 8) & 0xFF);
}
constexpr int BlueOf(Pixel p) {
    return static_cast<int>(p & 0xFF);
}
// red + green + blue, 0 to 765.
constexpr int BrightnessOf(Pixel p) {
    return RedOf(p) + GreenOf(p) + BlueOf(p);
}

class PixelArray {
  public:
    PixelArray() = default;
    // All black. A negative extent counts as 0.
    PixelArray(std::int32_t width, std::int32_t height)
        : width_(width > 0 && height > 0 ? width : 0),
          height_(width > 0 && height > 0 ? height : 0),
          pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0) {}

    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    bool Empty() const { return pixels_.empty(); }
    bool Contains(std::int32_t x, std::int32_t y) const {
        return x >= 0 && y >= 0 && x < width_ && y < height_;
    }

    // Unchecked: (x, y) must lie inside the array.
    Pixel At(std::int32_t x, std::int32_t y) const { return pixels_[Index(x, y)]; }
    Pixel& At(std::int32_t x, std::int32_t y) { return pixels_[Index(x, y)]; }
    int Brightness(std::int32_t x, std::int32_t y) const { return BrightnessOf(At(x, y)); }

    // Storage in DIB order (width * height pixels), for GetDIBits and friends.
    Pixel* Data() { return pixels_.data(); }
    const Pixel* Data() const { return pixels_.data(); }

    friend bool operator==(const PixelArray&, const PixelArray&) = default;

  private:
    std::size_t Index(std::int32_t x, std::int32_t y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }

    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::vector<Pixel> pixels_;
};

} // namespace qv

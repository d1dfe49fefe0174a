// Images with a distinct, predictable colour at every pixel, for checking that a copy landed
// where it should.
#pragma once

#include "capture/pixel_array.h"

namespace qv {

inline Pixel KnownPixel(int x, int y) {
    return MakePixel(x & 0xFF, y & 0xFF, (x * 7 + y * 3) & 0xFF);
}

inline PixelArray KnownImage(int width, int height) {
    PixelArray image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.At(x, y) = KnownPixel(x, y);
        }
    }
    return image;
}

// A pixel's colour without the unused fourth byte.
inline Pixel Colour(Pixel p) {
    return p & 0xFFFFFF;
}

} // namespace qv

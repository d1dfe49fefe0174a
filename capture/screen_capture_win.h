// GDI capture: copies window pixels and bitmap images into pixel arrays and the capture
// buffer. Every DC and bitmap made here is released before the call returns.
#pragma once

#include "capture/capture_buffer.h"
#include "capture/capture_region.h"
#include "capture/pixel_array.h"
#include "win/handles_win.h"

#include <windows.h>

#include <cstdint>

namespace qv {

// Copies `region` (client-area coordinates of `window`, in the window's physical pixels)
// into the top-left corner of a capture-buffer slot. Returns the number of scan lines
// copied, 0 when nothing was (an empty region, or one with a side beyond kMaxRegionSide,
// is refused before any platform call). Pixels the platform cannot supply (covered or
// outside the client area) are whatever it leaves in a fresh bitmap.
std::int32_t CaptureWindowRegion(HWND window, const CaptureRegion& region, CaptureBuffer& buffer,
                                 int slot = 1);

// The same rectangle into a fresh pixel array instead of the buffer.
std::int32_t CaptureWindowPixels(HWND window, const CaptureRegion& region, PixelArray& pixels);

// Reads the whole bitmap currently selected into `surface` (the persistent image of a
// picture) into `pixels`. Returns the number of scan lines copied. The surface is left as
// it was.
std::int32_t ReadSurfacePixels(HDC surface, PixelArray& pixels);

// Reads a bitmap that is not selected into any DC. Returns the scan lines copied.
std::int32_t ReadBitmapPixels(HBITMAP bitmap, PixelArray& pixels);

// A 32-bit top-down DIB section holding the pixels (for pictures and test windows).
UniqueBitmap CreateBitmapFromPixels(const PixelArray& pixels);

// Draws the pixels unscaled with their top-left corner at (x, y) of `dc`.
bool PaintPixels(HDC dc, int x, int y, const PixelArray& pixels);

} // namespace qv

#include "capture/screen_capture_win.h"

#include <cstring>
#include <limits>

namespace qv {

namespace {

// The 32-bit top-down header whose rows are exactly a PixelArray's storage.
BITMAPINFO TopDownHeader(std::int32_t width, std::int32_t height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(width) * static_cast<DWORD>(height) * 4;
    return info;
}

// width x height x 4 must be a positive 32-bit byte count (checked by division, so that no
// product can overflow).
bool UsableExtent(std::int32_t width, std::int32_t height) {
    return width > 0 && height > 0 &&
           width <= std::numeric_limits<std::int32_t>::max() / 4 / height;
}

// GetDIBits of a bitmap that is selected nowhere.
std::int32_t ReadUnselectedBitmap(HDC dc, HBITMAP bitmap, std::int32_t width, std::int32_t height,
                                  PixelArray& pixels) {
    BITMAPINFO info = TopDownHeader(width, height);
    pixels = PixelArray(width, height);
    const int lines =
        GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), pixels.Data(), &info, DIB_RGB_COLORS);
    return lines > 0 ? lines : 0;
}

// Copies a rectangle of `source` into a fresh compatible bitmap and reads it out.
std::int32_t CopyRectangle(HDC source, int x, int y, std::int32_t width, std::int32_t height,
                           PixelArray& pixels) {
    MemoryDc memory(source);
    UniqueBitmap copy(CreateCompatibleBitmap(source, width, height));
    if (!memory || !copy) {
        pixels = PixelArray(width, height);
        return 0;
    }
    {
        ObjectSelection selection(memory.get(), copy.get());
        BitBlt(memory.get(), 0, 0, width, height, source, x, y, SRCCOPY);
    } // the copy is selected nowhere again before it is read
    return ReadUnselectedBitmap(memory.get(), copy.get(), width, height, pixels);
}

} // namespace

std::int32_t CaptureWindowPixels(HWND window, const CaptureRegion& region, PixelArray& pixels) {
    if (!IsCapturableSize(region.width, region.height)) {
        pixels = PixelArray();
        return 0;
    }
    // First, so it is restored last: the DC is taken and released in the same awareness.
    ScopedDpiAwareness physicalPixels;
    WindowDc client(window);
    if (!client) {
        pixels = PixelArray(region.width, region.height);
        return 0;
    }
    return CopyRectangle(client.get(), region.x, region.y, region.width, region.height, pixels);
}

std::int32_t CaptureWindowRegion(HWND window, const CaptureRegion& region, CaptureBuffer& buffer,
                                 int slot) {
    PixelArray pixels;
    const std::int32_t lines = CaptureWindowPixels(window, region, pixels);
    StoreInSlot(buffer, slot, pixels);
    return lines;
}

std::int32_t ReadSurfacePixels(HDC surface, PixelArray& pixels) {
    pixels = PixelArray();
    const HGDIOBJ bitmap = GetCurrentObject(surface, OBJ_BITMAP);
    BITMAP header{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof header, &header) == 0 ||
        !UsableExtent(header.bmWidth, header.bmHeight)) {
        return 0;
    }
    return CopyRectangle(surface, 0, 0, header.bmWidth, header.bmHeight, pixels);
}

std::int32_t ReadBitmapPixels(HBITMAP bitmap, PixelArray& pixels) {
    pixels = PixelArray();
    BITMAP header{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof header, &header) == 0 ||
        !UsableExtent(header.bmWidth, header.bmHeight)) {
        return 0;
    }
    WindowDc screen(nullptr);
    return ReadUnselectedBitmap(screen.get(), bitmap, header.bmWidth, header.bmHeight, pixels);
}

UniqueBitmap CreateBitmapFromPixels(const PixelArray& pixels) {
    if (!UsableExtent(pixels.Width(), pixels.Height())) {
        return UniqueBitmap();
    }
    BITMAPINFO info = TopDownHeader(pixels.Width(), pixels.Height());
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap && bits != nullptr) {
        GdiFlush();
        std::memcpy(bits, pixels.Data(), static_cast<std::size_t>(info.bmiHeader.biSizeImage));
    }
    return bitmap;
}

bool PaintPixels(HDC dc, int x, int y, const PixelArray& pixels) {
    if (!UsableExtent(pixels.Width(), pixels.Height())) {
        return false;
    }
    BITMAPINFO info = TopDownHeader(pixels.Width(), pixels.Height());
    return SetDIBitsToDevice(
               dc, x, y, static_cast<DWORD>(pixels.Width()), static_cast<DWORD>(pixels.Height()), 0,
               0, 0, static_cast<UINT>(pixels.Height()), pixels.Data(), &info, DIB_RGB_COLORS) != 0;
}

} // namespace qv

#include "capture/window_picture_win.h"

#include "capture/bmp_file.h"
#include "capture/screen_capture_win.h"
#include "win/handles_win.h"

#include <cstdint>
#include <vector>

namespace qv {

namespace {

// On a palette display the copy is made through the system palette so colours survive.
UniquePalette SystemPaletteFor(HDC windowDc) {
    if ((GetDeviceCaps(windowDc, RASTERCAPS) & RC_PALETTE) == 0 ||
        GetDeviceCaps(windowDc, SIZEPALETTE) != 256) {
        return {};
    }
    std::vector<std::uint8_t> storage(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY));
    auto* palette = reinterpret_cast<LOGPALETTE*>(storage.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = 256;
    GetSystemPaletteEntries(windowDc, 0, 256, palette->palPalEntry);
    return UniquePalette(CreatePalette(palette));
}

} // namespace

PixelArray CreateWindowPicture(HWND window, int x, int y, int width, int height) {
    if (width <= 0 || height <= 0) {
        return {};
    }
    ScopedDpiAwareness physicalPixels;
    WindowDc windowDc(window, WindowDc::Area::WholeWindow);
    if (!windowDc) {
        return {};
    }
    MemoryDc memory(windowDc.get());
    UniqueBitmap bitmap(CreateCompatibleBitmap(windowDc.get(), width, height));
    if (!memory || !bitmap) {
        return {};
    }
    UniquePalette palette = SystemPaletteFor(windowDc.get());
    {
        ObjectSelection selected(memory.get(), bitmap.get());
        std::optional<PaletteSelection> paletteSelected;
        if (palette) {
            paletteSelected.emplace(memory.get(), palette.get());
            RealizePalette(memory.get());
        }
        BitBlt(memory.get(), 0, 0, width, height, windowDc.get(), x, y, SRCCOPY);
    }
    PixelArray pixels;
    ReadBitmapPixels(bitmap.get(), pixels);
    return pixels;
}

bool SaveForegroundWindowBitmap(const std::filesystem::path& path) {
    RECT rect{};
    {
        ScopedDpiAwareness physicalPixels; // only for the lookup: our windows run unaware
        GetWindowRect(GetForegroundWindow(), &rect);
    }
    const std::int64_t width = std::int64_t{rect.right} - rect.left;
    const std::int64_t height = std::int64_t{rect.bottom} - rect.top;
    if (width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX) {
        return false;
    }
    const PixelArray picture = CreateWindowPicture(
        GetForegroundWindow(), 0, 0, static_cast<int>(width), static_cast<int>(height));
    return !picture.Empty() && WriteBmpFile(path, picture);
}

} // namespace qv

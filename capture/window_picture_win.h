// Pictures of whole windows (frame and title bar included), saved as BMP files.
#pragma once

#include "capture/pixel_array.h"

#include <windows.h>

#include <filesystem>

namespace qv {

// Copies width x height pixels of the window's whole-window surface at (x, y). Empty when
// the size is not positive or the copy fails.
PixelArray CreateWindowPicture(HWND window, int x, int y, int width, int height);

// Saves the window that is in front as a BMP file at `path`, replacing a file of that name.
// False when no complete file could be written. No messages are processed meanwhile.
[[nodiscard]] bool SaveForegroundWindowBitmap(const std::filesystem::path& path);

} // namespace qv

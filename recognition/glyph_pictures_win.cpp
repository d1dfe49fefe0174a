#include "recognition/glyph_pictures_win.h"

#include "capture/screen_capture_win.h"
#include "resources/resource_ids.h"

namespace qv {

int GlyphResourceId(int set, int glyph) {
    return (set == 0 ? IDB_GLYPH_SET0_BASE : IDB_GLYPH_SET1_BASE) + glyph;
}

UniqueBitmap LoadGlyphBitmap(HINSTANCE instance, int set, int glyph) {
    return UniqueBitmap(
        static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(GlyphResourceId(set, glyph)),
                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

HWND CreateGlyphPicture(HWND parent, int controlId, HBITMAP image, int left, int top) {
    BITMAP header{};
    if (image == nullptr || GetObjectW(image, sizeof header, &header) == 0) {
        return nullptr;
    }
    // SS_CENTERIMAGE keeps the control from resizing itself to the bare image; with the
    // client area exactly the image's size the image is drawn at (0, 0).
    const HWND picture = CreateWindowExW(
        WS_EX_CLIENTEDGE, L"STATIC", L"", WS_CHILD | SS_BITMAP | SS_CENTERIMAGE, left, top,
        header.bmWidth + 2 * kPictureBorder, header.bmHeight + 2 * kPictureBorder, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), GetModuleHandleW(nullptr),
        nullptr);
    if (picture != nullptr) {
        SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(image));
        SetWindowPos(picture, nullptr, 0, 0, header.bmWidth + 2 * kPictureBorder,
                     header.bmHeight + 2 * kPictureBorder,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return picture;
}

void SetGlyphPictureImage(HWND picture, HBITMAP image) {
    RECT outer{};
    GetWindowRect(picture, &outer);
    SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(image));
    SetWindowPos(picture, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(picture, nullptr, TRUE);
}

std::optional<GlyphPicture> ReadGlyphPicture(HWND picture) {
    if (picture == nullptr || !IsWindow(picture)) {
        return std::nullopt;
    }
    const auto bitmap =
        reinterpret_cast<HBITMAP>(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
    if (bitmap == nullptr) {
        return std::nullopt;
    }
    GlyphPicture result;
    {
        WindowDc screen(nullptr);
        MemoryDc surface(screen.get());
        ObjectSelection selection(surface.get(), bitmap);
        if (!selection || ReadSurfacePixels(surface.get(), result.image) == 0) {
            return std::nullopt;
        }
    }
    RECT outer{};
    if (!GetWindowRect(picture, &outer)) {
        return std::nullopt;
    }
    result.outerWidth = outer.right - outer.left;
    result.outerHeight = outer.bottom - outer.top;
    return result;
}

std::array<GlyphPictureSet, kGlyphSetCount>
ReadGlyphPictures(const GlyphPictureControls& controls) {
    std::array<GlyphPictureSet, kGlyphSetCount> pictures;
    for (std::size_t s = 0; s < controls.size(); ++s) {
        for (std::size_t g = 0; g < controls[s].size(); ++g) {
            pictures[s][g] = ReadGlyphPicture(controls[s][g]);
        }
    }
    return pictures;
}

} // namespace qv

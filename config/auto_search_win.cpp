#include "config/auto_search_win.h"

#include "capture/screen_capture_win.h"
#include "recognition/glyph_pictures_win.h"
#include "win/ui_win.h"

namespace qv {

namespace {

PixelArray Crop(const PixelArray& picture, const CaptureRegion& region) {
    PixelArray part(region.width, region.height);
    for (std::int32_t y = 0; y < region.height; ++y) {
        for (std::int32_t x = 0; x < region.width; ++x) {
            if (picture.Contains(region.x + x, region.y + y)) {
                part.At(x, y) = picture.At(region.x + x, region.y + y);
            }
        }
    }
    return part;
}

} // namespace

std::wstring FoundLargerNote(std::int32_t scale) {
    return L"（" + std::to_wstring(scale) + L"倍の大きさ）";
}

AutoSearch::AutoSearch(CaptureTestServices services) : svc_(std::move(services)) {}

void AutoSearch::Attach(HWND dialog, HWND button) {
    countdown_.Attach(dialog, button);
}

GlyphImageSet AutoSearch::BuiltInGlyphs() {
    GlyphImageSet images;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    for (int g = 0; g < kGlyphsPerSet; ++g) {
        const UniqueBitmap bitmap = LoadGlyphBitmap(instance, kExpCaptureIndex, g);
        if (bitmap) {
            ReadBitmapPixels(bitmap.get(), images[static_cast<std::size_t>(g)]);
        }
    }
    return images;
}

AutoSearchResult AutoSearch::SearchGame() const {
    AutoSearchResult result;
    const HWND game = svc_.findGame ? svc_.findGame() : nullptr;
    if (game == nullptr) {
        result.outcome = AutoSearchResult::Outcome::GameMissing;
        return result;
    }
    RECT client{};
    GetClientRect(game, &client);
    PixelArray picture;
    if (CaptureWindowPixels(game, {0, 0, client.right, client.bottom}, picture) == 0) {
        return result;
    }
    const GlyphImageSet builtIn = BuiltInGlyphs();
    const auto found = SearchExpFigure(picture, svc_.glyphs, builtIn);
    if (!found) {
        return result;
    }
    result.outcome = AutoSearchResult::Outcome::Found;
    result.found = *found;
    result.picture = Crop(picture, found->region);
    if (found->enlarged) { // at scale 1: back to the built-in glyphs, nothing learned
        result.glyphs = found->scale > 1 ? EnlargedGlyphs(builtIn, found->scale) : LearnedGlyphs{};
    }
    return result;
}

} // namespace qv

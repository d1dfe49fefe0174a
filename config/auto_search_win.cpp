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
    dialog_ = dialog;
    button_ = button;
    secondsLeft_ = 0;
}

void AutoSearch::Start() {
    if (secondsLeft_ > 0 || button_ == nullptr) {
        return;
    }
    buttonCaption_ = WindowText(button_);
    if (GetFocus() == button_) {
        SendMessageW(dialog_, WM_NEXTDLGCTL, 0, FALSE); // a disabled button cannot keep it
    }
    secondsLeft_ = kCountSeconds;
    SetText(button_, std::to_wstring(secondsLeft_));
    EnableWindow(button_, FALSE);
    if (SetTimer(dialog_, kTimerId, 1000, nullptr) == 0) {
        Cancel();
    }
}

bool AutoSearch::Tick() {
    if (secondsLeft_ <= 0) {
        KillTimer(dialog_, kTimerId); // a tick already queued when the count ended
        return false;
    }
    if (--secondsLeft_ > 0) {
        SetText(button_, std::to_wstring(secondsLeft_));
        return false;
    }
    KillTimer(dialog_, kTimerId);
    RestoreButton();
    return true;
}

void AutoSearch::Cancel() {
    if (secondsLeft_ <= 0) {
        return;
    }
    KillTimer(dialog_, kTimerId);
    secondsLeft_ = 0;
    RestoreButton();
}

void AutoSearch::RestoreButton() {
    if (IsWindow(button_)) {
        SetText(button_, buttonCaption_);
        EnableWindow(button_, TRUE);
    }
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

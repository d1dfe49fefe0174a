#include "config/capture_test_win.h"

#include "capture/screen_capture_win.h"
#include "recognition/exp_recognizer.h"
#include "win/handles_win.h"
#include "win/ui_win.h"

namespace qv {

namespace {

constexpr wchar_t kRecordPrefix[] = L"Capture Test･･･ ";
constexpr int kTextPadding = 2;

COLORREF ColourOf(Pixel p) {
    return RGB(RedOf(p), GreenOf(p), BlueOf(p));
}

SIZE ClientSize(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return {r.right - r.left, r.bottom - r.top};
}

} // namespace

CaptureTest::CaptureTest(const Settings& settings, DebugLog& debugLog, CaptureTestServices services)
    : settings_(settings), debugLog_(debugLog), svc_(std::move(services)) {}

void CaptureTest::Attach(HWND dialog, HWND button, std::array<HWND, 2> pictures, HFONT font) {
    dialog_ = dialog;
    countdown_.Attach(dialog, button);
    pictures_ = pictures;
    font_ = font;
    previews_ = {};
    expPicture_.reset();
}

void CaptureTest::Tick() {
    if (countdown_.Tick()) {
        Finish();
    }
}

void CaptureTest::Finish() {
    const HWND game = svc_.findGame ? svc_.findGame() : nullptr;
    if (game == nullptr) {
        expPicture_.reset();
        for (int box = 0; box < 2; ++box) {
            ShowPreview(box, PixelArray(), svc_.gameMissingText, true);
        }
        debugLog_.Write(kRecordPrefix + svc_.gameMissingText);
        return;
    }
    CaptureGame(game);
}

void CaptureTest::CaptureGame(HWND game) {
    std::array<PixelArray, 2> captured;
    for (int i = 0; i < 2; ++i) {
        CaptureWindowPixels(game, settings_.captureRegions[static_cast<std::size_t>(i)],
                            captured[static_cast<std::size_t>(i)]);
    }
    const std::wstring result = ReadExpRegion(captured[1]);
    ShowPreview(0, captured[0], L"", false);
    ShowPreview(1, captured[1], result, false);
    debugLog_.Write(kRecordPrefix + result);
    expPicture_ = std::move(captured[1]);
}

void CaptureTest::ReadExpPictureAgain() {
    if (expPicture_) {
        ShowExpNote(ReadExpRegion(*expPicture_));
    }
}

void CaptureTest::ShowExpNote(std::wstring text) {
    if (expPicture_) {
        ShowPreview(1, *expPicture_, std::move(text), false);
    }
}

void CaptureTest::ShowExpPicture(PixelArray picture, std::wstring_view note) {
    expPicture_ = std::move(picture);
    ShowExpNote(ReadExpRegion(*expPicture_) + std::wstring(note));
}

void CaptureTest::ShowExpText(std::wstring text) {
    ShowPreview(1, PixelArray(), std::move(text), true);
}

// The measurement's path from here on: the pixels go into slot 1 of a capture buffer sized
// from the regions, and the recognizer scans that slot.
std::wstring CaptureTest::ReadExpRegion(const PixelArray& captured) const {
    CaptureBuffer buffer;
    // An extent no buffer can hold leaves the buffer empty, and the scan then reads nothing.
    static_cast<void>(UpdateCaptureBufferSize(settings_.captureRegions, svc_.glyphs, buffer));
    StoreInSlot(buffer, kExpCaptureIndex, captured);
    ExpReading reading;
    ExpPercent percent;
    CaptionKeeper keeper;
    RecognizeExpReadout(buffer, svc_.glyphs, settings_.captureRegions[kExpCaptureIndex], false,
                        reading, keeper, &percent);
    return CaptureResultText(reading, keeper.caption, percent);
}

void CaptureTest::ShowPreview(int box, const PixelArray& captured, std::wstring text,
                              bool textOnly) {
    const HWND picture = pictures_[static_cast<std::size_t>(box)];
    if (!IsWindow(picture)) {
        return;
    }
    const SIZE size = ClientSize(picture);
    const int band = textOnly ? size.cy : TextHeight();
    previews_[static_cast<std::size_t>(box)] =
        MakeCapturePreview(captured, size.cx, size.cy, text, band);
    SetText(picture, text);
    InvalidateRect(picture, nullptr, FALSE);
}

int CaptureTest::TextHeight() const {
    WindowDc dc(dialog_);
    if (!dc) {
        return 0;
    }
    ObjectSelection font(dc.get(), font_);
    TEXTMETRICW metrics{};
    return GetTextMetricsW(dc.get(), &metrics) ? metrics.tmHeight + 2 * kTextPadding : 0;
}

bool CaptureTest::DrawPicture(const DRAWITEMSTRUCT& item) const {
    int box = 0;
    while (box < 2 && pictures_[static_cast<std::size_t>(box)] != item.hwndItem) {
        ++box;
    }
    if (box == 2) {
        return false;
    }
    const std::optional<CapturePreview>& preview = previews_[static_cast<std::size_t>(box)];
    if (!preview) {
        FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
        return true;
    }
    PaintPixels(item.hDC, 0, 0, preview->picture);
    if (!preview->text.empty()) {
        SavedDcState keep(item.hDC);
        ObjectSelection font(item.hDC, font_);
        SetBkMode(item.hDC, TRANSPARENT);
        SetTextColor(item.hDC, ColourOf(kPreviewTextColour));
        RECT band{0, preview->textTop, preview->picture.Width(), preview->picture.Height()};
        DrawTextW(item.hDC, preview->text.c_str(), static_cast<int>(preview->text.size()), &band,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    return true;
}

} // namespace qv

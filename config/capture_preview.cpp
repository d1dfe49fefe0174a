#include "config/capture_preview.h"

#include "base/number_text.h"

#include <algorithm>

namespace qv {

std::int32_t PreviewScale(std::int32_t width, std::int32_t height, std::int32_t boxWidth,
                          std::int32_t boxHeight) {
    if (width <= 0 || height <= 0 || boxWidth <= 0 || boxHeight <= 0) {
        return 0;
    }
    return std::max(1, std::min(boxWidth / width, boxHeight / height));
}

CapturePreview MakeCapturePreview(const PixelArray& captured, std::int32_t boxWidth,
                                  std::int32_t boxHeight, std::wstring text,
                                  std::int32_t textHeight) {
    CapturePreview preview;
    preview.picture = PixelArray(boxWidth, boxHeight);
    PixelArray& picture = preview.picture;
    std::fill_n(picture.Data(),
                static_cast<std::size_t>(picture.Width()) *
                    static_cast<std::size_t>(picture.Height()),
                kPreviewBackground);
    const std::int32_t band = text.empty() ? 0 : std::clamp(textHeight, 0, picture.Height());
    const std::int32_t areaHeight = picture.Height() - band;
    preview.text = std::move(text);
    preview.textTop = areaHeight;

    const std::int32_t w = captured.Width(), h = captured.Height();
    const std::int32_t scale = PreviewScale(w, h, picture.Width(), areaHeight);
    if (scale == 0) {
        return preview;
    }
    preview.scale = scale;
    // 64-bit: a capture far larger than the box must not overflow before it is cut.
    const std::int64_t scaledWidth = std::int64_t{w} * scale,
                       scaledHeight = std::int64_t{h} * scale;
    preview.left =
        static_cast<std::int32_t>(std::max<std::int64_t>(0, (picture.Width() - scaledWidth) / 2));
    preview.top =
        static_cast<std::int32_t>(std::max<std::int64_t>(0, (areaHeight - scaledHeight) / 2));
    const auto right = static_cast<std::int32_t>(
        std::min<std::int64_t>(picture.Width(), preview.left + scaledWidth));
    const auto bottom =
        static_cast<std::int32_t>(std::min<std::int64_t>(areaHeight, preview.top + scaledHeight));
    for (std::int32_t y = preview.top; y < bottom; ++y) {
        for (std::int32_t x = preview.left; x < right; ++x) {
            picture.At(x, y) = captured.At((x - preview.left) / scale, (y - preview.top) / scale);
        }
    }
    return preview;
}

std::wstring CaptureResultText(const ExpReading& reading, std::wstring_view digits,
                               const ExpPercent& percent) {
    if (reading.has_value() && *reading != 0.0) {
        const std::wstring read = kPreviewReadPrefix + std::wstring(digits);
        return percent ? read + L" " + PercentText(percent) + L"%" : read;
    }
    return std::wstring(kNotRecognized);
}

} // namespace qv

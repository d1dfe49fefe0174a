// What the options dialog's test capture shows in a picture box: the captured pixels blown up
// by a whole factor (each pixel a crisp square) on a dark background, with an optional line of
// text along the bottom. Pure data, so the Win32 side only has to blit the result.
#pragma once

#include "capture/pixel_array.h"
#include "recognition/exp_recognizer.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

inline constexpr Pixel kPreviewBackground = MakePixel(48, 48, 48);
inline constexpr Pixel kPreviewTextColour = MakePixel(240, 240, 240);
inline constexpr wchar_t kPreviewReadPrefix[] = L"読取: ";

struct CapturePreview {
    PixelArray picture;             // the whole box
    std::int32_t scale = 0;         // 0 when nothing was captured
    std::int32_t left = 0, top = 0; // where the scaled capture begins in the picture
    std::wstring text;              // also the box's window text
    std::int32_t textTop = 0;       // the text's band runs from here to the bottom
};

// The largest whole factor at which a width x height capture fits into the box; 1 when even
// the unscaled capture is larger (it is then cut at the right and the bottom); 0 when the
// capture or the box is empty.
std::int32_t PreviewScale(std::int32_t width, std::int32_t height, std::int32_t boxWidth,
                          std::int32_t boxHeight);

// The box's picture: `captured` scaled up and centred in the box above a band of
// `textHeight` pixels that carries `text` (no band without text).
CapturePreview MakeCapturePreview(const PixelArray& captured, std::int32_t boxWidth,
                                  std::int32_t boxHeight, std::wstring text,
                                  std::int32_t textHeight);

// The line under the EXP region's picture: "読取: " and the digits the recognizer read, with the
// percent beside them when it was read ("読取: 1234567 82.30%"), or the recognizer's "認識NG"
// when it read nothing usable (no reading, or 0).
std::wstring CaptureResultText(const ExpReading& reading, std::wstring_view digits,
                               const ExpPercent& percent = std::nullopt);

} // namespace qv

#include "capture/capture_buffer.h"

#include <algorithm>

namespace qv {

namespace {

bool ValidSlot(int slot) {
    return slot >= 0 && slot < CaptureBuffer::kSlotCount;
}

} // namespace

Pixel CaptureBuffer::At(int slot, std::int32_t x, std::int32_t y) const {
    if (!ValidSlot(slot) || !slots_[slot].Contains(x, y)) {
        return 0;
    }
    return slots_[slot].At(x, y);
}

void CaptureBuffer::Set(int slot, std::int32_t x, std::int32_t y, Pixel pixel) {
    if (ValidSlot(slot) && slots_[slot].Contains(x, y)) {
        slots_[slot].At(x, y) = pixel;
    }
}

bool ResizeCaptureBuffer(CaptureBuffer& buffer, std::int32_t lastColumn, std::int32_t lastRow) {
    const std::int64_t columns = lastColumn < 0 ? 0 : std::int64_t{lastColumn} + 1;
    const std::int64_t rows = lastRow < 0 ? 0 : std::int64_t{lastRow} + 1;
    const bool fits = columns <= CaptureBuffer::kMaxSlotSide && rows <= CaptureBuffer::kMaxSlotSide;
    for (auto& slot : buffer.slots_) {
        slot = fits
                   ? PixelArray(static_cast<std::int32_t>(columns), static_cast<std::int32_t>(rows))
                   : PixelArray();
    }
    return fits;
}

void StoreInSlot(CaptureBuffer& buffer, int slot, const PixelArray& pixels) {
    for (std::int32_t x = 0; x < pixels.Width(); ++x) {
        for (std::int32_t y = 0; y < pixels.Height(); ++y) {
            buffer.Set(slot, x, y, pixels.At(x, y));
        }
    }
}

void ExtractCaptureWindow(const CaptureBuffer& buffer, int slot, const CaptureRegion& rect,
                          PixelArray& pixels) {
    // An extent no capture buffer could hold gives an empty array rather than a huge one.
    const bool sane =
        rect.width <= CaptureBuffer::kMaxSlotSide && rect.height <= CaptureBuffer::kMaxSlotSide;
    pixels = sane ? PixelArray(rect.width, rect.height) : PixelArray();
    if (pixels.Empty() || !ValidSlot(slot)) {
        return;
    }
    // 64-bit bounds: a region far off in a hand-edited file must not overflow. The columns
    // that lie inside the buffer are the same for every row.
    const PixelArray& source = buffer.Slot(slot);
    const std::int64_t firstX = std::max<std::int64_t>(0, -std::int64_t{rect.x});
    const std::int64_t endX =
        std::min<std::int64_t>(pixels.Width(), std::int64_t{source.Width()} - rect.x);
    for (std::int32_t y = 0; y < pixels.Height() && firstX < endX; ++y) {
        const std::int64_t by = std::int64_t{rect.y} + y;
        if (by < 0 || by >= source.Height()) {
            continue;
        }
        const Pixel* from = source.Data() + by * source.Width() + rect.x + firstX;
        std::copy(from, from + (endX - firstX), &pixels.At(static_cast<std::int32_t>(firstX), y));
    }
}

} // namespace qv

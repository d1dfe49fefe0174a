// The program-wide store of captured pixels: two slots of equal extent, black after every
// resize. Captures write the top-left corner of a slot; readers looking beyond it see black.
#pragma once

#include "capture/capture_region.h"
#include "capture/pixel_array.h"

#include <array>
#include <cstdint>

namespace qv {

class CaptureBuffer {
  public:
    static constexpr int kSlotCount = 2;
    // A slot holds the largest region plus the spread between the largest and the smallest
    // glyph of a set: a few pixels for the built-in glyphs, up to a region's side for learned ones.
    static constexpr std::int32_t kMaxGlyphSpread = kMaxRegionSide;
    // Most columns (and rows) of a slot.
    static constexpr std::int32_t kMaxSlotSide = kMaxRegionSide + kMaxGlyphSpread + 1;

    // Columns 0..LastColumn() and rows 0..LastRow(); -1 while the buffer is empty.
    std::int32_t LastColumn() const { return slots_[0].Width() - 1; }
    std::int32_t LastRow() const { return slots_[0].Height() - 1; }

    // Outside the extent (or an unknown slot) reads black and writes are dropped.
    Pixel At(int slot, std::int32_t x, std::int32_t y) const;
    void Set(int slot, std::int32_t x, std::int32_t y, Pixel pixel);

    const PixelArray& Slot(int slot) const { return slots_[static_cast<std::size_t>(slot)]; }

  private:
    friend bool ResizeCaptureBuffer(CaptureBuffer&, std::int32_t, std::int32_t);
    std::array<PixelArray, kSlotCount> slots_;
};

// Reallocates both slots with columns 0..lastColumn and rows 0..lastRow, all black.
// A negative bound leaves the slots empty. Returns false (and leaves the slots empty) when
// a side exceeds kMaxSlotSide.
[[nodiscard]] bool ResizeCaptureBuffer(CaptureBuffer& buffer, std::int32_t lastColumn,
                                       std::int32_t lastRow);

// Copies pixels into the top-left corner of a slot; what falls outside the slot is dropped.
void StoreInSlot(CaptureBuffer& buffer, int slot, const PixelArray& pixels);

// A fresh rect.width x rect.height array with pixels(x, y) = buffer(slot, rect.x + x,
// rect.y + y); positions outside the buffer read black. Empty when a side exceeds
// kMaxSlotSide.
void ExtractCaptureWindow(const CaptureBuffer& buffer, int slot, const CaptureRegion& rect,
                          PixelArray& pixels);

} // namespace qv

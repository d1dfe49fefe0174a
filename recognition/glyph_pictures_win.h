// The glyph images as the main window holds them: bitmap resources shown by picture
// controls, read back into the portable pattern table's input.
#pragma once

#include "recognition/glyph_pattern_table.h"
#include "win/handles_win.h"

#include <windows.h>

#include <array>
#include <optional>

namespace qv {

using GlyphPictureControls = std::array<std::array<HWND, kGlyphsPerSet>, kGlyphSetCount>;

// Resource id of a glyph image (IDB_GLYPH_SET0_BASE / IDB_GLYPH_SET1_BASE + glyph).
int GlyphResourceId(int set, int glyph);

// Loads a glyph image resource as a DIB section, so its pixels reach the picture unchanged
// whatever the display's colour depth. Empty when the resource is missing.
UniqueBitmap LoadGlyphBitmap(HINSTANCE instance, int set, int glyph);

// Creates one pattern picture: a child static control with a sunken 2-pixel client edge
// showing the bitmap unscaled, sized to the image plus the border on each side (a static
// control left to size itself would drop the border). The caller keeps the bitmap alive
// while the control shows it. Nothing when the control cannot be made.
HWND CreateGlyphPicture(HWND parent, int controlId, HBITMAP image, int left, int top);

// Gives a pattern picture another image; the picture keeps its size (an image smaller than
// it is centred). The caller keeps the bitmap alive while the picture shows it.
void SetGlyphPictureImage(HWND picture, HBITMAP image);

// One pattern picture: a static control showing a bitmap (SS_BITMAP, with a 2-pixel
// client edge). Its image is read through a memory DC holding the bitmap (the picture's
// drawing surface) and its outer size from its window rectangle. Nothing when the control
// or its image is missing or unreadable.
std::optional<GlyphPicture> ReadGlyphPicture(HWND picture);

// Both rows of pattern pictures (picPattern1 = set 0, picPattern2 = set 1), ready for
// BuildGlyphPatterns.
std::array<GlyphPictureSet, kGlyphSetCount> ReadGlyphPictures(const GlyphPictureControls& controls);

} // namespace qv

#pragma once
// Drawing the core pixel store with GDI. The store has the layout of a bottom-up 24-bit DIB, so
// it goes to a device as is: no per-pixel GDI calls.

#include <windows.h>

#include <vector>

#include "image/pixel_image.h"
#include "image/rect.h"

namespace lumetra::win {

// The 40-byte header that describes `image` as a bottom-up 24-bit DIB.
BITMAPINFOHEADER dibHeader(const PixelImage& image);

// Copies the picture rectangle `source` (picture coordinates, y = 0 at the top, right and bottom
// exclusive; clipped to the picture) 1:1 to the device at (x, y). False when nothing was drawn.
bool drawPixels(HDC dc, int x, int y, const PixelImage& image, const Rect& source);

// Draws the whole picture stretched into `target` (device coordinates).
bool stretchPixels(HDC dc, const RECT& target, const PixelImage& image);

// Reads a device-dependent bitmap back as a picture (used to fetch what a device drew).
// Empty on failure.
PixelImage readBitmapPixels(HDC dc, HBITMAP bitmap);

// A 24-bit DIB section of the given size, black; `bits` receives its pixel memory. Null on
// failure.
HBITMAP createDibSection(HDC dc, int width, int height, void** bits);

}  // namespace lumetra::win

// The shape of a skinned window: the region of a bitmap's pixels that are not its key colour,
// made of one-row runs, row by row, left to right.
#pragma once

#include "framework/gdi.h"

#include <windows.h>

// Magenta: pixels of this colour in a skin lie outside the window.
constexpr COLORREF kSkinKeyColor = RGB(255, 0, 255);

// Reads the bitmap's bits once and builds the region from them. The bitmap must not be
// selected into a device context. An empty object on failure.
CRgn CreateRegionFromBitmap(HBITMAP bitmap, COLORREF key);

// The same region, pixel by pixel through GetPixel and one region combination per run: slow,
// kept as the reference the fast one is measured against.
CRgn CreateRegionPerPixel(HBITMAP bitmap, COLORREF key);

// CSkinBitmap: a face bitmap of the skinned controls, with the three ways the controls draw it:
// 1:1, stretched whole, and stretched with its borders kept at their natural size.
#pragma once

#include "framework/gdi.h"

class CSkinBitmap : public CBitmap {
public:
    // (0, 0) without a bitmap.
    SIZE GetBitmapSize() const;
    // Copies the whole bitmap to (x, y); the result of BitBlt.
    BOOL DrawAt(HDC dc, int x, int y) const;
    // Stretches the whole bitmap into rect with the DC's stretch mode.
    BOOL DrawStretched(HDC dc, const RECT& rect) const;
    // Keeps border.cx columns at the left and right and border.cy rows at the top and bottom at
    // their natural size and stretches the middle to fill rect. FALSE, drawing nothing, unless
    // both rect and bitmap are larger than twice the border in both directions.
    BOOL DrawBorderStretched(HDC dc, const RECT& rect, SIZE border) const;
};

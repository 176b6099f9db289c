#include "controls/skin_bitmap.h"

SIZE CSkinBitmap::GetBitmapSize() const {
    BITMAP info;
    GetBitmap(&info);
    return SIZE{info.bmWidth, info.bmHeight};
}

BOOL CSkinBitmap::DrawAt(HDC dc, int x, int y) const {
    SIZE size = GetBitmapSize();
    CMemoryDC source(dc);
    if (source.m_hDC == nullptr)
        return FALSE;
    CSelectGuard select(source, m_hObject);
    if (!select.IsSelected())
        return FALSE;
    return BitBlt(dc, x, y, size.cx, size.cy, source, 0, 0, SRCCOPY);
}

BOOL CSkinBitmap::DrawStretched(HDC dc, const RECT& rect) const {
    SIZE size = GetBitmapSize();
    CMemoryDC source(dc);
    if (source.m_hDC == nullptr)
        return TRUE;
    CSelectGuard select(source, m_hObject);
    if (select.IsSelected())
        StretchBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source,
                   0, 0, size.cx, size.cy, SRCCOPY);
    return TRUE;
}

BOOL CSkinBitmap::DrawBorderStretched(HDC dc, const RECT& rect, SIZE border) const {
    const SIZE size = GetBitmapSize();
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const int bx = border.cx;
    const int by = border.cy;
    if (width <= 2 * bx || height <= 2 * by || size.cx <= 2 * bx || size.cy <= 2 * by)
        return FALSE;

    // Declared before their guards, so each bitmap is put out of its DC before it is deleted.
    CMemoryDC source(dc), wide(dc), whole(dc);
    CBitmap wideBitmap, wholeBitmap;
    if (!source.m_hDC || !wide.m_hDC || !whole.m_hDC ||
        !wideBitmap.CreateCompatibleBitmap(dc, width, size.cy) ||
        !wholeBitmap.CreateCompatibleBitmap(dc, width, height))
        return FALSE;
    CSelectGuard selectSource(source, m_hObject);
    CSelectGuard selectWide(wide, wideBitmap);
    CSelectGuard selectWhole(whole, wholeBitmap);
    if (!selectSource.IsSelected() || !selectWide.IsSelected() || !selectWhole.IsSelected())
        return FALSE;

    // Columns: left border 1:1, middle stretched, right border 1:1.
    BitBlt(wide, 0, 0, bx, size.cy, source, 0, 0, SRCCOPY);
    StretchBlt(wide, bx, 0, width - 2 * bx, size.cy, source, bx, 0, size.cx - 2 * bx, size.cy,
               SRCCOPY);
    BitBlt(wide, width - bx, 0, bx, size.cy, source, size.cx - bx, 0, SRCCOPY);
    // Rows of that: top border 1:1, middle stretched, bottom border 1:1.
    BitBlt(whole, 0, 0, width, by, wide, 0, 0, SRCCOPY);
    StretchBlt(whole, 0, by, width, height - 2 * by, wide, 0, by, width, size.cy - 2 * by, SRCCOPY);
    BitBlt(whole, 0, height - by, width, by, wide, 0, size.cy - by, SRCCOPY);

    BitBlt(dc, rect.left, rect.top, width, height, whole, 0, 0, SRCCOPY);
    return TRUE;
}

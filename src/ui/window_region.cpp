#include "ui/window_region.h"

#include <cstring>
#include <vector>

namespace {

// A 32-bit DIB pixel is 0x00RRGGBB; a COLORREF is 0x00BBGGRR.
DWORD DibPixelOf(COLORREF color) {
    return (static_cast<DWORD>(GetRValue(color)) << 16) |
           (static_cast<DWORD>(GetGValue(color)) << 8) | GetBValue(color);
}

// Top-down 32-bit copy of the bitmap's pixels; false when the bits cannot be read.
bool ReadPixels(HBITMAP bitmap, int width, int height, std::vector<DWORD>* pixels) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    pixels->assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    CClientDC screen(nullptr);
    if (screen.GetSafeHdc() == nullptr)
        return false;
    const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels->data(), &info,
                               DIB_RGB_COLORS);
    return rows == height;
}

// One region from a list of rectangles, in a single call.
CRgn RegionFromRects(const std::vector<RECT>& rects, int width, int height) {
    const size_t bytes = sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT);
    std::vector<unsigned char> buffer(bytes, 0);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(rects.size());
    data->rdh.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
    data->rdh.rcBound = {0, 0, width, height};
    if (!rects.empty())
        memcpy(data->Buffer, rects.data(), rects.size() * sizeof(RECT));
    return CRgn(ExtCreateRegion(nullptr, static_cast<DWORD>(bytes), data));
}

bool GetBitmapSize(HBITMAP bitmap, int* width, int* height) {
    BITMAP info = {};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof(info), &info) != sizeof(info))
        return false;
    *width = info.bmWidth;
    *height = info.bmHeight;
    return *width > 0 && *height > 0;
}

} // namespace

CRgn CreateRegionFromBitmap(HBITMAP bitmap, COLORREF key) {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;
    if (!GetBitmapSize(bitmap, &width, &height) || !ReadPixels(bitmap, width, height, &pixels))
        return CRgn();

    const DWORD keyPixel = DibPixelOf(key);
    std::vector<RECT> runs;
    runs.reserve(static_cast<size_t>(height) + 16);
    for (int y = 0; y < height; ++y) {
        const DWORD* row = pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        int x = 0;
        while (x < width) {
            const int start = x;
            while (x < width && (row[x] & 0x00FFFFFF) != keyPixel)
                ++x;
            if (x > start)
                runs.push_back({start, y, x, y + 1});
            ++x; // past the key pixel
        }
    }
    return RegionFromRects(runs, width, height);
}

CRgn CreateRegionPerPixel(HBITMAP bitmap, COLORREF key) {
    int width = 0;
    int height = 0;
    if (!GetBitmapSize(bitmap, &width, &height))
        return CRgn();
    CMemoryDC memory(nullptr);
    if (memory.GetSafeHdc() == nullptr)
        return CRgn();
    CSelectGuard selected(memory, bitmap);
    if (!selected.IsSelected())
        return CRgn();

    CRgn region;
    if (!region.CreateRectRgn(0, 0, 0, 0))
        return CRgn();
    for (int y = 0; y < height; ++y) {
        int x = 0;
        while (x < width) {
            const int start = x;
            while (x < width && GetPixel(memory, x, y) != key)
                ++x;
            if (x > start) {
                CRgn run;
                if (!run.CreateRectRgn(start, y, x, y + 1) ||
                    CombineRgn(region, region, run, RGN_OR) == ERROR)
                    return CRgn();
            }
            ++x;
        }
    }
    return region;
}

#include "pixels.h"

namespace testing_support {

RECT Pixels::BoundsOf(const std::function<bool(COLORREF)>& match) const {
    RECT bounds = {width, height, -1, -1};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (match(At(x, y))) {
                bounds.left = std::min<LONG>(bounds.left, x);
                bounds.top = std::min<LONG>(bounds.top, y);
                bounds.right = std::max<LONG>(bounds.right, x + 1);
                bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
            }
    if (bounds.right < 0)
        return RECT{0, 0, 0, 0};
    return bounds;
}

int Pixels::Count(const std::function<bool(COLORREF)>& match) const {
    int count = 0;
    for (COLORREF colour : colours)
        count += match(colour) ? 1 : 0;
    return count;
}

int Pixels::Count(const RECT& area, const std::function<bool(COLORREF)>& match) const {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            count += match(At(x, y)) ? 1 : 0;
    return count;
}

Pixels Capture(HWND window) {
    Pixels pixels;
    RECT client;
    GetClientRect(window, &client);
    pixels.width = client.right;
    pixels.height = client.bottom;
    if (pixels.width <= 0 || pixels.height <= 0)
        return pixels;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = pixels.width;
    info.bmiHeader.biHeight = -pixels.height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    CBitmap dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    CClientDC source(window);
    CMemoryDC target(source);
    if (dib.IsNull() || !source.m_hDC || !target.m_hDC)
        return pixels;
    {
        CSelectGuard select(target, dib);
        BitBlt(target, 0, 0, pixels.width, pixels.height, source, 0, 0, SRCCOPY);
        GdiFlush();
    }
    const auto* raw = static_cast<const DWORD*>(bits);
    pixels.colours.resize(static_cast<size_t>(pixels.width * pixels.height));
    for (size_t i = 0; i < pixels.colours.size(); ++i) {
        DWORD bgra = raw[i];
        pixels.colours[i] = RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
    }
    return pixels;
}

TestParent::TestParent(const RECT& rect) {
    // No WS_CLIPCHILDREN, like a dialog: the parent repaints under its children.
    CreateEx(0, nullptr, L"test parent", WS_POPUP | WS_VISIBLE, rect, nullptr, 0);
    UpdateWindow();
}

TestParent::~TestParent() {
    DestroyWindow();
}

BOOL TestParent::OnCommand(WPARAM wParam, LPARAM) {
    if (HIWORD(wParam) == BN_CLICKED) {
        clickedIds.push_back(LOWORD(wParam));
        if (onClicked)
            onClicked();
    }
    return TRUE;
}

BOOL TestParent::OnNotify(WPARAM, LPARAM lParam, LRESULT* result) {
    notifications.push_back(*reinterpret_cast<const NMHDR*>(lParam));
    *result = 0;
    return TRUE;
}

void PumpMessagesUntil(const std::function<bool()>& done, DWORD maxMs) {
    const DWORD start = GetTickCount();
    MSG msg;
    while (!done() && GetTickCount() - start < maxMs) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

long GdiObjectMeasure() {
    DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted != 0)
        return static_cast<long>(counted);
    const int kBatch = 3000;
    std::vector<HRGN> batch;
    batch.reserve(kBatch);
    long highest = 0;
    for (int i = 0; i < kBatch; ++i) {
        HRGN region = CreateRectRgn(0, 0, 1, 1);
        if (region == nullptr) {
            highest = -1; // the table is full: something leaked on a large scale
            break;
        }
        highest = std::max<long>(highest, LOWORD(reinterpret_cast<UINT_PTR>(region)));
        batch.push_back(region);
    }
    // Freed in reverse, so the table's free list is left as it was found.
    for (auto it = batch.rbegin(); it != batch.rend(); ++it)
        DeleteObject(*it);
    return highest;
}

} // namespace testing_support

#include "framework/gdi.h"

#include "framework/win_app.h"

#include <cstring>

BOOL CBitmap::LoadBitmap(UINT resourceId) {
    return LoadBitmap(AfxGetResourceHandle(), resourceId);
}

BOOL CBitmap::LoadBitmap(HINSTANCE module, UINT resourceId) {
    Attach(::LoadBitmapW(module, MAKEINTRESOURCEW(resourceId & 0xFFFF)));
    return m_hObject != nullptr;
}

BOOL CBitmap::CreateCompatibleBitmap(HDC dc, int width, int height) {
    Attach(::CreateCompatibleBitmap(dc, width, height));
    return m_hObject != nullptr;
}

BOOL CBitmap::GetBitmap(BITMAP* info) const {
    std::memset(info, 0, sizeof(*info));
    if (m_hObject == nullptr)
        return FALSE;
    return ::GetObjectW(m_hObject, sizeof(*info), info) == sizeof(*info);
}

BOOL CFont::CreateFontIndirect(const LOGFONTW* logFont) {
    Attach(::CreateFontIndirectW(logFont));
    return m_hObject != nullptr;
}

BOOL CFont::CreatePointFont(int pointSizeTenths, const wchar_t* faceName, HDC dc) {
    LOGFONTW logFont = {};
    HDC screen = dc ? nullptr : ::GetDC(nullptr);
    int pixelsPerInch = ::GetDeviceCaps(dc ? dc : screen, LOGPIXELSY);
    if (screen)
        ::ReleaseDC(nullptr, screen);
    // Cut toward zero like an integer division (MulDiv would round).
    logFont.lfHeight = -(pixelsPerInch * pointSizeTenths / 720);
    logFont.lfCharSet = DEFAULT_CHARSET;
    if (faceName)
        lstrcpynW(logFont.lfFaceName, faceName, LF_FACESIZE);
    return CreateFontIndirect(&logFont);
}

BOOL CFont::GetLogFont(LOGFONTW* logFont) const {
    std::memset(logFont, 0, sizeof(*logFont));
    return m_hObject && ::GetObjectW(m_hObject, sizeof(*logFont), logFont) == sizeof(*logFont);
}

BOOL CBrush::CreateSolidBrush(COLORREF color) {
    Attach(::CreateSolidBrush(color));
    return m_hObject != nullptr;
}

BOOL CPen::CreatePen(int style, int width, COLORREF color) {
    Attach(::CreatePen(style, width, color));
    return m_hObject != nullptr;
}

BOOL CRgn::CreateRectRgn(int left, int top, int right, int bottom) {
    Attach(::CreateRectRgn(left, top, right, bottom));
    return m_hObject != nullptr;
}

// Owning wrappers for GDI objects and device contexts, and guards that select an object into a
// DC and put the previous one back. Each owner deletes its handle in its destructor; declare a
// guard after the object it selects so the guard is undone first and the object is never
// deleted while selected. None of them is copyable; all are movable.
#pragma once

#include <windows.h>

#include <utility>

// Owns one GDI object handle (HBITMAP, HFONT, HBRUSH, HRGN, HPEN).
template <typename Handle> class CGdiObjectT {
public:
    CGdiObjectT() = default;
    explicit CGdiObjectT(Handle handle) : m_hObject(handle) {}
    ~CGdiObjectT() { DeleteObject(); }
    CGdiObjectT(const CGdiObjectT&) = delete;
    CGdiObjectT& operator=(const CGdiObjectT&) = delete;
    CGdiObjectT(CGdiObjectT&& other) noexcept : m_hObject(other.Detach()) {}
    CGdiObjectT& operator=(CGdiObjectT&& other) noexcept {
        if (this != &other)
            Attach(other.Detach());
        return *this;
    }

    operator Handle() const { return m_hObject; }
    Handle GetSafeHandle() const { return m_hObject; }
    bool IsNull() const { return m_hObject == nullptr; }

    // Takes ownership of handle; the handle held before is deleted.
    void Attach(Handle handle) {
        if (handle != m_hObject) {
            DeleteObject();
            m_hObject = handle;
        }
    }
    // Gives up ownership without deleting.
    Handle Detach() { return std::exchange(m_hObject, nullptr); }
    BOOL DeleteObject() {
        if (m_hObject == nullptr)
            return FALSE;
        return ::DeleteObject(std::exchange(m_hObject, nullptr));
    }

protected:
    Handle m_hObject = nullptr;
};

class CBitmap : public CGdiObjectT<HBITMAP> {
public:
    using CGdiObjectT::CGdiObjectT;
    // Loads a bitmap resource of AfxGetResourceHandle() (the program's own module).
    BOOL LoadBitmap(UINT resourceId);
    BOOL LoadBitmap(HINSTANCE module, UINT resourceId);
    BOOL CreateCompatibleBitmap(HDC dc, int width, int height);
    // Fills info from GetObjectW; FALSE (info zeroed) without a bitmap.
    BOOL GetBitmap(BITMAP* info) const;
};

class CFont : public CGdiObjectT<HFONT> {
public:
    using CGdiObjectT::CGdiObjectT;
    BOOL CreateFontIndirect(const LOGFONTW* logFont);
    // pointSizeTenths in tenths of a point; the height follows LOGPIXELSY of dc (the screen when
    // dc is null): lfHeight = -(LOGPIXELSY * pointSizeTenths / 720).
    BOOL CreatePointFont(int pointSizeTenths, const wchar_t* faceName, HDC dc = nullptr);
    BOOL GetLogFont(LOGFONTW* logFont) const;
};

class CBrush : public CGdiObjectT<HBRUSH> {
public:
    using CGdiObjectT::CGdiObjectT;
    BOOL CreateSolidBrush(COLORREF color);
};

class CPen : public CGdiObjectT<HPEN> {
public:
    using CGdiObjectT::CGdiObjectT;
    BOOL CreatePen(int style, int width, COLORREF color);
};

class CRgn : public CGdiObjectT<HRGN> {
public:
    using CGdiObjectT::CGdiObjectT;
    BOOL CreateRectRgn(int left, int top, int right, int bottom);
};

// Selects an object into a DC for the guard's lifetime and selects the previous one back.
class CSelectGuard {
public:
    CSelectGuard(HDC dc, HGDIOBJ object)
        : m_hDC(dc), m_hOld(dc && object ? ::SelectObject(dc, object) : nullptr) {
        if (m_hOld == HGDI_ERROR)
            m_hOld = nullptr;
    }
    ~CSelectGuard() { Restore(); }
    CSelectGuard(const CSelectGuard&) = delete;
    CSelectGuard& operator=(const CSelectGuard&) = delete;

    // FALSE when the selection failed (nothing to put back).
    bool IsSelected() const { return m_hOld != nullptr; }
    void Restore() {
        if (m_hOld != nullptr)
            ::SelectObject(m_hDC, std::exchange(m_hOld, nullptr));
    }

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

// SaveDC for the guard's lifetime, RestoreDC at its end.
class CSaveDCGuard {
public:
    explicit CSaveDCGuard(HDC dc) : m_hDC(dc), m_nSaved(dc ? ::SaveDC(dc) : 0) {}
    ~CSaveDCGuard() {
        if (m_nSaved != 0)
            ::RestoreDC(m_hDC, m_nSaved);
    }
    CSaveDCGuard(const CSaveDCGuard&) = delete;
    CSaveDCGuard& operator=(const CSaveDCGuard&) = delete;

private:
    HDC m_hDC;
    int m_nSaved;
};

// A device context in use; the derived types own theirs. Plain GDI calls take it as an HDC.
class CDC {
public:
    CDC() = default;
    explicit CDC(HDC dc) : m_hDC(dc) {}
    virtual ~CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }

    HDC m_hDC = nullptr;
};

// A memory DC compatible with another DC (the screen when null); deleted at the end.
class CMemoryDC : public CDC {
public:
    explicit CMemoryDC(HDC compatibleWith) { m_hDC = ::CreateCompatibleDC(compatibleWith); }
    ~CMemoryDC() override {
        if (m_hDC)
            ::DeleteDC(m_hDC);
    }
};

// BeginPaint ... EndPaint for one WM_PAINT.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(HWND window) : m_hWnd(window) { m_hDC = ::BeginPaint(window, &m_ps); }
    ~CPaintDC() override { ::EndPaint(m_hWnd, &m_ps); }
    PAINTSTRUCT m_ps = {};

private:
    HWND m_hWnd;
};

// GetDC ... ReleaseDC of a window's client area.
class CClientDC : public CDC {
public:
    explicit CClientDC(HWND window) : m_hWnd(window) { m_hDC = ::GetDC(window); }
    ~CClientDC() override {
        if (m_hDC)
            ::ReleaseDC(m_hWnd, m_hDC);
    }

private:
    HWND m_hWnd;
};

// GetWindowDC ... ReleaseDC of a whole window, frame included.
class CWindowDC : public CDC {
public:
    explicit CWindowDC(HWND window) : m_hWnd(window) { m_hDC = ::GetWindowDC(window); }
    ~CWindowDC() override {
        if (m_hDC)
            ::ReleaseDC(m_hWnd, m_hDC);
    }

private:
    HWND m_hWnd;
};

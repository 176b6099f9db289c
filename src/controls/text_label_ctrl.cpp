// CTextLabelCtrl: construction, font and the setters of the chain that style the label.
#include "controls/text_label_ctrl.h"

CTextLabelCtrl::CTextLabelCtrl() : m_crText(GetSysColor(COLOR_WINDOWTEXT)) {
    m_hFaceBrush.CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
}

// The flash timer dies with the window; the brushes and the font are owned members.
CTextLabelCtrl::~CTextLabelCtrl() = default;

void CTextLabelCtrl::PreSubclassWindow() {
    CStatic::PreSubclassWindow();
    HFONT font = GetFont();
    if (font == nullptr || GetObjectW(font, sizeof(m_lf), &m_lf) != sizeof(m_lf))
        GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(m_lf), &m_lf);
    RebuildFont();
}

void CTextLabelCtrl::RebuildFont() {
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&m_lf);
}

void CTextLabelCtrl::Redraw() {
    if (!IsWindow(m_hWnd))
        return;
    RECT rect;
    GetWindowRect(&rect);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HWND parent = GetParent();
    if (parent == nullptr)
        return;
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    ::InvalidateRect(parent, &rect, TRUE);
    ::UpdateWindow(parent);
}

CTextLabelCtrl& CTextLabelCtrl::Background(COLORREF colour, COLORREF colourEnd, int fillMode) {
    m_crBackEnd = colourEnd;
    m_crBack = colour;
    m_nFillMode = fillMode;
    m_hBackBrush.DeleteObject();
    if (fillMode == 0)
        m_hBackBrush.CreateSolidBrush(colour);
    Redraw();
    return *this;
}

CTextLabelCtrl& CTextLabelCtrl::TextColor(COLORREF colour) {
    m_crText = colour;
    Redraw();
    return *this;
}

CTextLabelCtrl& CTextLabelCtrl::Caption(const CString& text) {
    if (m_hWnd == nullptr || !IsWindow(m_hWnd))
        return *this;
    SetWindowText(text);
    Redraw();
    return *this;
}

CTextLabelCtrl& CTextLabelCtrl::Bold(BOOL bold) {
    m_lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    RebuildFont();
    Redraw();
    return *this;
}

CTextLabelCtrl& CTextLabelCtrl::FontFace(const CString& face, BYTE charSet) {
    m_lf.lfCharSet = charSet;
    lstrcpynW(m_lf.lfFaceName, face, LF_FACESIZE);
    RebuildFont();
    Redraw();
    return *this;
}

CTextLabelCtrl& CTextLabelCtrl::Underline(BOOL underline) {
    m_lf.lfUnderline = static_cast<BYTE>(underline);
    RebuildFont();
    Redraw();
    return *this;
}

CTextLabelCtrl& CTextLabelCtrl::Italic(BOOL italic) {
    m_lf.lfItalic = static_cast<BYTE>(italic);
    RebuildFont();
    Redraw();
    return *this;
}

CTextLabelCtrl& CTextLabelCtrl::FontPointSize(int points) {
    // The height as the screen gives it for this face: -(LOGPIXELSY * points * 10 / 720).
    CFont sized;
    LOGFONTW sizedRecord;
    if (sized.CreatePointFont(points * 10, m_lf.lfFaceName) && sized.GetLogFont(&sizedRecord)) {
        m_lf.lfHeight = sizedRecord.lfHeight;
        m_lf.lfWidth = sizedRecord.lfWidth;
    }
    RebuildFont();
    Redraw();
    return *this;
}

CTextLabelCtrl& CTextLabelCtrl::FontPixelHeight(int pixels) {
    m_lf.lfHeight = -pixels; // negative: the character height, without the internal leading
    m_lf.lfWidth = 0;
    RebuildFont();
    Redraw();
    return *this;
}

CTextLabelCtrl& CTextLabelCtrl::Sunken(BOOL sunken) {
    if (sunken)
        ModifyStyleEx(0, WS_EX_STATICEDGE, SWP_FRAMECHANGED);
    else
        ModifyStyleEx(WS_EX_STATICEDGE, 0, SWP_FRAMECHANGED);
    return *this;
}

CTextLabelCtrl& CTextLabelCtrl::Border(BOOL border) {
    if (border)
        ModifyStyle(0, WS_BORDER, SWP_FRAMECHANGED);
    else
        ModifyStyle(WS_BORDER, 0, SWP_FRAMECHANGED);
    return *this;
}

CTextLabelCtrl& CTextLabelCtrl::Transparent(BOOL transparent) {
    m_bTransparent = transparent;
    // The window keeps WS_EX_TRANSPARENT even when the label turns opaque again: it only makes
    // the parent paint first, which costs an opaque label nothing.
    ModifyStyleEx(0, WS_EX_TRANSPARENT, 0);
    Redraw();
    return *this;
}

CTextLabelCtrl& CTextLabelCtrl::Relief(BOOL on, int kind) {
    m_bRelief = on;
    m_nReliefKind = kind;
    Redraw();
    return *this;
}

CTextLabelCtrl& CTextLabelCtrl::Rotation(int degrees, BOOL on) {
    m_lf.lfEscapement = m_lf.lfOrientation = degrees * 10;
    m_bRotation = on;
    RebuildFont();
    Redraw();
    return *this;
}

CTextLabelCtrl& CTextLabelCtrl::ReliefColor(COLORREF colour) {
    m_crRelief = colour;
    Redraw();
    return *this;
}

CTextLabelCtrl& CTextLabelCtrl::FontRecord(LOGFONTW logFont) {
    m_lf = logFont;
    RebuildFont();
    Redraw();
    return *this;
}

void CTextLabelCtrl::OnSysColorChange() {
    m_hFaceBrush.DeleteObject();
    m_hFaceBrush.CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    Redraw();
}

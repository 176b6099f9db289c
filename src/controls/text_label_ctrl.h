// CTextLabelCtrl: a static text control that paints its own text with its own font, colour and
// background. It is styled by a chain of setters, each returning the label:
//     m_lblHeading.Caption(text).TextColor(RGB(255, 255, 255)).FontFace(L"Arial")
//         .FontPointSize(11).Bold(TRUE).Transparent(TRUE);
// Opaque labels paint a solid or graded background through an off-screen bitmap; transparent
// ones draw their text straight over the parent. A label can also be a web or mail link, report
// clicks to its parent (WM_NOTIFY with LNK_CLICKED) and flash its text or background.
#pragma once

#include "framework/common_controls.h"
#include "framework/gdi.h"

// Code of the NMHDR a notifying link label sends to its parent when clicked.
const UINT LNK_CLICKED = 0x8200;

class CTextLabelCtrl : public CStatic {
public:
    CTextLabelCtrl();
    ~CTextLabelCtrl() override;

    // fillMode 0: solid colour; other: horizontal gradient from colour to colourEnd.
    virtual CTextLabelCtrl& Background(COLORREF colour, COLORREF colourEnd = 0, int fillMode = 0);
    virtual CTextLabelCtrl& TextColor(COLORREF colour);
    // Does nothing while the label has no window.
    virtual CTextLabelCtrl& Caption(const CString& text);
    virtual CTextLabelCtrl& Bold(BOOL bold);
    // face: at most 31 characters.
    virtual CTextLabelCtrl& FontFace(const CString& face, BYTE charSet = DEFAULT_CHARSET);
    virtual CTextLabelCtrl& Underline(BOOL underline);
    virtual CTextLabelCtrl& Italic(BOOL italic);
    // Call after FontFace: the height is computed for the face already chosen.
    virtual CTextLabelCtrl& FontPointSize(int points);
    virtual CTextLabelCtrl& Sunken(BOOL sunken);
    virtual CTextLabelCtrl& Border(BOOL border);
    virtual CTextLabelCtrl& Transparent(BOOL transparent);
    virtual CTextLabelCtrl& FlashingText(BOOL on);
    virtual CTextLabelCtrl& FlashingBackground(BOOL on);
    virtual CTextLabelCtrl& LinkMode(BOOL on, BOOL notifyParent = FALSE);
    // The cursor stays owned by the caller.
    virtual CTextLabelCtrl& LinkCursor(HCURSOR cursor);
    // kind 0: the relief copy one pixel up and left of the text; other: down and right.
    virtual CTextLabelCtrl& Relief(BOOL on, int kind);
    virtual CTextLabelCtrl& Rotation(int degrees, BOOL on);
    virtual CTextLabelCtrl& ReliefColor(COLORREF colour);
    virtual CTextLabelCtrl& FontRecord(LOGFONTW logFont);
    virtual CTextLabelCtrl& MailLinkMode(BOOL on, BOOL notifyParent = FALSE);
    virtual CTextLabelCtrl& LinkTarget(const CString& target);
    // The character height in pixels, whatever the display's dpi: for texts that must fit a
    // box of fixed pixels (a skin). Replaces the height that FontPointSize set, and the width.
    virtual CTextLabelCtrl& FontPixelHeight(int pixels);

    // Repaints the label, then the part of the parent under it, so that a transparent label's
    // old text disappears from the parent's background.
    void Redraw();

    // The font the label paints with.
    HFONT GetLabelFont() const { return m_font; }
    // The DrawText format the label paints its text with, from its style and the text.
    UINT TextFormat(const CString& text) const;

protected:
    void PreSubclassWindow() override;
    void OnTimer(UINT_PTR id) override;
    void OnLButtonDown(UINT flags, POINT point) override;
    BOOL OnSetCursor(HWND window, UINT hitTest, UINT message) override;
    void OnSysColorChange() override;
    void OnPaint() override;
    BOOL OnEraseBkgnd(HDC dc) override;

private:
    void RebuildFont();
    void StartFlashing(BOOL on, int kind);
    void SetLinkMode(int mode, BOOL on, BOOL notifyParent);
    void PaintBackground(HDC dc, const RECT& rc);
    void PaintText(HDC dc, RECT rc, const CString& text, UINT format);

    COLORREF m_crText;
    COLORREF m_crRelief = RGB(255, 255, 255);
    CBrush m_hFaceBrush;
    CBrush m_hBackBrush;
    LOGFONTW m_lf = {};
    CFont m_font;
    BOOL m_bFlashPhase = FALSE;
    BOOL m_bTimerSet = FALSE;
    int m_nLinkMode = 0;
    BOOL m_bTransparent = FALSE;
    BOOL m_bRelief = FALSE;
    BOOL m_bNotifyParent = FALSE;
    BOOL m_bRotation = FALSE;
    int m_nFlashKind = 0;
    HCURSOR m_hLinkCursor = nullptr;
    int m_nReliefKind = 0;
    int m_nFillMode = 0;
    COLORREF m_crBackEnd = 0;
    COLORREF m_crBack = 0;
    CString m_strLinkTarget;
};

// Fills rect with a horizontal gradient from start to end in at most maxBands bands of equal
// width (the last one ends at the right edge), each band over the whole height.
void FillGradient(HDC dc, const RECT& rect, COLORREF start, COLORREF end, int maxBands);

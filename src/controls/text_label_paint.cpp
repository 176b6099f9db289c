// CTextLabelCtrl: painting. Opaque labels draw background and text off-screen and copy them in
// one BitBlt; transparent labels draw their text straight over the parent's pixels.
#include "controls/text_label_ctrl.h"

void FillGradient(HDC dc, const RECT& rect, COLORREF start, COLORREF end, int maxBands) {
    const int width = rect.right - rect.left;
    const int bands = maxBands > width ? width : maxBands;
    const int divisor = bands <= 1 ? 1 : bands;
    // Fixed point with 8 fractional bits per channel.
    const int startRgb[3] = {GetRValue(start), GetGValue(start), GetBValue(start)};
    const int endRgb[3] = {GetRValue(end), GetGValue(end), GetBValue(end)};
    int step[3], value[3];
    for (int c = 0; c < 3; ++c) {
        step[c] = ((endRgb[c] - startRgb[c]) * 256) / divisor;
        value[c] = startRgb[c] * 256;
    }
    const int bandWidth = width / divisor;

    CSelectGuard nullPen(dc, GetStockObject(NULL_PEN));
    int left = rect.left;
    for (int i = 0; i < bands; ++i) {
        const int right = (i == bands - 1) ? rect.right : left + bandWidth;
        CBrush brush;
        if (brush.CreateSolidBrush(
                RGB((value[0] / 256) & 0xFF, (value[1] / 256) & 0xFF, (value[2] / 256) & 0xFF))) {
            CSelectGuard selectBrush(dc, brush);
            // A null pen leaves out the right and bottom edges: + 1 on both, so neighbouring
            // bands meet and the bottom row has its band's colour too.
            Rectangle(dc, left, rect.top, right + 1, rect.bottom + 1);
        }
        left = right;
        for (int c = 0; c < 3; ++c)
            value[c] += step[c];
    }
}

BOOL CTextLabelCtrl::OnEraseBkgnd(HDC) {
    return TRUE; // painting covers the label, or leaves the parent's pixels when transparent
}

void CTextLabelCtrl::OnPaint() {
    CPaintDC paint(m_hWnd);
    RECT rc;
    GetClientRect(&rc);
    CString text;
    GetWindowText(text);
    const UINT format = TextFormat(text);

    if (m_bTransparent) {
        PaintText(paint, rc, text, format);
        return;
    }
    // Declared in this order so the buffer is put out of the DC before either is deleted.
    CMemoryDC memory(paint);
    if (memory.m_hDC == nullptr)
        return;
    CBitmap buffer;
    if (!buffer.CreateCompatibleBitmap(paint, rc.right, rc.bottom))
        return;
    CSelectGuard selectBuffer(memory, buffer);
    if (!selectBuffer.IsSelected())
        return;
    PaintText(memory, rc, text, format);
    BitBlt(paint, 0, 0, rc.right, rc.bottom, memory, 0, 0, SRCCOPY);
}

UINT CTextLabelCtrl::TextFormat(const CString& text) const {
    const DWORD style = GetStyle();
    if (style & SS_CENTERIMAGE)
        return text.Find(L"\r\n") >= 0 ? DT_CENTER : (DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    UINT format;
    switch (style & 0x1F) {
    case SS_CENTER:
        format = DT_CENTER | DT_WORDBREAK;
        break;
    case SS_RIGHT:
        format = DT_RIGHT | DT_WORDBREAK;
        break;
    case SS_LEFTNOWORDWRAP:
        format = DT_LEFT;
        break;
    default:
        format = DT_WORDBREAK;
        break;
    }
    if (text.Find(L'\t') >= 0)
        format |= DT_EXPANDTABS;
    // As the system's static control does with SS_EDITCONTROL: a word too long for a line is
    // broken where the line ends (a long path stays inside the label), and a last line that
    // would show only in part is left out.
    if (style & SS_EDITCONTROL)
        format |= DT_EDITCONTROL;
    return format;
}

void CTextLabelCtrl::PaintBackground(HDC dc, const RECT& rc) {
    // Background flashing: the first phase shows the text colour as background, the second the
    // label's own background.
    if (m_nFlashKind == 2 && !m_bFlashPhase) {
        CBrush flash;
        if (flash.CreateSolidBrush(m_crText))
            FillRect(dc, &rc, flash);
        return;
    }
    if (m_bTransparent)
        return;
    if (m_nFillMode == 0)
        FillRect(dc, &rc, m_hBackBrush.IsNull() ? m_hFaceBrush : m_hBackBrush);
    else
        FillGradient(dc, rc, m_crBack, m_crBackEnd, 100);
}

void CTextLabelCtrl::PaintText(HDC dc, RECT rc, const CString& text, UINT format) {
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor = SetTextColor(dc, m_crText);
    CSelectGuard selectFont(dc, m_font);

    PaintBackground(dc, rc);

    if (!m_bFlashPhase && m_nFlashKind == 1) {
        // Text flashing: the hidden phase draws the text in the background's colour.
        LOGBRUSH brush = {};
        COLORREF hidden = 0;
        if (!m_hBackBrush.IsNull() && GetObjectW(m_hBackBrush, sizeof(brush), &brush))
            hidden = brush.lbColor;
        SetTextColor(dc, hidden);
    }

    if (m_bRotation) {
        // From the label's centre, on the baseline, in the font's escapement direction.
        const UINT oldAlign = SetTextAlign(dc, TA_BASELINE);
        POINT oldOrigin;
        SetViewportOrgEx(dc, (rc.right - rc.left) / 2, (rc.bottom - rc.top) / 2, &oldOrigin);
        TextOutW(dc, 0, 0, text, text.GetLength());
        SetViewportOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
        SetTextAlign(dc, oldAlign);
    } else {
        DrawTextW(dc, text, -1, &rc, format);
        if (m_bRelief) {
            SetTextColor(dc, m_crRelief);
            const int offset = m_nReliefKind != 0 ? 1 : -1;
            OffsetRect(&rc, offset, offset);
            DrawTextW(dc, text, -1, &rc, format);
        }
    }

    selectFont.Restore();
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
}

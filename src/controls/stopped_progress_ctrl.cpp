#include "controls/stopped_progress_ctrl.h"

#include "framework/gdi.h"

namespace {
const COLORREF kStoppedColor = RGB(200, 30, 30);
const COLORREF kEmptyColor = RGB(255, 255, 255);
} // namespace

void CStoppedProgressCtrl::SetStopped(BOOL stopped) {
    m_bStopped = stopped;
    // Where the common controls draw the state themselves, they agree.
    SendMessage(PBM_SETSTATE, stopped ? PBST_ERROR : PBST_NORMAL);
    Invalidate(TRUE);
}

BOOL CStoppedProgressCtrl::OnEraseBkgnd(HDC dc) {
    if (m_bStopped)
        return TRUE; // the paint covers the whole client area
    return CProgressCtrl::OnEraseBkgnd(dc);
}

void CStoppedProgressCtrl::OnPaint() {
    if (!m_bStopped) {
        CProgressCtrl::OnPaint();
        return;
    }
    CPaintDC paint(m_hWnd);
    RECT client = {};
    GetClientRect(&client);
    PBRANGE range = {};
    SendMessage(PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    const int span = range.iHigh - range.iLow;
    int done = 0;
    if (span > 0)
        done = MulDiv(client.right, GetPos() - range.iLow, span);
    done = done < 0 ? 0 : (done > client.right ? client.right : done);

    RECT part = client;
    part.right = done;
    CBrush stopped;
    if (stopped.CreateSolidBrush(kStoppedColor))
        FillRect(paint, &part, stopped);
    part.left = done;
    part.right = client.right;
    CBrush empty;
    if (empty.CreateSolidBrush(kEmptyColor))
        FillRect(paint, &part, empty);
}

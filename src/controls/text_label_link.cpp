// CTextLabelCtrl: links (web, mail, or a notification to the parent), its cursor and flashing.
#include "controls/text_label_ctrl.h"

#include "controls/shell_open.h"

namespace {
const UINT_PTR kFlashTimerId = 1;
const UINT kFlashPeriodMs = 500;
} // namespace

void CTextLabelCtrl::SetLinkMode(int mode, BOOL on, BOOL notifyParent) {
    m_nLinkMode = on ? mode : 0;
    m_bNotifyParent = notifyParent;
    // Without SS_NOTIFY a static control lets clicks and cursor requests fall through.
    if (m_nLinkMode != 0)
        ModifyStyle(0, SS_NOTIFY, 0);
    else
        ModifyStyle(SS_NOTIFY, 0, 0);
}

CTextLabelCtrl& CTextLabelCtrl::LinkMode(BOOL on, BOOL notifyParent) {
    SetLinkMode(1, on, notifyParent);
    return *this;
}

CTextLabelCtrl& CTextLabelCtrl::MailLinkMode(BOOL on, BOOL notifyParent) {
    SetLinkMode(2, on, notifyParent);
    return *this;
}

CTextLabelCtrl& CTextLabelCtrl::LinkTarget(const CString& target) {
    m_strLinkTarget = target;
    return *this;
}

CTextLabelCtrl& CTextLabelCtrl::LinkCursor(HCURSOR cursor) {
    m_hLinkCursor = cursor;
    return *this;
}

void CTextLabelCtrl::StartFlashing(BOOL on, int kind) {
    if (m_bTimerSet)
        KillTimer(kFlashTimerId);
    if (on) {
        m_bFlashPhase = FALSE;
        m_bTimerSet = TRUE;
        SetTimer(kFlashTimerId, kFlashPeriodMs);
        m_nFlashKind = kind;
    } else {
        // Nothing is repainted: the label keeps what it drew last until its next paint.
        m_nFlashKind = 0;
    }
}

CTextLabelCtrl& CTextLabelCtrl::FlashingText(BOOL on) {
    StartFlashing(on, 1);
    return *this;
}

CTextLabelCtrl& CTextLabelCtrl::FlashingBackground(BOOL on) {
    StartFlashing(on, 2);
    return *this;
}

void CTextLabelCtrl::OnTimer(UINT_PTR id) {
    m_bFlashPhase = !m_bFlashPhase;
    Redraw();
    CStatic::OnTimer(id);
}

void CTextLabelCtrl::OnLButtonDown(UINT flags, POINT point) {
    if (m_bNotifyParent) {
        NMHDR header = {};
        header.hwndFrom = m_hWnd;
        header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
        header.code = LNK_CLICKED;
        ::SendMessageW(GetParent(), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
    } else {
        CString text;
        GetWindowText(text);
        if (m_nLinkMode == 1) {
            ShellOpen(L"open", m_strLinkTarget.IsEmpty() ? text : m_strLinkTarget);
        } else if (m_nLinkMode == 2) {
            CString mail(L"mailto:");
            mail += text;
            ShellOpen(nullptr, mail);
        }
    }
    CStatic::OnLButtonDown(flags, point);
}

BOOL CTextLabelCtrl::OnSetCursor(HWND window, UINT hitTest, UINT message) {
    if (m_hLinkCursor == nullptr)
        return CStatic::OnSetCursor(window, hitTest, message);
    SetCursor(m_hLinkCursor);
    return TRUE;
}

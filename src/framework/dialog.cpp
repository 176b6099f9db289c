#include "framework/dialog.h"

#include "framework/win_app.h"

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

INT_PTR CDialog::DoModal() {
    HWND parent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    return DialogBoxParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nIDTemplate), parent,
                           StartProc, reinterpret_cast<LPARAM>(this));
}

// The dialog manager's procedure only sees WM_INITDIALOG: there the window is attached to the
// object, and from then on every message reaches CWnd::WindowProc first; what that leaves to
// Default() comes back here and gets FALSE, the dialog manager's own processing.
INT_PTR CALLBACK CDialog::StartProc(HWND window, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG)
        return FALSE;
    auto* self = reinterpret_cast<CDialog*>(lParam);
    if (self == nullptr || !self->SubclassWindow(window)) {
        ::EndDialog(window, -1);
        return FALSE;
    }
    CurrentMessage current = {message, 0, lParam};
    self->m_pCurrentMessage = &current;
    BOOL focusDefault = TRUE;
    try {
        focusDefault = self->OnInitDialog();
    } catch (...) {
        ::EndDialog(window, -1);
    }
    self->m_pCurrentMessage = nullptr;
    return focusDefault;
}

BOOL CDialog::EndDialog(int result) {
    return ::EndDialog(m_hWnd, result);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return !exchange.m_bFail;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM) {
    if (HIWORD(wParam) != BN_CLICKED)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        OnOK();
        return TRUE;
    case IDCANCEL:
        OnCancel();
        return TRUE;
    default:
        return FALSE;
    }
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (control.m_hWnd != nullptr)
        return;
    HWND item = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, id);
    if (item == nullptr || !control.SubclassWindow(item))
        pDX->m_bFail = TRUE;
}

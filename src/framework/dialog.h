// CDialog: a modal dialog built from a dialog template of AfxGetResourceHandle(). DoModal runs it
// and returns IDOK or IDCANCEL (or what EndDialog was given; -1 when the template cannot be
// loaded). Once the window exists it is attached like any CWnd, so a derived dialog handles its
// messages through the same named handlers or an override of WindowProc. Controls of the
// template are bound to members in DoDataExchange with DDX_Control.
#pragma once

#include "framework/wnd.h"

class CDialog;

// Carries the direction of one UpdateData run to DoDataExchange.
class CDataExchange {
public:
    CDataExchange(CDialog* dialog, BOOL saveAndValidate)
        : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
    CDialog* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
    BOOL m_bFail = FALSE;
};

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    virtual INT_PTR DoModal();
    BOOL EndDialog(int result);
    // FALSE reads the members into the controls, TRUE the controls into the members.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    // The button that Enter presses while the focus is on no other push button.
    void SetDefID(UINT id) { SendMessage(DM_SETDEFID, id); }
    // Moves the focus to control as the dialog manager does for Tab, so that a push button
    // that takes the focus also becomes the default one while it has it.
    void GotoDlgCtrl(HWND control) {
        SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    }

protected:
    // Runs UpdateData(FALSE) and returns TRUE (focus to the first control); a dialog that sets
    // the focus itself returns FALSE.
    virtual BOOL OnInitDialog();
    // UpdateData(TRUE), then EndDialog(IDOK).
    virtual void OnOK();
    // EndDialog(IDCANCEL).
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);

    // IDOK and IDCANCEL (buttons, Enter, Escape, the close box) go to OnOK and OnCancel.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    static INT_PTR CALLBACK StartProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

// Binds the template's control id to control: subclasses it (control's PreSubclassWindow runs
// first) unless control is already attached.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);

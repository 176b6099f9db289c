#include "ui/wizard_dialog.h"

#include "config/globals.h"
#include "config/text.h"
#include "res/resource.h"
#include "ui/setup_progress.h"

#include "framework/common_controls_library.h"

namespace {

const COLORREF kTitleColor = RGB(85, 0, 0); // dark red on the light title band
const COLORREF kTextColor = RGB(255, 255, 255);
const wchar_t kLabelFace[] = L"Arial";

} // namespace

WizardDialog::WizardDialog(const wchar_t* setupDir, BOOL bUninstall, CWnd* parent)
    : CDialog(IDD_WIZARD, parent), m_bUninstall(bUninstall) {
    // The template's progress bar is a common control: its class must exist before DoModal.
    comctl::InitCommonControlClasses(ICC_PROGRESS_CLASS);
    m_hIcon = LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    CopyInto(m_szSetupDir, setupDir);
}

WizardDialog::~WizardDialog() = default;

void WizardDialog::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LAUNCH, m_chkLaunch);
    DDX_Control(pDX, IDC_CLOSE, m_btnClose);
    DDX_Control(pDX, IDC_TITLE, m_lblTitle);
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
    DDX_Control(pDX, IDC_DESCRIPTION, m_lblDescription);
    DDX_Control(pDX, IDOK, m_btnFinish);
    DDX_Control(pDX, IDCANCEL, m_btnCancel);
    DDX_Control(pDX, IDC_HEADING, m_lblHeading);
    DDX_Control(pDX, IDC_ACTION, m_btnAction);
}

BOOL WizardDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    LoadSkinBitmaps();
    InitTexts();
    BuildWindowShape();
    LayoutControls();
    return TRUE;
}

void WizardDialog::InitTexts() {
    BuildWizardCaption(m_szSetupDir, m_bUninstall, m_szCaption, kCaptionLength);
    m_lblTitle.Caption(m_szCaption)
        .TextColor(kTitleColor)
        .FontFace(kLabelFace, ANSI_CHARSET)
        .FontPointSize(11)
        .Bold(TRUE)
        .Transparent(TRUE);
    SetWindowText(m_szCaption);

    wchar_t action[kButtonTextLength] = {};
    wchar_t finish[kButtonTextLength] = {};
    wchar_t cancel[kButtonTextLength] = {};
    wchar_t heading[kLongTextLength] = {};
    wchar_t description[kLongTextLength] = {};
    if (m_bUninstall) {
        LoadWizardText(kTextRemove, action);
        LoadWizardText(kTextRemoveReady, heading);
        LoadWizardText(kTextRemoveReadyDetail, description);
    } else {
        LoadWizardText(kTextInstall, action);
        LoadWizardText(kTextInstallReady, heading);
        LoadWizardText(kTextInstallReadyDetail, description);
        wchar_t launch[kLongTextLength] = {};
        LoadWizardText(kTextLaunchApplication, launch);
        m_chkLaunch.SetWindowText(launch);
    }
    LoadWizardText(kTextFinish, finish);
    LoadWizardText(kTextCancel, cancel);

    m_btnAction.SetWindowText(action);
    m_btnFinish.SetWindowText(finish);
    m_btnCancel.SetWindowText(cancel);
    m_lblHeading.Caption(heading)
        .TextColor(kTextColor)
        .FontFace(kLabelFace, ANSI_CHARSET)
        .FontPointSize(10)
        .Bold(TRUE)
        .Transparent(TRUE);
    m_lblDescription.Caption(description)
        .TextColor(kTextColor)
        .FontFace(kLabelFace, ANSI_CHARSET)
        .FontPointSize(9)
        .Bold(TRUE)
        .Transparent(TRUE);
}

BOOL WizardDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
        case IDC_ACTION:
            OnActionButton();
            return TRUE;
        case IDC_CLOSE:
            OnCloseButton();
            return TRUE;
        default:
            break;
        }
    }
    return CDialog::OnCommand(wParam, lParam);
}

LRESULT WizardDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETUP_PROGRESS)
        return OnSetupProgress(wParam, lParam);
    return CDialog::WindowProc(message, wParam, lParam);
}

// Finish, or Enter: only once the work has ended, where the Finish button shows. Before that the
// button is hidden, and while the worker runs nothing may end the dialog.
void WizardDialog::OnOK() {
    if (m_state != State::Finished && m_state != State::Failed)
        return;
    if (m_bInstallDone)
        g_bLaunchApp = m_chkLaunch.GetCheckState() != 0;
    CDialog::OnOK();
}

// Cancel, Escape or a close request: refused while the worker runs, whose sequence would be cut
// off half done when the process ends.
void WizardDialog::OnCancel() {
    const bool workRunning =
        m_state == State::InProgress || (m_bWorkerStarted && m_state == State::Ready);
    if (workRunning)
        return;
    CDialog::OnCancel();
}

void WizardDialog::OnCloseButton() {
    // Once the work has ended Cancel is disabled, and the standard close request would end
    // nothing: the close button ends the wizard itself, without launching anything.
    if (m_state == State::Finished || m_state == State::Failed) {
        EndDialog(IDCANCEL);
        return;
    }
    SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
}

// The window has no caption: a press on the background starts a move.
void WizardDialog::OnLButtonDown(UINT, POINT point) {
    PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
    Default();
}

void WizardDialog::OnPaint() {
    if (!IsIconic(m_hWnd)) {
        Default();
        return;
    }
    CPaintDC dc(m_hWnd);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    RECT client = {};
    GetClientRect(&client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, m_hIcon);
}

HCURSOR WizardDialog::OnQueryDragIcon() {
    return static_cast<HCURSOR>(m_hIcon);
}

#include "ui/wizard_dialog.h"

#include "config/globals.h"
#include "config/text.h"
#include "res/resource.h"
#include "ui/setup_progress.h"
#include "ui/text_fit.h"

#include "framework/common_controls_library.h"

namespace {

const COLORREF kTitleColor = RGB(85, 0, 0); // dark red on the light title band
const COLORREF kTextColor = RGB(255, 255, 255);
const wchar_t kLabelFace[] = L"Arial";

// Character heights in pixels, the design's 11, 10 and 9 points at 96 dpi. The skin and every
// box on it are fixed pixels, and so are its texts: at 120 or 144 dpi a size in points would
// grow out of its box. (Where Windows scales the whole window for a program that does not
// declare itself DPI-aware, it scales skin and texts alike.)
const int kTitlePixels = 14;
const int kHeadingPixels = 13;
const int kDescriptionPixels = 12;
const int kControlPixels = 12; // buttons and checkbox: the template's 9-point font at 96 dpi

} // namespace

WizardDialog::WizardDialog(const wchar_t* setupDir, BOOL bUninstall, CWnd* parent)
    : CDialog(IDD_WIZARD, parent), m_bUninstall(bUninstall) {
    // The template's progress bar is a common control: its class must exist before DoModal.
    comctl::InitCommonControlClasses(ICC_PROGRESS_CLASS);
    m_hIcon = LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    CopyInto(m_szSetupDir, setupDir);
}

WizardDialog::~WizardDialog() = default;

void WizardDialog::SetRunOptions(const wchar_t* installDir, RunLog* log) {
    CopyInto(m_szInstallDir, installDir != nullptr ? installDir : L"");
    m_pLog = log;
}

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
    CreateControlFont();
    LoadSkinBitmaps();
    InitTexts();
    BuildWindowShape();
    LayoutControls();
    FitTitle();
    SetTabOrder();
    FocusDefaultButton(m_btnAction);
    return FALSE; // the focus is set
}

// The template's font with its height in pixels: the buttons and the checkbox ask the dialog for
// it at every paint.
void WizardDialog::CreateControlFont() {
    LOGFONTW font = {};
    const HFONT templateFont = GetFont();
    if (templateFont == nullptr ||
        GetObjectW(templateFont, sizeof(font), &font) != static_cast<int>(sizeof(font)))
        GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(font), &font);
    font.lfHeight = -kControlPixels;
    font.lfWidth = 0;
    m_fontControls.CreateFontIndirect(&font);
}

void WizardDialog::InitTexts() {
    m_nNameLength = BuildWizardCaption(m_szSetupDir, m_bUninstall, m_szCaption, kCaptionLength);
    m_lblTitle.Caption(m_szCaption)
        .TextColor(kTitleColor)
        .FontFace(kLabelFace, ANSI_CHARSET)
        .FontPixelHeight(kTitlePixels)
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
        .FontPixelHeight(kHeadingPixels)
        .Bold(TRUE)
        .Transparent(TRUE);
    m_lblDescription.Caption(description)
        .TextColor(kTextColor)
        .FontFace(kLabelFace, ANSI_CHARSET)
        .FontPixelHeight(kDescriptionPixels)
        .Bold(TRUE)
        .Transparent(TRUE);
}

// The title shows the whole suffix; an application name too long for the box ends in "...".
// The window text (the taskbar's) keeps the whole caption.
void WizardDialog::FitTitle() {
    RECT box = {};
    m_lblTitle.GetClientRect(&box);
    CClientDC dc(m_lblTitle);
    CSelectGuard font(dc, m_lblTitle.GetLabelFont());
    wchar_t shown[kCaptionLength] = {};
    FitCaption(dc, box.right - box.left, m_szCaption, m_nNameLength, shown, kCaptionLength);
    m_lblTitle.Caption(shown);
}

// Tab follows the reading order: the launch checkbox, then Install, Remove or Finish, then
// Cancel. The tab order is the order of the children.
void WizardDialog::SetTabOrder() {
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    HWND previous = HWND_TOP;
    for (HWND control :
         {m_chkLaunch.m_hWnd, m_btnAction.m_hWnd, m_btnFinish.m_hWnd, m_btnCancel.m_hWnd}) {
        ::SetWindowPos(control, previous, 0, 0, 0, 0, flags);
        previous = control;
    }
}

void WizardDialog::FocusDefaultButton(CBmpBtnCtrl& button) {
    SetDefID(static_cast<UINT>(button.GetDlgCtrlID()));
    GotoDlgCtrl(button);
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
    if (message == WM_GETFONT && !m_fontControls.IsNull())
        return reinterpret_cast<LRESULT>(m_fontControls.GetSafeHandle());
    return CDialog::WindowProc(message, wParam, lParam);
}

// Finish, or Enter: only once the work has ended, where the Finish button shows. Before that the
// button is hidden, and while the worker runs nothing may end the dialog.
void WizardDialog::OnOK() {
    if (m_state != State::kFinished && m_state != State::kFailed)
        return;
    if (m_bInstallDone)
        g_bLaunchApp = m_chkLaunch.GetCheckState() != 0;
    CDialog::OnOK();
}

// Cancel, Escape or a close request that the dialog manager turned into Cancel: only where the
// Cancel button is enabled, and never while the worker runs, whose sequence would be cut off
// half done when the process ends. After the work only Finish ends the wizard.
void WizardDialog::OnCancel() {
    const bool workRunning =
        m_state == State::kInProgress || (m_bWorkerStarted && m_state == State::kReady);
    if (workRunning || !m_btnCancel.IsWindowEnabled())
        return;
    CDialog::OnCancel();
}

// A close request (the close button, Alt+F4, the taskbar's Close): after the work it ends the
// wizard as Finish does, launch checkbox included; before it the dialog manager makes it Cancel
// while Cancel is enabled, and ignores it while Cancel is disabled.
void WizardDialog::OnClose() {
    if (m_state == State::kFinished || m_state == State::kFailed) {
        OnOK();
        return;
    }
    Default();
}

void WizardDialog::OnCloseButton() {
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

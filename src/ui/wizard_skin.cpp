// The wizard's skin: bitmaps, window shape and size, control places, background.
#include "ui/wizard_dialog.h"

#include "res/resource.h"
#include "ui/window_region.h"

namespace {

// Without its background the window keeps its template and this plain body colour, on which
// the white texts stay readable.
const COLORREF kFallbackBody = RGB(71, 93, 173);

const UINT kPlaceFlags = SWP_NOZORDER | SWP_NOOWNERZORDER;

// The title box holds one line of the title's font with its descenders, inside the skin's light
// title band.
const int kTitleHeight = 18;

} // namespace

void WizardDialog::LoadSkinBitmaps() {
    // The box belongs to the wizard: it stays in front of it, and the wizard waits for it.
    if (!m_hBackground.LoadBitmap(IDB_BACKGROUND))
        MessageBox(L"Error loading bitmap", nullptr, MB_OK);
    m_btnClose.LoadFaceBitmaps(IDB_CLOSE_NORMAL, IDB_CLOSE_NORMAL, IDB_CLOSE_HOVER, 0,
                               IDB_CLOSE_DISABLED, 0);
    m_btnAction.LoadFaceBitmaps(IDB_BUTTON_NORMAL, IDB_BUTTON_PRESSED, IDB_BUTTON_HOVER, 0, 0, 0);
    m_btnFinish.LoadFaceBitmaps(IDB_BUTTON_NORMAL, IDB_BUTTON_PRESSED, IDB_BUTTON_HOVER, 0, 0, 0);
    m_btnCancel.LoadFaceBitmaps(IDB_BUTTON_NORMAL, IDB_BUTTON_PRESSED, IDB_BUTTON_HOVER, 0, 0, 0);
    m_chkLaunch.LoadFaceBitmaps(IDB_CHECK_OFF, IDB_CHECK_OFF, IDB_CHECK_OFF, IDB_CHECK_ON, 0, 0);
}

void WizardDialog::BuildWindowShape() {
    m_bmBackground = {};
    int width = 0;
    int height = 0;
    if (m_hBackground.GetBitmap(&m_bmBackground)) {
        width = m_bmBackground.bmWidth;
        height = m_bmBackground.bmHeight;
        CRgn shape = CreateRegionFromBitmap(m_hBackground, kSkinKeyColor);
        // Once applied, the region belongs to the window.
        if (!shape.IsNull() && SetWindowRgn(m_hWnd, shape, TRUE))
            shape.Detach();
    } else {
        RECT window = {};
        GetWindowRect(&window);
        width = window.right - window.left;
        height = window.bottom - window.top;
    }
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2 - height / 2;
    SetWindowPos(HWND_TOP, x, y, width, height, 0);
}

void WizardDialog::LayoutControls() {
    if (m_hBackground.IsNull()) {
        // The places below belong to the skin; the template's own places fit its own size.
        m_btnFinish.ShowWindow(SW_HIDE);
        m_chkLaunch.ShowWindow(SW_HIDE);
        m_progress.ShowWindow(SW_HIDE);
        return;
    }
    RECT client = {};
    GetClientRect(&client);
    const int width = client.right - client.left;
    m_lblTitle.SetWindowPos(nullptr, 14, 7, width - 60, kTitleHeight, kPlaceFlags);
    m_lblHeading.SetWindowPos(nullptr, 35, 55, width - 70, 35, kPlaceFlags);
    m_lblDescription.SetWindowPos(nullptr, 200, 170, width - 230, 60, kPlaceFlags);
    m_btnClose.FitToBitmap(width - 32, 11);
    m_btnAction.FitToBitmap(width - 272, 380);
    m_btnFinish.FitToBitmap(width - 272, 380);
    m_btnFinish.ShowWindow(SW_HIDE);
    m_btnCancel.FitToBitmap(width - 133, 380);
    m_chkLaunch.FitToBitmap(200, 235);
    // Its text's room ends where the description's does, in pixels: the width that FitToBitmap
    // derives from the template grows with the dpi of the template's font.
    RECT check = {};
    m_chkLaunch.GetClientRect(&check);
    m_chkLaunch.SetWindowPos(nullptr, 0, 0, width - 230, check.bottom,
                             kPlaceFlags | SWP_NOMOVE | SWP_NOACTIVATE);
    m_chkLaunch.ShowWindow(SW_HIDE);
    m_progress.SetWindowPos(nullptr, 205, 235, width - 245, 30, kPlaceFlags | SWP_HIDEWINDOW);
}

BOOL WizardDialog::OnEraseBkgnd(HDC dc) {
    if (m_hBackground.IsNull()) {
        RECT client = {};
        GetClientRect(&client);
        CBrush body;
        if (body.CreateSolidBrush(kFallbackBody))
            FillRect(dc, &client, body);
        return TRUE;
    }
    CMemoryDC memory(dc);
    if (memory.GetSafeHdc() == nullptr)
        return TRUE;
    CSelectGuard selected(memory, m_hBackground);
    BitBlt(dc, 0, 0, m_bmBackground.bmWidth, m_bmBackground.bmHeight, memory, 0, 0, SRCCOPY);
    return TRUE;
}

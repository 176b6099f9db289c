// The wizard's skin: bitmaps, window shape and size, control places, background.
#include "ui/wizard_dialog.h"

#include "res/resource.h"
#include "ui/window_region.h"

// Written by the skin's generator with the bitmaps: the one place of the window's layout.
#include "skin_layout.h"

namespace {

static_assert(skin_layout::kKeyColor == kSkinKeyColor,
              "the region is cut where the generator paints its key colour");

const UINT kPlaceFlags = SWP_NOZORDER | SWP_NOOWNERZORDER;

void PlaceInBox(CWnd& control, const skin_layout::Box& box, UINT flags = 0) {
    control.SetWindowPos(nullptr, box.x, box.y, box.width, box.height, kPlaceFlags | flags);
}

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
        CRgn shape = CreateRegionFromBitmap(m_hBackground, skin_layout::kKeyColor);
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
        // The skin's boxes fit the skin; the template's own places fit its own size.
        m_btnFinish.ShowWindow(SW_HIDE);
        m_chkLaunch.ShowWindow(SW_HIDE);
        m_progress.ShowWindow(SW_HIDE);
        return;
    }
    // The boxes are pixels of the skin, whatever the dpi: the sizes that FitToBitmap derives for
    // the check box from the template grow with the dpi of the template's font.
    PlaceInBox(m_lblTitle, skin_layout::kTitle);
    PlaceInBox(m_lblHeading, skin_layout::kHeading);
    PlaceInBox(m_lblDescription, skin_layout::kDescription);
    PlaceInBox(m_btnClose, skin_layout::kCloseButton);
    PlaceInBox(m_btnAction, skin_layout::kActionButton);
    PlaceInBox(m_btnFinish, skin_layout::kFinishButton, SWP_HIDEWINDOW);
    PlaceInBox(m_btnCancel, skin_layout::kCancelButton);
    PlaceInBox(m_chkLaunch, skin_layout::kLaunchCheck, SWP_NOACTIVATE | SWP_HIDEWINDOW);
    PlaceInBox(m_progress, skin_layout::kProgressBar, SWP_HIDEWINDOW);
}

BOOL WizardDialog::OnEraseBkgnd(HDC dc) {
    if (m_hBackground.IsNull()) {
        RECT client = {};
        GetClientRect(&client);
        // Without its background the window keeps its template and the skin's plain body
        // colour, on which the white texts stay readable.
        CBrush body;
        if (body.CreateSolidBrush(skin_layout::kBodyColor))
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

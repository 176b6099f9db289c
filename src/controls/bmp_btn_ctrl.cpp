#include "controls/bmp_btn_ctrl.h"

#include "framework/win_app.h"

#include "framework/common_controls_library.h"

namespace {

const COLORREF kGlyphBackground = RGB(71, 93, 173);
const COLORREF kWhite = RGB(255, 255, 255);
const SIZE kPushBorder = {5, 5};

const CSkinBitmap& OrNormal(const CSkinBitmap& face, const CSkinBitmap& normal) {
    return face.IsNull() ? normal : face;
}

} // namespace

BOOL CBmpBtnCtrl::LoadFaceBitmaps(UINT normal, UINT pressed, UINT hover, UINT checked,
                                  UINT disabled, UINT disabledChecked) {
    if (m_nKind == -1) {
        m_nKind = static_cast<int>(GetStyle() & 0xFF);
        m_bDefault = m_nKind == BS_DEFPUSHBUTTON;
    }
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);

    CSkinBitmap* faces[] = {&m_bmpNormal,  &m_bmpPressed,  &m_bmpHover,
                            &m_bmpChecked, &m_bmpDisabled, &m_bmpDisabledChecked};
    for (CSkinBitmap* face : faces)
        face->DeleteObject();

    HINSTANCE module = AfxGetResourceHandle();
    if (!m_bmpNormal.LoadBitmap(module, normal))
        return FALSE;
    const UINT ids[] = {pressed, hover, checked, disabled, disabledChecked};
    BOOL allLoaded = TRUE;
    for (int i = 0; i < 5; ++i) {
        if (ids[i] != 0 && !faces[i + 1]->LoadBitmap(module, ids[i]))
            allLoaded = FALSE;
    }
    return allLoaded;
}

void CBmpBtnCtrl::FitToBitmap(int x, int y) {
    SIZE size = m_bmpNormal.GetBitmapSize();
    if (IsCheckKind() || IsRadioKind()) {
        RECT client;
        GetClientRect(&client);
        size.cy += 4;
        size.cx += (client.right - client.left) - GetSystemMetrics(SM_CXMENUCHECK) + 2;
    }
    const UINT flags = SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE;
    if (x != 0 || y != 0)
        SetWindowPos(nullptr, x, y, size.cx, size.cy, flags);
    else
        SetWindowPos(nullptr, 0, 0, size.cx, size.cy, flags | SWP_NOMOVE);
}

void CBmpBtnCtrl::SetCheckState(int state) {
    if (!IsWindowEnabled() || state == m_nCheck)
        return;
    m_nCheck = state;
    InvalidateRect(nullptr, FALSE);
}

BOOL CBmpBtnCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    // The check state changes before the parent handles the click, so its BN_CLICKED handler
    // already reads the new state.
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (IsCheckKind())
            SetCheckState(GetCheckState() == 0 ? 1 : 0);
        else if (IsRadioKind())
            SetCheckState(1);
    }
    return CButton::OnChildNotify(message, wParam, lParam, result);
}

// An owner-drawn button answers the dialog manager as a plain button, which can never be the
// default one: Enter would then press the dialog's default id even with the focus on another
// push button. The push kinds answer as push buttons instead and keep the default role that
// BM_SETSTYLE gives and takes, without letting it change the owner-drawn type.
LRESULT CBmpBtnCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // An owner-drawn button keeps no check state of its own: anyone who asks (another program,
    // an accessibility tool) gets the one this button keeps.
    if (message == BM_GETCHECK && (IsCheckKind() || IsRadioKind()))
        return m_nCheck == 1 ? BST_CHECKED : BST_UNCHECKED;
    if (IsPushKind()) {
        if (message == WM_GETDLGCODE)
            return DLGC_BUTTON | (m_bDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        if (message == BM_SETSTYLE) {
            m_bDefault = (wParam & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
            if (lParam != 0)
                InvalidateRect(nullptr, FALSE);
            return 0;
        }
    }
    return CButton::WindowProc(message, wParam, lParam);
}

void CBmpBtnCtrl::DrawItem(DRAWITEMSTRUCT* drawItem) {
    RECT rc;
    GetClientRect(&rc);
    // Declaration order makes the guards undo their selections before the bitmap and the DC go.
    CMemoryDC memory(drawItem->hDC);
    if (memory.m_hDC == nullptr)
        return;
    CBitmap buffer;
    if (!buffer.CreateCompatibleBitmap(drawItem->hDC, rc.right, rc.bottom))
        return;
    CSaveDCGuard saved(memory);
    CSelectGuard selectBuffer(memory, buffer);
    if (!selectBuffer.IsSelected())
        return;
    HFONT parentFont = reinterpret_cast<HFONT>(::SendMessageW(GetParent(), WM_GETFONT, 0, 0));
    CSelectGuard selectFont(memory, parentFont);

    if (IsCheckKind())
        DrawGlyphLook(memory, rc, drawItem->itemState, false);
    else if (IsRadioKind())
        DrawGlyphLook(memory, rc, drawItem->itemState, true);
    else
        DrawPushLook(memory, rc, drawItem->itemState); // every other kind too

    BitBlt(drawItem->hDC, 0, 0, rc.right, rc.bottom, memory, 0, 0, SRCCOPY);
}

const CSkinBitmap& CBmpBtnCtrl::PushFace(UINT state) const {
    if (state & ODS_DISABLED)
        return OrNormal(m_bmpDisabled, m_bmpNormal);
    if (state & ODS_SELECTED)
        return OrNormal(m_bmpPressed, m_bmpNormal);
    if (m_bHover)
        return OrNormal(m_bmpHover, m_bmpNormal);
    return m_bmpNormal;
}

// Ticked beats hover and hover beats pressed: a ticked box stays ticked under the mouse.
const CSkinBitmap& CBmpBtnCtrl::GlyphFace(UINT state) const {
    if ((state & ODS_DISABLED) && m_nCheck == 1)
        return OrNormal(m_bmpDisabledChecked, m_bmpNormal);
    if (state & ODS_DISABLED)
        return OrNormal(m_bmpDisabled, m_bmpNormal);
    if (m_nCheck == 1)
        return OrNormal(m_bmpChecked, m_bmpNormal);
    if (m_bHover)
        return OrNormal(m_bmpHover, m_bmpNormal);
    if (state & ODS_SELECTED)
        return OrNormal(m_bmpPressed, m_bmpNormal);
    return m_bmpNormal;
}

void CBmpBtnCtrl::DrawPushLook(HDC dc, RECT rc, UINT state) {
    const CSkinBitmap& face = PushFace(state);
    SIZE size = face.GetBitmapSize();
    if (size.cx == rc.right - rc.left && size.cy == rc.bottom - rc.top)
        face.DrawAt(dc, 0, 0);
    else
        face.DrawBorderStretched(dc, rc, kPushBorder);

    const bool enabled = IsWindowEnabled() != FALSE;
    // A hovered button without a hover face shows no focus rectangle: the face does not change,
    // and a rectangle appearing alone would look like a glitch.
    const bool faceShowsState =
        !m_bHover || (state & (ODS_SELECTED | ODS_DISABLED)) || !m_bmpHover.IsNull();
    if (faceShowsState && (GetStyle() & WS_TABSTOP) && enabled && (state & ODS_FOCUS)) {
        RECT focus = rc;
        InflateRect(&focus, -1, -1);
        DrawFocusRect(dc, &focus);
    }

    int oldMode = SetBkMode(dc, TRANSPARENT);
    CString text;
    GetWindowText(text);
    if (!text.IsEmpty()) {
        RECT textRect = rc;
        if (state & ODS_SELECTED)
            OffsetRect(&textRect, 1, 1);
        COLORREF oldColor = SetTextColor(dc, enabled ? kWhite : GetSysColor(COLOR_GRAYTEXT));
        DrawTextW(dc, text, -1, &textRect,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
        SetTextColor(dc, oldColor);
    }
    SetBkMode(dc, oldMode);
}

void CBmpBtnCtrl::DrawGlyphLook(HDC dc, RECT rc, UINT state, bool radio) {
    CBrush fill;
    if (fill.CreateSolidBrush(kGlyphBackground))
        FillRect(dc, &rc, fill);

    const CSkinBitmap& face = GlyphFace(state);
    SIZE size = face.GetBitmapSize();
    RECT glyph = {0, 0, size.cx, size.cy};
    OffsetRect(&glyph, 0, (rc.top + rc.bottom) / 2 - size.cy / 2);
    face.DrawStretched(dc, glyph);

    const bool enabled = IsWindowEnabled() != FALSE;
    const bool focused = (state & ODS_FOCUS) != 0;
    CString text;
    GetWindowText(text);
    if (text.IsEmpty()) {
        if (radio && enabled && focused)
            DrawFocusRect(dc, &glyph);
        return;
    }

    // The radio look brings its own 9-point Arial, selected only around the text.
    CFont radioFont;
    if (radio)
        radioFont.CreatePointFont(90, L"Arial");
    CSelectGuard selectFont(dc, radioFont);

    COLORREF oldColor = SetTextColor(dc, enabled ? kWhite : GetSysColor(COLOR_GRAYTEXT));
    RECT textRect = glyph;
    textRect.left = glyph.right + 4;
    int textHeight = DrawTextW(dc, text, -1, &textRect, DT_CALCRECT | DT_SINGLELINE | DT_VCENTER);
    textRect.bottom = textRect.top + textHeight + 1;
    if (!radio)
        OffsetRect(&textRect, 0, -1);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, text, -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColor);

    const bool focusAllowed = radio || (GetStyle() & WS_TABSTOP);
    if (focusAllowed && enabled && focused) {
        InflateRect(&textRect, 2, 1);
        DrawFocusRect(dc, &textRect);
    }
}

void CBmpBtnCtrl::OnMouseMove(UINT flags, POINT point) {
    if (!m_bTracking) {
        TRACKMOUSEEVENT request = {};
        request.cbSize = sizeof(request);
        request.dwFlags = TME_HOVER | TME_LEAVE;
        request.hwndTrack = m_hWnd;
        request.dwHoverTime = 1;
        m_bTracking = comctl::TrackMouseEvent(&request);
    }
    CButton::OnMouseMove(flags, point);
}

void CBmpBtnCtrl::OnMouseHover(UINT, POINT) {
    m_bHover = TRUE;
    if (IsWindowEnabled())
        InvalidateRect(nullptr, FALSE);
}

void CBmpBtnCtrl::OnMouseLeave() {
    m_bHover = FALSE;
    m_bTracking = FALSE;
    if (IsWindowEnabled())
        InvalidateRect(nullptr, FALSE);
}

BOOL CBmpBtnCtrl::OnEraseBkgnd(HDC) {
    return TRUE; // DrawItem covers the whole client area
}

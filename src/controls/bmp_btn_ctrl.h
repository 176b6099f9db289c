// CBmpBtnCtrl: an owner-drawn button whose faces are bitmaps. The button style it had in the
// dialog template chooses its look: push button (face with centred white text), checkbox or
// radio button (glyph on the skin's blue with white text to its right). It draws each paint
// off-screen and copies it in one BitBlt, shows a hover face while the mouse rests on it, and
// keeps its own check state, toggled before the parent sees BN_CLICKED. To the dialog manager a
// push button stays a push button although it is owner-drawn: it can be the default button,
// which Enter presses, and a focused push button takes that role while it has the focus.
#pragma once

#include "controls/skin_bitmap.h"
#include "framework/common_controls.h"

class CBmpBtnCtrl : public CButton {
public:
    CBmpBtnCtrl() = default;

    // Bitmap resource ids of the program's module; 0 means no such face. The normal face is
    // required. Captures the button kind on the first call and makes the button owner-drawn.
    // TRUE when every requested face loaded.
    BOOL LoadFaceBitmaps(UINT normal, UINT pressed, UINT hover, UINT checked, UINT disabled,
                         UINT disabledChecked);

    // Moves the button to (x, y) in the parent's client area and sizes it to its normal face
    // (plus room for the text for checkboxes and radio buttons); (0, 0) only sizes it.
    virtual void FitToBitmap(int x, int y);
    virtual int GetCheckState() const { return m_nCheck; }
    // Ignored by a disabled button.
    virtual void SetCheckState(int state);
    // The low byte of the style captured by the first LoadFaceBitmaps, -1 before.
    virtual int GetButtonKind() const { return m_nKind; }
    // A push button that the dialog manager made its default button (BM_SETSTYLE).
    BOOL IsDefaultButton() const { return m_bDefault; }

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void DrawItem(DRAWITEMSTRUCT* drawItem) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void OnMouseMove(UINT flags, POINT point) override;
    void OnMouseHover(UINT flags, POINT point) override;
    void OnMouseLeave() override;
    BOOL OnEraseBkgnd(HDC dc) override;

private:
    bool IsCheckKind() const { return m_nKind == BS_CHECKBOX || m_nKind == BS_AUTOCHECKBOX; }
    bool IsRadioKind() const { return m_nKind == BS_RADIOBUTTON || m_nKind == BS_AUTORADIOBUTTON; }
    bool IsPushKind() const { return m_nKind == BS_PUSHBUTTON || m_nKind == BS_DEFPUSHBUTTON; }
    void DrawPushLook(HDC dc, RECT rc, UINT state);
    // The checkbox and the radio look differ in font, text offset and focus rules only.
    void DrawGlyphLook(HDC dc, RECT rc, UINT state, bool radio);
    const CSkinBitmap& PushFace(UINT state) const;
    const CSkinBitmap& GlyphFace(UINT state) const;

    CSkinBitmap m_bmpNormal;
    CSkinBitmap m_bmpPressed;
    CSkinBitmap m_bmpChecked;
    CSkinBitmap m_bmpHover;
    CSkinBitmap m_bmpDisabled;
    CSkinBitmap m_bmpDisabledChecked;
    BOOL m_bHover = FALSE;
    BOOL m_bTracking = FALSE;
    int m_nCheck = 0;
    int m_nKind = -1;
    BOOL m_bDefault = FALSE;
};

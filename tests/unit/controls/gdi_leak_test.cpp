// A thousand paints of every look leave no GDI object behind.
#include "controls/bmp_btn_ctrl.h"
#include "controls/text_label_ctrl.h"
#include "pixels.h"
#include "test_faces.h"

#include <gtest/gtest.h>

namespace {

using testing_support::GdiObjectMeasure;
using testing_support::TestParent;

const int kPaints = 1000;
const long kSlack = 20; // caches of the system that fill once

void PaintRepeatedly(CWnd& control, int paints = kPaints) {
    for (int i = 0; i < paints; ++i) {
        control.Invalidate(FALSE);
        control.UpdateWindow();
    }
}

TEST(GdiLeak, TheMeasureSeesALeak) {
    const long before = GdiObjectMeasure();
    std::vector<HBRUSH> leaked;
    for (int i = 0; i < kPaints; ++i)
        leaked.push_back(CreateSolidBrush(RGB(i & 0xFF, 0, 0)));
    const long during = GdiObjectMeasure();
    for (HBRUSH brush : leaked)
        DeleteObject(brush);
    EXPECT_GE(during - before, kPaints - kSlack);
}

TEST(GdiLeak, ButtonPaintsLeaveNothingBehind) {
    TestParent parent;
    CBmpBtnCtrl push, stretched, check, radio;
    ASSERT_TRUE(push.CreateEx(0, L"BUTTON", L"Next", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                              RECT{0, 0, 30, 20}, parent, 1));
    ASSERT_TRUE(stretched.CreateEx(0, L"BUTTON", L"Next", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                   RECT{0, 30, 80, 60}, parent, 2));
    ASSERT_TRUE(check.CreateEx(0, L"BUTTON", L"Launch", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX,
                               RECT{0, 70, 120, 100}, parent, 3));
    ASSERT_TRUE(radio.CreateEx(0, L"BUTTON", L"Option", WS_CHILD | WS_VISIBLE | BS_RADIOBUTTON,
                               RECT{0, 110, 120, 140}, parent, 4));
    push.LoadFaceBitmaps(IDB_PUSH_NORMAL, IDB_PUSH_PRESSED, IDB_PUSH_HOVER, 0, 0, 0);
    stretched.LoadFaceBitmaps(IDB_PUSH_NORMAL, 0, 0, 0, 0, 0);
    check.LoadFaceBitmaps(IDB_CHECK_OFF, 0, 0, IDB_CHECK_ON, 0, 0);
    radio.LoadFaceBitmaps(IDB_CHECK_OFF, 0, 0, IDB_CHECK_ON, 0, 0);
    CWnd* controls[] = {&push, &stretched, &check, &radio};
    for (CWnd* control : controls)
        PaintRepeatedly(*control, 10); // warm up what the system caches

    const long before = GdiObjectMeasure();
    ASSERT_GE(before, 0);
    for (CWnd* control : controls)
        PaintRepeatedly(*control);
    const long after = GdiObjectMeasure();
    ASSERT_GE(after, 0);
    EXPECT_LE(after - before, kSlack);
}

TEST(GdiLeak, DrawingIntoAnUnusableDcDrawsNothingAndLeaksNothing) {
    TestParent parent;
    CBmpBtnCtrl push;
    ASSERT_TRUE(push.CreateEx(0, L"BUTTON", L"Next", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                              RECT{0, 0, 80, 30}, parent, 1));
    push.LoadFaceBitmaps(IDB_PUSH_NORMAL, 0, 0, 0, 0, 0);
    // A DC that is already deleted: the off-screen DC or bitmap cannot be made from it.
    HDC gone = CreateCompatibleDC(nullptr);
    DeleteDC(gone);
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.hwndItem = push;
    item.hDC = gone;
    const long before = GdiObjectMeasure();
    ASSERT_GE(before, 0);
    for (int i = 0; i < kPaints; ++i)
        push.DrawItem(&item);
    const long after = GdiObjectMeasure();
    ASSERT_GE(after, 0);
    EXPECT_LE(after - before, kSlack);
}

TEST(GdiLeak, LabelPaintsLeaveNothingBehind) {
    TestParent parent;
    CTextLabelCtrl solid, gradient, transparent, rotated;
    const DWORD style = WS_CHILD | WS_VISIBLE;
    ASSERT_TRUE(solid.CreateEx(0, L"STATIC", L"Solid", style, RECT{0, 0, 200, 30}, parent, 1));
    ASSERT_TRUE(
        gradient.CreateEx(0, L"STATIC", L"Gradient", style, RECT{0, 40, 200, 70}, parent, 2));
    ASSERT_TRUE(
        transparent.CreateEx(0, L"STATIC", L"Clear", style, RECT{0, 80, 200, 110}, parent, 3));
    ASSERT_TRUE(
        rotated.CreateEx(0, L"STATIC", L"Turned", style, RECT{0, 120, 200, 220}, parent, 4));
    solid.Background(RGB(1, 2, 3)).Relief(TRUE, 1).FontFace(L"Arial").FontPointSize(11);
    gradient.Background(RGB(0, 0, 0), RGB(255, 0, 0), 1).FlashingText(TRUE);
    transparent.Transparent(TRUE).Bold(TRUE);
    rotated.Rotation(45, TRUE);
    CWnd* labels[] = {&solid, &gradient, &transparent, &rotated};
    for (CWnd* label : labels)
        PaintRepeatedly(*label, 10);

    const long before = GdiObjectMeasure();
    ASSERT_GE(before, 0);
    for (CWnd* label : labels)
        PaintRepeatedly(*label);
    for (int i = 0; i < 100; ++i)
        solid.Bold(i % 2).TextColor(RGB(i, 0, 0)).Background(RGB(0, i, 0));
    const long after = GdiObjectMeasure();
    ASSERT_GE(after, 0);
    EXPECT_LE(after - before, kSlack);
    gradient.FlashingText(FALSE);
}

} // namespace

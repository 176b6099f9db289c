// CBmpBtnCtrl's push look: face choice, 1:1 and border-stretched faces, text, hover, disabled
// state, FitToBitmap and the loading of faces, as shown on the screen.
#include "controls/bmp_btn_ctrl.h"
#include "pixels.h"
#include "test_faces.h"

#include <gtest/gtest.h>

namespace {

using testing_support::Capture;
using testing_support::FaceColour;
using testing_support::IsGrey;
using testing_support::Pixels;
using testing_support::PumpMessagesUntil;
using testing_support::TestParent;

const COLORREF kWhite = RGB(255, 255, 255);
const int kButtonId = 100;

bool IsWhite(COLORREF c) {
    return c == kWhite;
}

class PushButtonTest : public ::testing::Test {
protected:
    void Make(DWORD style, const wchar_t* text, RECT rect) {
        ASSERT_TRUE(m_button.CreateEx(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | style, rect,
                                      m_parent, kButtonId));
    }
    void MakeWithFaces(const wchar_t* text, RECT rect) {
        Make(BS_PUSHBUTTON, text, rect);
        ASSERT_TRUE(m_button.LoadFaceBitmaps(IDB_PUSH_NORMAL, IDB_PUSH_PRESSED, IDB_PUSH_HOVER, 0,
                                             IDB_PUSH_DISABLED, 0));
    }
    Pixels Show() {
        m_button.Invalidate(FALSE);
        m_button.UpdateWindow();
        return Capture(m_button);
    }
    static bool ShowsFace(const Pixels& pixels, int blue) {
        return pixels.At(0, 0) == FaceColour(0, 0, blue);
    }

    TestParent m_parent;
    CBmpBtnCtrl m_button;
};

TEST_F(PushButtonTest, LoadingFacesCapturesTheKindAndMakesTheButtonOwnerDrawn) {
    Make(BS_DEFPUSHBUTTON | WS_TABSTOP, L"", RECT{10, 10, 40, 30});
    EXPECT_EQ(-1, m_button.GetButtonKind());
    ASSERT_TRUE(m_button.LoadFaceBitmaps(IDB_PUSH_NORMAL, 0, 0, 0, 0, 0));
    EXPECT_EQ(BS_DEFPUSHBUTTON, m_button.GetButtonKind());
    DWORD style = m_button.GetStyle();
    EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), style & BS_TYPEMASK);
    EXPECT_NE(0u, style & WS_TABSTOP);
    // A later call keeps the kind first captured, whatever the style says now.
    m_button.ModifyStyle(BS_TYPEMASK, BS_AUTOCHECKBOX);
    m_button.LoadFaceBitmaps(IDB_PUSH_NORMAL, 0, 0, 0, 0, 0);
    EXPECT_EQ(BS_DEFPUSHBUTTON, m_button.GetButtonKind());
}

// To the dialog manager an owner-drawn push button is still a push button: it can be the
// default one, and the dialog manager's BM_SETSTYLE moves that role without undoing the
// owner-drawn type.
TEST_F(PushButtonTest, DefaultRoleMovesWithBmSetStyleAndTheButtonStaysOwnerDrawn) {
    Make(BS_DEFPUSHBUTTON | WS_TABSTOP, L"", RECT{10, 10, 40, 30});
    ASSERT_TRUE(m_button.LoadFaceBitmaps(IDB_PUSH_NORMAL, 0, 0, 0, 0, 0));
    EXPECT_TRUE(m_button.SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON);
    m_button.SendMessage(BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    EXPECT_FALSE(m_button.IsDefaultButton());
    EXPECT_TRUE(m_button.SendMessage(WM_GETDLGCODE) & DLGC_UNDEFPUSHBUTTON);
    EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), m_button.GetStyle() & BS_TYPEMASK);
    m_button.SendMessage(BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_TRUE(m_button.IsDefaultButton());
    EXPECT_TRUE(m_button.SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON);
    EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), m_button.GetStyle() & BS_TYPEMASK);
}

TEST_F(PushButtonTest, FaceOfTheButtonsSizeIsShownOneToOne) {
    MakeWithFaces(L"", RECT{10, 10, 40, 30});
    Pixels pixels = Show();
    ASSERT_EQ(30, pixels.width);
    ASSERT_EQ(20, pixels.height);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ(FaceColour(x, y, FACE_PUSH_NORMAL), pixels.At(x, y)) << x << "," << y;
}

TEST_F(PushButtonTest, LargerButtonKeepsFivePixelBordersAndStretchesTheMiddle) {
    MakeWithFaces(L"", RECT{10, 10, 50, 35}); // 40 x 25, face 30 x 20
    Pixels pixels = Show();
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(FaceColour(x, y, FACE_PUSH_NORMAL), pixels.At(x, y));
            EXPECT_EQ(FaceColour(25 + x, y, FACE_PUSH_NORMAL), pixels.At(35 + x, y));
            EXPECT_EQ(FaceColour(x, 15 + y, FACE_PUSH_NORMAL), pixels.At(x, 20 + y));
            EXPECT_EQ(FaceColour(25 + x, 15 + y, FACE_PUSH_NORMAL), pixels.At(35 + x, 20 + y));
        }
    // Top and bottom borders keep their rows, left and right borders their columns.
    for (int x = 5; x < 35; ++x) {
        EXPECT_EQ(0, GetGValue(pixels.At(x, 0)));
        EXPECT_EQ(190, GetGValue(pixels.At(x, 24)));
        EXPECT_GE(GetRValue(pixels.At(x, 0)), 5 * 8);
        EXPECT_LE(GetRValue(pixels.At(x, 0)), 24 * 8);
    }
    for (int y = 5; y < 20; ++y) {
        EXPECT_EQ(0, GetRValue(pixels.At(0, y)));
        EXPECT_EQ(29 * 8, GetRValue(pixels.At(39, y)));
    }
    // The stretched middle runs through the face's middle columns in order.
    int previous = 0;
    for (int x = 5; x < 35; ++x) {
        int red = GetRValue(pixels.At(x, 12));
        EXPECT_GE(red, previous);
        previous = red;
    }
    EXPECT_EQ(5 * 8, GetRValue(pixels.At(5, 12)));
    EXPECT_EQ(24 * 8, GetRValue(pixels.At(34, 12)));
}

TEST_F(PushButtonTest, NarrowButtonWithAnotherFaceSizeShowsOnlyItsText) {
    MakeWithFaces(L"W", RECT{10, 10, 20, 30}); // 10 x 20, face 30 x 20
    Pixels pixels = Show();
    EXPECT_EQ(0, pixels.Count([](COLORREF c) { return !IsGrey(c); })); // no face pixel
    EXPECT_GT(pixels.Count(IsWhite), 0);
}

TEST_F(PushButtonTest, NarrowButtonWithAFaceOfItsOwnSizeShowsTheFace) {
    Make(BS_PUSHBUTTON, L"", RECT{10, 10, 20, 30});
    ASSERT_TRUE(m_button.LoadFaceBitmaps(IDB_PUSH_TEN, 0, 0, 0, 0, 0));
    Pixels pixels = Show();
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(FaceColour(x, y, FACE_PUSH_TEN), pixels.At(x, y));
}

TEST_F(PushButtonTest, PressedButtonShowsThePressedFaceWithTheTextOnePixelDownAndRight) {
    MakeWithFaces(L"Hi", RECT{10, 10, 40, 30});
    Pixels normal = Show();
    ASSERT_TRUE(ShowsFace(normal, FACE_PUSH_NORMAL));
    RECT normalText = normal.BoundsOf(IsWhite);
    ASSERT_LT(normalText.left, normalText.right);

    m_button.SendMessage(BM_SETSTATE, TRUE);
    Pixels pressed = Show();
    EXPECT_TRUE(ShowsFace(pressed, FACE_PUSH_PRESSED));
    RECT pressedText = pressed.BoundsOf(IsWhite);
    EXPECT_EQ(normalText.left + 1, pressedText.left);
    EXPECT_EQ(normalText.top + 1, pressedText.top);
    EXPECT_EQ(normalText.right + 1, pressedText.right);
    EXPECT_EQ(normalText.bottom + 1, pressedText.bottom);
}

TEST_F(PushButtonTest, DisabledButtonShowsItsFaceAndGreyTextAndIgnoresHover) {
    MakeWithFaces(L"Hi", RECT{10, 10, 40, 30});
    m_button.EnableWindow(FALSE);
    Pixels pixels = Show();
    EXPECT_TRUE(ShowsFace(pixels, FACE_PUSH_DISABLED));
    const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    EXPECT_GT(pixels.Count([grey](COLORREF c) { return c == grey; }), 0);
    EXPECT_EQ(0, pixels.Count(IsWhite));

    m_button.SendMessage(WM_MOUSEHOVER);
    RECT update;
    EXPECT_FALSE(GetUpdateRect(m_button, &update, FALSE));
    EXPECT_TRUE(ShowsFace(Show(), FACE_PUSH_DISABLED));
}

TEST_F(PushButtonTest, DisabledButtonWithoutDisabledFaceShowsTheNormalFace) {
    Make(BS_PUSHBUTTON, L"", RECT{10, 10, 40, 30});
    ASSERT_TRUE(m_button.LoadFaceBitmaps(IDB_PUSH_NORMAL, IDB_PUSH_PRESSED, 0, 0, 0, 0));
    m_button.EnableWindow(FALSE);
    EXPECT_TRUE(ShowsFace(Show(), FACE_PUSH_NORMAL));
}

TEST_F(PushButtonTest, HoverShowsTheHoverFaceUntilTheMouseLeaves) {
    MakeWithFaces(L"", RECT{10, 10, 40, 30});
    ASSERT_TRUE(ShowsFace(Show(), FACE_PUSH_NORMAL));
    m_button.SendMessage(WM_MOUSEHOVER);
    RECT update;
    EXPECT_TRUE(GetUpdateRect(m_button, &update, FALSE)); // hover asks for a repaint itself
    m_button.UpdateWindow();
    EXPECT_TRUE(ShowsFace(Capture(m_button), FACE_PUSH_HOVER));
    m_button.SendMessage(WM_MOUSELEAVE);
    m_button.UpdateWindow();
    EXPECT_TRUE(ShowsFace(Capture(m_button), FACE_PUSH_NORMAL));
}

TEST_F(PushButtonTest, MouseRestingOnTheButtonShowsHoverUntilItLeaves) {
    MakeWithFaces(L"", RECT{10, 10, 40, 30});
    SetForegroundWindow(m_parent);
    RECT screen;
    m_button.GetWindowRect(&screen);
    ASSERT_TRUE(SetCursorPos(screen.left + 15, screen.top + 10));
    ASSERT_TRUE(ShowsFace(Show(), FACE_PUSH_NORMAL));
    // The button asks for hover and leave reports itself when the mouse moves over it.
    m_button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(15, 10));
    PumpMessagesUntil([&] { return ShowsFace(Capture(m_button), FACE_PUSH_HOVER); }, 3000);
    EXPECT_TRUE(ShowsFace(Capture(m_button), FACE_PUSH_HOVER));
    ASSERT_TRUE(SetCursorPos(screen.right + 100, screen.bottom + 100));
    PumpMessagesUntil([&] { return ShowsFace(Capture(m_button), FACE_PUSH_NORMAL); }, 3000);
    EXPECT_TRUE(ShowsFace(Capture(m_button), FACE_PUSH_NORMAL));
}

TEST_F(PushButtonTest, FocusRectangleIsHiddenWhileHoveringAButtonWithoutHoverFace) {
    Make(BS_PUSHBUTTON | WS_TABSTOP, L"", RECT{10, 10, 40, 30});
    ASSERT_TRUE(m_button.LoadFaceBitmaps(IDB_PUSH_NORMAL, 0, 0, 0, 0, 0));
    SetForegroundWindow(m_parent);
    SetFocus(m_button);
    ASSERT_EQ(m_button.GetSafeHwnd(), GetFocus());
    // The focus rectangle runs one pixel inside the edge: its pixels are not the face's.
    auto focusPixels = [](const Pixels& p) {
        int changed = 0;
        for (int x = 1; x < 29; ++x)
            changed += p.At(x, 1) != FaceColour(x, 1, FACE_PUSH_NORMAL) ? 1 : 0;
        return changed;
    };
    EXPECT_GT(focusPixels(Show()), 0);
    m_button.SendMessage(WM_MOUSEHOVER);
    EXPECT_EQ(0, focusPixels(Show()));
}

TEST_F(PushButtonTest, KindWithoutALookDrawsThePushLook) {
    Make(BS_PUSHBUTTON | BS_LEFTTEXT, L"", RECT{10, 10, 40, 30});
    ASSERT_TRUE(m_button.LoadFaceBitmaps(IDB_PUSH_NORMAL, 0, 0, 0, 0, 0));
    EXPECT_EQ(BS_LEFTTEXT, m_button.GetButtonKind());
    EXPECT_TRUE(ShowsFace(Show(), FACE_PUSH_NORMAL));
}

TEST_F(PushButtonTest, MissingNormalFaceFailsAndLoadsNothingElse) {
    Make(BS_PUSHBUTTON, L"", RECT{10, 10, 40, 30});
    EXPECT_FALSE(m_button.LoadFaceBitmaps(IDB_MISSING, IDB_PUSH_PRESSED, 0, 0, 0, 0));
    m_button.SendMessage(BM_SETSTATE, TRUE);
    // No face at all: the pressed face was not loaded either.
    Pixels pixels = Show();
    EXPECT_EQ(0, pixels.Count([](COLORREF c) { return !IsGrey(c); }));
}

TEST_F(PushButtonTest, MissingOptionalFaceFailsButTheOthersStillLoad) {
    Make(BS_PUSHBUTTON, L"", RECT{10, 10, 40, 30});
    EXPECT_FALSE(m_button.LoadFaceBitmaps(IDB_PUSH_NORMAL, IDB_MISSING, IDB_PUSH_HOVER, 0, 0, 0));
    m_button.SendMessage(WM_MOUSEHOVER);
    EXPECT_TRUE(ShowsFace(Show(), FACE_PUSH_HOVER));
    m_button.SendMessage(BM_SETSTATE, TRUE);
    EXPECT_TRUE(ShowsFace(Show(), FACE_PUSH_NORMAL)); // the missing pressed face falls back
}

TEST_F(PushButtonTest, FitToBitmapWithZeroZeroKeepsThePosition) {
    MakeWithFaces(L"", RECT{7, 9, 107, 59});
    m_button.FitToBitmap(0, 0);
    RECT rect;
    m_button.GetWindowRect(&rect);
    MapWindowPoints(nullptr, m_parent, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(7, rect.left);
    EXPECT_EQ(9, rect.top);
    EXPECT_EQ(30, rect.right - rect.left);
    EXPECT_EQ(20, rect.bottom - rect.top);

    m_button.FitToBitmap(0, 5);
    m_button.GetWindowRect(&rect);
    MapWindowPoints(nullptr, m_parent, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(0, rect.left);
    EXPECT_EQ(5, rect.top);
    EXPECT_EQ(30, rect.right - rect.left);
}

} // namespace

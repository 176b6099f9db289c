// CBmpBtnCtrl as checkbox and radio button: the blue fill, the glyph, the text beside it, the
// face rules and the check state kept by the button.
#include "controls/bmp_btn_ctrl.h"
#include "pixels.h"
#include "test_faces.h"

#include <gtest/gtest.h>

namespace {

using testing_support::Capture;
using testing_support::FaceColour;
using testing_support::Pixels;
using testing_support::TestParent;

const COLORREF kFill = RGB(71, 93, 173);
const COLORREF kWhite = RGB(255, 255, 255);
const int kCheckId = 101;

class CheckboxTest : public ::testing::Test {
protected:
    void Make(DWORD style, const wchar_t* text) {
        ASSERT_TRUE(m_box.CreateEx(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | style,
                                   RECT{20, 20, 140, 50}, m_parent, kCheckId));
        ASSERT_TRUE(m_box.LoadFaceBitmaps(IDB_CHECK_OFF, IDB_CHECK_PRESSED, IDB_CHECK_HOVER,
                                          IDB_CHECK_ON, IDB_CHECK_DISABLED, IDB_CHECK_DISABLED_ON));
        m_box.FitToBitmap(0, 0);
    }
    Pixels Show() {
        m_box.Invalidate(FALSE);
        m_box.UpdateWindow();
        return Capture(m_box);
    }
    // The glyph sits at x = 0, two pixels down in a control 4 pixels higher than the face.
    static int GlyphFace(const Pixels& pixels) { return GetBValue(pixels.At(0, 2)); }

    TestParent m_parent;
    CBmpBtnCtrl m_box;
};

TEST_F(CheckboxTest, FitToBitmapMakesRoomForGlyphAndText) {
    Make(BS_AUTOCHECKBOX, L"");
    RECT client;
    m_box.GetClientRect(&client);
    EXPECT_EQ(24 + 4, client.bottom);
    EXPECT_EQ(21 + 120 - GetSystemMetrics(SM_CXMENUCHECK) + 2, client.right);
}

TEST_F(CheckboxTest, GlyphIsVerticallyCentredOnTheBlueFill) {
    Make(BS_AUTOCHECKBOX, L"");
    Pixels pixels = Show();
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 21; ++x)
            ASSERT_EQ(FaceColour(x, y, FACE_CHECK_OFF), pixels.At(x, y + 2)) << x << "," << y;
    for (int x = 0; x < pixels.width; ++x) {
        EXPECT_EQ(kFill, pixels.At(x, 0));
        EXPECT_EQ(kFill, pixels.At(x, 1));
        EXPECT_EQ(kFill, pixels.At(x, 26));
        EXPECT_EQ(kFill, pixels.At(x, 27));
    }
    // No text: nothing but fill to the right of the glyph.
    for (int y = 0; y < pixels.height; ++y)
        for (int x = 21; x < pixels.width; ++x)
            ASSERT_EQ(kFill, pixels.At(x, y));
}

TEST_F(CheckboxTest, TextIsWhiteAndStartsFourPixelsRightOfTheGlyph) {
    Make(BS_AUTOCHECKBOX, L"Launch");
    Pixels pixels = Show();
    RECT text = pixels.BoundsOf([](COLORREF c) { return c == kWhite; });
    ASSERT_LT(text.left, text.right);
    EXPECT_GE(text.left, 25);
    EXPECT_GE(text.top, 0);
}

TEST_F(CheckboxTest, ClickTogglesTheStateBeforeTheParentSeesBnClicked) {
    Make(BS_AUTOCHECKBOX, L"Launch");
    std::vector<int> seenByParent;
    m_parent.onClicked = [&] { seenByParent.push_back(m_box.GetCheckState()); };
    m_box.SendMessage(BM_CLICK);
    m_box.SendMessage(BM_CLICK);
    ASSERT_EQ(2u, seenByParent.size());
    EXPECT_EQ(1, seenByParent[0]);
    EXPECT_EQ(0, seenByParent[1]);
    EXPECT_EQ(kCheckId, m_parent.clickedIds[0]);
}

TEST_F(CheckboxTest, AnswersBmGetCheckWithItsStateAndIsNoPushButton) {
    Make(BS_AUTOCHECKBOX, L"Launch");
    EXPECT_EQ(BST_UNCHECKED, m_box.SendMessage(BM_GETCHECK));
    m_box.SendMessage(BM_CLICK);
    EXPECT_EQ(BST_CHECKED, m_box.SendMessage(BM_GETCHECK));
    const LRESULT code = m_box.SendMessage(WM_GETDLGCODE);
    EXPECT_EQ(0, code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) << "Enter never presses it";
}

TEST_F(CheckboxTest, TickedFaceFollowsTheState) {
    Make(BS_AUTOCHECKBOX, L"");
    EXPECT_EQ(FACE_CHECK_OFF, GlyphFace(Show()));
    m_box.SendMessage(BM_CLICK);
    EXPECT_EQ(1, m_box.GetCheckState());
    EXPECT_EQ(FACE_CHECK_ON, GlyphFace(Show()));
}

TEST_F(CheckboxTest, TickedFaceBeatsHoverAndHoverBeatsPressed) {
    Make(BS_AUTOCHECKBOX, L"");
    m_box.SendMessage(WM_MOUSEHOVER);
    m_box.SendMessage(BM_SETSTATE, TRUE);
    EXPECT_EQ(FACE_CHECK_HOVER, GlyphFace(Show()));
    m_box.SetCheckState(1);
    EXPECT_EQ(FACE_CHECK_ON, GlyphFace(Show()));
    m_box.SendMessage(WM_MOUSELEAVE);
    m_box.SetCheckState(0);
    EXPECT_EQ(FACE_CHECK_PRESSED, GlyphFace(Show()));
}

TEST_F(CheckboxTest, DisabledCheckboxIgnoresSetCheckState) {
    Make(BS_AUTOCHECKBOX, L"Launch");
    m_box.EnableWindow(FALSE);
    m_box.SetCheckState(1);
    EXPECT_EQ(0, m_box.GetCheckState());
    Pixels pixels = Show();
    EXPECT_EQ(FACE_CHECK_DISABLED, GlyphFace(pixels));
    const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    EXPECT_GT(pixels.Count([grey](COLORREF c) { return c == grey; }), 0);
}

TEST_F(CheckboxTest, DisabledTickedCheckboxShowsItsOwnFace) {
    Make(BS_AUTOCHECKBOX, L"");
    m_box.SetCheckState(1);
    m_box.EnableWindow(FALSE);
    EXPECT_EQ(FACE_CHECK_DISABLED_ON, GlyphFace(Show()));
    m_box.SetCheckState(0);
    EXPECT_EQ(1, m_box.GetCheckState());
}

TEST_F(CheckboxTest, RadioButtonIsOnlyEverTickedByAClick) {
    Make(BS_AUTORADIOBUTTON, L"Option");
    m_box.SendMessage(BM_CLICK);
    EXPECT_EQ(1, m_box.GetCheckState());
    m_box.SendMessage(BM_CLICK);
    EXPECT_EQ(1, m_box.GetCheckState());
    Pixels pixels = Show();
    EXPECT_EQ(FACE_CHECK_ON, GlyphFace(pixels));
    EXPECT_GT(pixels.Count([](COLORREF c) { return c == kWhite; }), 0);
}

} // namespace

// CTextLabelCtrl: fonts built by the setters, opaque and transparent painting, the gradient,
// relief, text formats, as shown on the screen.
#include "controls/text_label_ctrl.h"
#include "pixels.h"

#include <gtest/gtest.h>

namespace {

using testing_support::Capture;
using testing_support::Pixels;
using testing_support::TestParent;

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kRed = RGB(255, 0, 0);
const int kLabelId = 200;

// Text edges are smoothed: any pixel the red relief copy touches has more red than green, while
// the black text on white only makes greys.
bool HasRed(COLORREF c) {
    return GetRValue(c) > GetGValue(c);
}

class LabelTest : public ::testing::Test {
protected:
    void Make(DWORD style, const wchar_t* text, RECT rect) {
        ASSERT_TRUE(m_label.CreateEx(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | style, rect,
                                     m_parent, kLabelId));
    }
    LOGFONTW FontOfLabel() const {
        LOGFONTW record = {};
        GetObjectW(m_label.GetLabelFont(), sizeof(record), &record);
        return record;
    }
    Pixels Show() {
        m_label.Redraw();
        return Capture(m_label);
    }
    static RECT Bounds(const Pixels& pixels, COLORREF background) {
        return pixels.BoundsOf([background](COLORREF c) { return c != background; });
    }

    TestParent m_parent; // white background
    CTextLabelCtrl m_label;
};

TEST_F(LabelTest, StartsWithTheControlsFont) {
    Make(0, L"x", RECT{0, 0, 100, 20});
    LOGFONTW system = {};
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(system), &system);
    EXPECT_STREQ(system.lfFaceName, FontOfLabel().lfFaceName);
}

TEST_F(LabelTest, PointSizeElevenIsFourteenPixelsHighOnA96DpiScreen) {
    Make(0, L"x", RECT{0, 0, 100, 20});
    ASSERT_EQ(96, GetDeviceCaps(CClientDC(nullptr), LOGPIXELSY));
    m_label.FontFace(L"Arial").FontPointSize(11);
    LOGFONTW font = FontOfLabel();
    EXPECT_EQ(-14, font.lfHeight);
    EXPECT_EQ(0, font.lfWidth);
    EXPECT_STREQ(L"Arial", font.lfFaceName);
}

TEST_F(LabelTest, BoldSetsWeight700AndNotBold400WhateverItWasBefore) {
    Make(0, L"x", RECT{0, 0, 100, 20});
    LOGFONTW heavy = FontOfLabel();
    heavy.lfWeight = 900;
    m_label.FontRecord(heavy);
    EXPECT_EQ(900, FontOfLabel().lfWeight);
    m_label.Bold(TRUE);
    EXPECT_EQ(700, FontOfLabel().lfWeight);
    m_label.FontRecord(heavy).Bold(FALSE);
    EXPECT_EQ(400, FontOfLabel().lfWeight);
}

TEST_F(LabelTest, SettersChangeOneAttributeAndKeepTheOthers) {
    Make(0, L"x", RECT{0, 0, 100, 20});
    m_label.FontFace(L"Arial").FontPointSize(9).Bold(TRUE).Italic(TRUE).Underline(TRUE);
    LOGFONTW font = FontOfLabel();
    EXPECT_STREQ(L"Arial", font.lfFaceName);
    EXPECT_EQ(-12, font.lfHeight);
    EXPECT_EQ(700, font.lfWeight);
    EXPECT_EQ(1, font.lfItalic);
    EXPECT_EQ(1, font.lfUnderline);
    m_label.Rotation(90, TRUE);
    EXPECT_EQ(900, FontOfLabel().lfEscapement);
    EXPECT_EQ(900, FontOfLabel().lfOrientation);
    EXPECT_EQ(1, FontOfLabel().lfItalic);
}

TEST_F(LabelTest, OpaqueLabelFillsWithItsBackgroundOrTheFaceColour) {
    Make(0, L"", RECT{0, 0, 40, 20});
    Pixels face = Show();
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), face.At(0, 0));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), face.At(39, 19));
    m_label.Background(RGB(10, 20, 30));
    Pixels own = Show();
    EXPECT_EQ(RGB(10, 20, 30), own.At(0, 0));
    EXPECT_EQ(RGB(10, 20, 30), own.At(39, 19));
}

TEST_F(LabelTest, FiftyPixelGradientHasFiftyOnePixelBands) {
    Make(0, L"", RECT{0, 0, 50, 20});
    m_label.Background(RGB(0, 0, 0), RGB(250, 100, 50), 1);
    Pixels pixels = Show();
    for (int x = 0; x < 50; ++x) {
        // Steps of 250 * 256 / 50, 100 * 256 / 50, 50 * 256 / 50 per band.
        COLORREF expected = RGB(5 * x, 2 * x, x);
        for (int y = 0; y < 20; ++y)
            ASSERT_EQ(expected, pixels.At(x, y)) << x << "," << y; // bottom row included
    }
}

TEST_F(LabelTest, ThousandPixelGradientHasAHundredBandsTheLastEndingAtTheRightEdge) {
    Make(0, L"", RECT{0, 0, 1000, 20});
    m_label.Background(RGB(0, 0, 0), RGB(250, 0, 0), 1);
    Pixels pixels = Show();
    ASSERT_EQ(1000, pixels.width);
    std::vector<int> bandStarts;
    for (int x = 0; x < 1000; ++x)
        if (x == 0 || pixels.At(x, 0) != pixels.At(x - 1, 0))
            bandStarts.push_back(x);
    ASSERT_EQ(100u, bandStarts.size());
    for (size_t i = 0; i < bandStarts.size(); ++i)
        EXPECT_EQ(static_cast<int>(i) * 10, bandStarts[i]);
    EXPECT_EQ(RGB(0, 0, 0), pixels.At(0, 0));
    EXPECT_EQ(RGB(99 * 640 / 256, 0, 0), pixels.At(999, 0)); // 640 = 250 * 256 / 100
    EXPECT_EQ(pixels.At(999, 0), pixels.At(999, 19));
    EXPECT_EQ(pixels.At(500, 18), pixels.At(500, 19));
}

TEST_F(LabelTest, SolidBackgroundAfterAGradientFillsWithTheNewColour) {
    Make(0, L"", RECT{0, 0, 50, 20});
    m_label.Background(RGB(0, 0, 0), RGB(250, 0, 0), 1).Background(RGB(1, 2, 3));
    Pixels pixels = Show();
    EXPECT_EQ(RGB(1, 2, 3), pixels.At(49, 0));
}

TEST_F(LabelTest, ReliefCopyIsDrawnOverTheTextUpLeftForKindZeroElseDownRight) {
    Make(SS_CENTER, L"Relief", RECT{0, 0, 120, 30});
    m_label.Background(kWhite).TextColor(kBlack).ReliefColor(kRed);
    Pixels plainPixels = Show();
    RECT plain = Bounds(plainPixels, kWhite);
    ASSERT_LT(plain.left, plain.right);
    const int textPixels = plainPixels.Count([](COLORREF c) { return c != kWhite; });

    m_label.Relief(TRUE, 0);
    Pixels upLeft = Show();
    RECT red = upLeft.BoundsOf(HasRed);
    EXPECT_EQ(plain.left - 1, red.left);
    EXPECT_EQ(plain.top - 1, red.top);
    EXPECT_EQ(plain.right - 1, red.right);
    EXPECT_EQ(plain.bottom - 1, red.bottom);

    m_label.Relief(TRUE, 1);
    Pixels downRight = Show();
    red = downRight.BoundsOf(HasRed);
    EXPECT_EQ(plain.left + 1, red.left);
    EXPECT_EQ(plain.top + 1, red.top);
    EXPECT_EQ(plain.right + 1, red.right);
    EXPECT_EQ(plain.bottom + 1, red.bottom);
    // The copy is drawn after the text, so none of it is hidden under the text.
    EXPECT_EQ(textPixels, downRight.Count(HasRed));
}

TEST_F(LabelTest, CentreImageStyleCentresOneLineBothWays) {
    Make(SS_CENTERIMAGE, L"Mid", RECT{0, 0, 200, 60});
    m_label.Background(kWhite).TextColor(kBlack);
    RECT text = Bounds(Show(), kWhite);
    ASSERT_LT(text.left, text.right);
    EXPECT_NEAR(100, (text.left + text.right) / 2, 2);
    EXPECT_NEAR(30, (text.top + text.bottom) / 2, 4);
    EXPECT_GT(text.top, 15);
}

TEST_F(LabelTest, CentreImageStyleWithALineBreakCentresOnlyHorizontally) {
    Make(SS_CENTERIMAGE, L"Top\r\nTwo", RECT{0, 0, 200, 100});
    m_label.Background(kWhite).TextColor(kBlack);
    RECT text = Bounds(Show(), kWhite);
    ASSERT_LT(text.left, text.right);
    EXPECT_NEAR(100, (text.left + text.right) / 2, 3);
    EXPECT_LT(text.top, 8);
}

TEST_F(LabelTest, DefaultStyleDrawsLeftAlignedAndWraps) {
    Make(0, L"one two three four five six", RECT{0, 0, 80, 100});
    m_label.Background(kWhite).TextColor(kBlack);
    RECT text = Bounds(Show(), kWhite);
    EXPECT_LT(text.left, 4);
    EXPECT_LT(text.top, 8);
    EXPECT_GT(text.bottom, 30); // more than one line
}

TEST_F(LabelTest, EditControlStyleBreaksAWordTooLongForItsLine) {
    const wchar_t word[] = L"AnApplicationFolderWithAVeryLongName";
    for (DWORD style : {0ul, static_cast<DWORD>(SS_EDITCONTROL)}) {
        Make(style, word, RECT{0, 0, 90, 100});
        m_label.Background(kWhite).TextColor(kBlack);
        const RECT text = Bounds(Show(), kWhite);
        if (style == 0)
            EXPECT_LT(text.bottom, 20) << "one line, cut at the right edge";
        else
            EXPECT_GT(text.bottom, 30) << "broken over lines";
        m_label.DestroyWindow();
    }
}

TEST_F(LabelTest, PixelHeightStaysWhateverThePointSizeWas) {
    Make(0, L"x", RECT{0, 0, 100, 20});
    m_label.FontFace(L"Arial").FontPointSize(20).FontPixelHeight(13);
    const LOGFONTW font = FontOfLabel();
    EXPECT_EQ(-13, font.lfHeight);
    EXPECT_EQ(0, font.lfWidth);
    EXPECT_STREQ(L"Arial", font.lfFaceName);
}

TEST_F(LabelTest, TransparentLabelShowsTheParentAndLeavesNoTraceOfOldText) {
    Make(0, L"WWWWWWWWWW", RECT{10, 10, 210, 40});
    m_label.TextColor(kBlack).Transparent(TRUE);
    EXPECT_NE(0u, m_label.GetExStyle() & WS_EX_TRANSPARENT);
    Pixels before = Capture(m_label);
    EXPECT_GT(before.Count([](COLORREF c) { return c == kBlack; }), 20);
    EXPECT_EQ(kWhite, before.At(199, 29)); // the parent's background, no face colour

    m_label.Caption(L"i");
    Pixels after = Capture(m_label);
    RECT newText = Bounds(after, kWhite);
    EXPECT_LT(newText.right, 15);
    m_label.Caption(L"");
    Pixels empty = Capture(m_label);
    EXPECT_EQ(0, empty.Count([](COLORREF c) { return c != kWhite; }));
}

TEST_F(LabelTest, TransparentFalseMakesTheLabelOpaqueAgainButKeepsTheExtendedStyle) {
    Make(0, L"", RECT{10, 10, 60, 30});
    m_label.Background(RGB(1, 2, 3)).Transparent(TRUE);
    EXPECT_EQ(kWhite, Capture(m_label).At(5, 5));
    m_label.Transparent(FALSE);
    EXPECT_EQ(RGB(1, 2, 3), Capture(m_label).At(5, 5));
    EXPECT_NE(0u, m_label.GetExStyle() & WS_EX_TRANSPARENT);
}

TEST_F(LabelTest, SettingsMadeBeforeTheWindowExistsAreKeptForIt) {
    // The wizard sets colours while it builds its controls; a caption needs the window itself.
    m_label.Caption(L"lost").TextColor(kRed).Background(kWhite);
    Make(0, L"WWW", RECT{0, 0, 60, 20});
    const Pixels pixels = Show();
    EXPECT_GT(pixels.Count([](COLORREF c) { return HasRed(c); }), 10) << "the text is red";
    EXPECT_EQ(kWhite, pixels.At(59, 19));
}

TEST_F(LabelTest, SunkenAndBorderChangeTheFrameStyles) {
    Make(0, L"", RECT{10, 10, 60, 30});
    m_label.Sunken(TRUE).Border(TRUE);
    EXPECT_NE(0u, m_label.GetExStyle() & WS_EX_STATICEDGE);
    EXPECT_NE(0u, m_label.GetStyle() & WS_BORDER);
    m_label.Sunken(FALSE).Border(FALSE);
    EXPECT_EQ(0u, m_label.GetExStyle() & WS_EX_STATICEDGE);
    EXPECT_EQ(0u, m_label.GetStyle() & WS_BORDER);
}

TEST_F(LabelTest, RotatedTextStartsAtTheCentre) {
    Make(0, L"UH", RECT{0, 0, 100, 100}); // no descender below the baseline
    m_label.Background(kWhite).TextColor(kBlack).FontFace(L"Arial").FontPointSize(12).Rotation(
        90, TRUE);
    RECT text = Bounds(Show(), kWhite);
    ASSERT_LT(text.left, text.right);
    // Upwards from the centre, the baseline on the centre line.
    EXPECT_LE(text.bottom, 51);
    EXPECT_GE(text.bottom, 47);
    EXPECT_LT(text.top, 45);
    EXPECT_LE(text.right, 51);
    EXPECT_GE(text.right, 47);
    EXPECT_GT(text.bottom - text.top, text.right - text.left);
}

} // namespace

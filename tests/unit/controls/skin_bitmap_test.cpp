// CSkinBitmap's three ways of drawing, read back from a DIB section.
#include "controls/skin_bitmap.h"
#include "pixels.h"
#include "test_faces.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

using testing_support::FaceColour;

// A 32-bpp DIB section selected into a memory DC, cleared to black.
class Canvas {
public:
    Canvas(int width, int height) : m_width(width), m_screen(nullptr), m_dc(m_screen) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        m_dib.Attach(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0));
        m_select = std::make_unique<CSelectGuard>(m_dc, m_dib);
        memset(m_bits, 0, static_cast<size_t>(width * height * 4));
    }
    HDC Dc() const { return m_dc; }
    COLORREF At(int x, int y) const {
        GdiFlush();
        DWORD bgra = static_cast<const DWORD*>(m_bits)[y * m_width + x];
        return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
    }

private:
    int m_width;
    void* m_bits = nullptr;
    CClientDC m_screen;
    CMemoryDC m_dc;
    CBitmap m_dib;
    std::unique_ptr<CSelectGuard> m_select;
};

TEST(SkinBitmap, SizeComesFromTheBitmapAndIsZeroWithoutOne) {
    CSkinBitmap face;
    EXPECT_EQ(0, face.GetBitmapSize().cx);
    EXPECT_EQ(0, face.GetBitmapSize().cy);
    ASSERT_TRUE(face.LoadBitmap(IDB_PUSH_NORMAL));
    EXPECT_EQ(30, face.GetBitmapSize().cx);
    EXPECT_EQ(20, face.GetBitmapSize().cy);
}

TEST(SkinBitmap, DrawAtCopiesTheWholeBitmapOneToOne) {
    CSkinBitmap face;
    ASSERT_TRUE(face.LoadBitmap(IDB_PUSH_NORMAL));
    Canvas canvas(40, 30);
    EXPECT_TRUE(face.DrawAt(canvas.Dc(), 3, 4));
    EXPECT_EQ(FaceColour(0, 0, FACE_PUSH_NORMAL), canvas.At(3, 4));
    EXPECT_EQ(FaceColour(29, 19, FACE_PUSH_NORMAL), canvas.At(32, 23));
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(33, 23));
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(2, 4));
}

TEST(SkinBitmap, DrawStretchedFillsTheRectangle) {
    CSkinBitmap face;
    ASSERT_TRUE(face.LoadBitmap(IDB_PUSH_TEN)); // 10 x 20
    Canvas canvas(40, 40);
    EXPECT_TRUE(face.DrawStretched(canvas.Dc(), RECT{0, 0, 20, 40}));
    EXPECT_EQ(FaceColour(0, 0, FACE_PUSH_TEN), canvas.At(0, 0));
    EXPECT_EQ(FaceColour(9, 19, FACE_PUSH_TEN), canvas.At(19, 39));
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(20, 0));
}

TEST(SkinBitmap, BorderStretchKeepsCornersAndBordersAndStretchesTheMiddle) {
    CSkinBitmap face;
    ASSERT_TRUE(face.LoadBitmap(IDB_PUSH_NORMAL)); // 30 x 20
    Canvas canvas(60, 50);
    ASSERT_TRUE(face.DrawBorderStretched(canvas.Dc(), RECT{2, 3, 52, 43}, SIZE{5, 5}));
    // Corners 1:1.
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(FaceColour(x, y, FACE_PUSH_NORMAL), canvas.At(2 + x, 3 + y));
            EXPECT_EQ(FaceColour(25 + x, y, FACE_PUSH_NORMAL), canvas.At(47 + x, 3 + y));
            EXPECT_EQ(FaceColour(x, 15 + y, FACE_PUSH_NORMAL), canvas.At(2 + x, 38 + y));
            EXPECT_EQ(FaceColour(25 + x, 15 + y, FACE_PUSH_NORMAL), canvas.At(47 + x, 38 + y));
        }
    // The middle comes from the middle of the face only.
    for (int y = 8; y < 38; ++y)
        for (int x = 7; x < 47; ++x) {
            COLORREF c = canvas.At(x, y);
            EXPECT_GE(GetRValue(c), 5 * 8);
            EXPECT_LE(GetRValue(c), 24 * 8);
            EXPECT_GE(GetGValue(c), 5 * 10);
            EXPECT_LE(GetGValue(c), 14 * 10);
        }
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(52, 3));
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(2, 43));
}

TEST(SkinBitmap, BorderStretchRefusesWhenTheBorderDoesNotFit) {
    CSkinBitmap face;
    ASSERT_TRUE(face.LoadBitmap(IDB_PUSH_NORMAL));
    Canvas canvas(40, 40);
    EXPECT_FALSE(face.DrawBorderStretched(canvas.Dc(), RECT{0, 0, 10, 30}, SIZE{5, 5}));
    EXPECT_FALSE(face.DrawBorderStretched(canvas.Dc(), RECT{0, 0, 30, 10}, SIZE{5, 5}));
    EXPECT_FALSE(face.DrawBorderStretched(canvas.Dc(), RECT{0, 0, 40, 40}, SIZE{15, 5}));
    EXPECT_FALSE(face.DrawBorderStretched(canvas.Dc(), RECT{0, 0, 40, 40}, SIZE{5, 10}));
    CSkinBitmap empty;
    EXPECT_FALSE(empty.DrawBorderStretched(canvas.Dc(), RECT{0, 0, 40, 40}, SIZE{5, 5}));
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(RGB(0, 0, 0), canvas.At(x, y));
}

} // namespace

// The window's shape: the region built from one read of the skin's bits equals the region of the
// pixel-by-pixel rule, on the real skin and on bitmaps with holes.
#include "ui/window_region.h"

#include "res/resource.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Pixels covered by a region, counted from its rectangles.
long long AreaOf(HRGN region) {
    const DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<unsigned char> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (size == 0 || GetRegionData(region, size, data) != size)
        return -1;
    const RECT* rects = reinterpret_cast<const RECT*>(data->Buffer);
    long long area = 0;
    for (DWORD i = 0; i < data->rdh.nCount; ++i)
        area += static_cast<long long>(rects[i].right - rects[i].left) *
                (rects[i].bottom - rects[i].top);
    return area;
}

// A white bitmap of the screen's format with magenta at the given pixels.
CBitmap BitmapWithHoles(int width, int height, const std::vector<POINT>& holes) {
    CClientDC screen(nullptr);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(screen, width, height);
    CMemoryDC memory(screen);
    CSelectGuard selected(memory, bitmap);
    RECT all = {0, 0, width, height};
    FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    for (const POINT& hole : holes)
        SetPixel(memory, hole.x, hole.y, kSkinKeyColor);
    return bitmap;
}

TEST(WindowRegion, RealSkinLeavesOutItsSeventyOneCornerPixels) {
    CBitmap skin;
    ASSERT_TRUE(skin.LoadBitmap(GetModuleHandleW(nullptr), IDB_BACKGROUND));
    CRgn fast = CreateRegionFromBitmap(skin, kSkinKeyColor);
    CRgn slow = CreateRegionPerPixel(skin, kSkinKeyColor);
    ASSERT_FALSE(fast.IsNull());
    ASSERT_FALSE(slow.IsNull());
    EXPECT_TRUE(EqualRgn(fast, slow));
    EXPECT_EQ(AreaOf(fast), 584LL * 411 - 71);
    RECT box = {};
    GetRgnBox(fast, &box);
    EXPECT_EQ(box.right - box.left, 584);
    EXPECT_EQ(box.bottom - box.top, 411);
    // Every cut pixel lies in a corner: rows 0-7 or 403-410, near the left or right edge.
    for (int y = 0; y < 411; ++y) {
        for (int x = 0; x < 584; ++x) {
            if (PtInRegion(fast, x, y))
                continue;
            const bool cornerRow = y < 8 || y >= 403;
            const bool cornerColumn = x < 16 || x >= 584 - 16;
            EXPECT_TRUE(cornerRow && cornerColumn) << x << "," << y;
        }
    }
    EXPECT_FALSE(PtInRegion(fast, 0, 0));
    EXPECT_FALSE(PtInRegion(fast, 583, 0));
    EXPECT_FALSE(PtInRegion(fast, 0, 410));
    EXPECT_FALSE(PtInRegion(fast, 583, 410));
}

TEST(WindowRegion, HolesSplitRowsExactlyAsThePixelRule) {
    const std::vector<POINT> holes = {{0, 0},  {1, 0},  {39, 0}, {5, 1},  {6, 1},  {20, 2},
                                      {38, 3}, {39, 3}, {0, 5},  {17, 7}, {19, 7}, {21, 7}};
    std::vector<POINT> fullRow;
    for (int x = 0; x < 40; ++x)
        fullRow.push_back({x, 9});
    std::vector<POINT> all = holes;
    all.insert(all.end(), fullRow.begin(), fullRow.end());
    CBitmap bitmap = BitmapWithHoles(40, 12, all);
    CRgn fast = CreateRegionFromBitmap(bitmap, kSkinKeyColor);
    CRgn slow = CreateRegionPerPixel(bitmap, kSkinKeyColor);
    ASSERT_FALSE(fast.IsNull());
    EXPECT_TRUE(EqualRgn(fast, slow));
    EXPECT_EQ(AreaOf(fast), 40LL * 12 - static_cast<long long>(all.size()));
    for (const POINT& hole : all)
        EXPECT_FALSE(PtInRegion(fast, hole.x, hole.y)) << hole.x << "," << hole.y;
    EXPECT_TRUE(PtInRegion(fast, 2, 0));
    EXPECT_TRUE(PtInRegion(fast, 18, 7));
    EXPECT_TRUE(PtInRegion(fast, 20, 7));
}

TEST(WindowRegion, SkinWithoutKeyColourIsAFullRectangle) {
    CBitmap bitmap = BitmapWithHoles(33, 7, {});
    CRgn fast = CreateRegionFromBitmap(bitmap, kSkinKeyColor);
    RECT box = {};
    EXPECT_EQ(GetRgnBox(fast, &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 33);
    EXPECT_EQ(box.bottom, 7);
    CRgn slow = CreateRegionPerPixel(bitmap, kSkinKeyColor);
    EXPECT_TRUE(EqualRgn(fast, slow));
}

TEST(WindowRegion, NoBitmapGivesNoRegion) {
    EXPECT_TRUE(CreateRegionFromBitmap(nullptr, kSkinKeyColor).IsNull());
    EXPECT_TRUE(CreateRegionPerPixel(nullptr, kSkinKeyColor).IsNull());
}

} // namespace

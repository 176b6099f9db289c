// The GDI owners and select guards, CFont's point sizes, CString and the message box seam.
#include "framework/framework.h"

#include <gtest/gtest.h>

namespace {

TEST(Gdi, OwnerDeletesItsObjectAndDetachGivesItAway) {
    HBRUSH kept = nullptr;
    HBRUSH deleted = nullptr;
    {
        CBrush owner;
        ASSERT_TRUE(owner.CreateSolidBrush(RGB(1, 2, 3)));
        deleted = owner;
        CBrush other;
        ASSERT_TRUE(other.CreateSolidBrush(RGB(4, 5, 6)));
        kept = other.Detach();
    }
    EXPECT_EQ(0u, GetObjectType(deleted));
    EXPECT_EQ(static_cast<DWORD>(OBJ_BRUSH), GetObjectType(kept));
    DeleteObject(kept);
}

TEST(Gdi, MovedOwnerKeepsOneHandle) {
    CBitmap first;
    ASSERT_TRUE(first.CreateCompatibleBitmap(CClientDC(nullptr), 4, 4));
    HBITMAP handle = first;
    CBitmap second(std::move(first));
    EXPECT_TRUE(first.IsNull());
    EXPECT_EQ(handle, second.GetSafeHandle());
    BITMAP info;
    ASSERT_TRUE(second.GetBitmap(&info));
    EXPECT_EQ(4, info.bmWidth);
}

TEST(Gdi, SelectGuardPutsThePreviousObjectBack) {
    CMemoryDC dc(nullptr);
    ASSERT_NE(nullptr, dc.m_hDC);
    HGDIOBJ before = GetCurrentObject(dc, OBJ_BITMAP);
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(CClientDC(nullptr), 8, 8));
    {
        CSelectGuard select(dc, bitmap);
        EXPECT_TRUE(select.IsSelected());
        EXPECT_EQ(bitmap.GetSafeHandle(), GetCurrentObject(dc, OBJ_BITMAP));
    }
    EXPECT_EQ(before, GetCurrentObject(dc, OBJ_BITMAP));
    // Deselected, so it can be deleted for real.
    EXPECT_TRUE(bitmap.DeleteObject());
}

TEST(Gdi, FailedSelectionHasNothingToPutBack) {
    CMemoryDC dc(nullptr);
    HGDIOBJ before = GetCurrentObject(dc, OBJ_FONT);
    {
        CSelectGuard select(dc, nullptr);
        EXPECT_FALSE(select.IsSelected());
    }
    EXPECT_EQ(before, GetCurrentObject(dc, OBJ_FONT));
}

TEST(Gdi, PointFontHeightIsCutNotRounded) {
    CClientDC screen(nullptr);
    ASSERT_EQ(96, GetDeviceCaps(screen, LOGPIXELSY));
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(110, L"Arial"));
    LOGFONTW record;
    ASSERT_TRUE(font.GetLogFont(&record));
    EXPECT_EQ(-14, record.lfHeight); // 96 * 110 / 720 = 14.67
    EXPECT_EQ(0, record.lfWidth);
    EXPECT_STREQ(L"Arial", record.lfFaceName);
    CFont nine;
    ASSERT_TRUE(nine.CreatePointFont(90, L"Arial"));
    ASSERT_TRUE(nine.GetLogFont(&record));
    EXPECT_EQ(-12, record.lfHeight);
}

TEST(Gdi, PaintDcValidatesTheWindow) {
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    InvalidateRect(window, nullptr, FALSE);
    {
        CPaintDC paint(window);
        EXPECT_NE(nullptr, paint.m_hDC);
    }
    RECT update;
    EXPECT_FALSE(GetUpdateRect(window, &update, FALSE));
    DestroyWindow(window);
}

TEST(String, BuildsAppendsAndSearches) {
    CString text(L"mail");
    EXPECT_EQ(4, text.GetLength());
    EXPECT_FALSE(text.IsEmpty());
    text += L"to:";
    text += CString(L"x@y");
    EXPECT_STREQ(L"mailto:x@y", text);
    EXPECT_EQ(4, text.Find(L"to:"));
    EXPECT_EQ(-1, text.Find(L"\r\n"));
    EXPECT_EQ(8, text.Find(L'@'));
    EXPECT_EQ(-1, text.Find(L'm', 1));
    EXPECT_TRUE(CString().IsEmpty());
    EXPECT_TRUE(CString(nullptr).IsEmpty());
    EXPECT_STREQ(L"ab", CString(L"a") + L"b");
    EXPECT_TRUE(CString(L"ab") == L"ab");
}

struct SeenBox {
    int calls = 0;
    HWND owner = reinterpret_cast<HWND>(1);
    std::wstring text;
    std::wstring caption;
    UINT type = 0;
} g_seen;

int RecordBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
    ++g_seen.calls;
    g_seen.owner = owner;
    g_seen.text = text;
    g_seen.caption = caption;
    g_seen.type = type;
    return IDOK;
}

TEST(MessageBoxSeam, AfxMessageBoxGoesThroughTheReplaceableFunction) {
    MessageBoxFunction previous = SetMessageBoxFunction(RecordBox);
    EXPECT_EQ(IDOK, AfxMessageBox(L"Error loading bitmap", MB_OK | MB_ICONERROR));
    SetMessageBoxFunction(previous);
    EXPECT_EQ(1, g_seen.calls);
    EXPECT_EQ(nullptr, g_seen.owner);
    EXPECT_EQ(L"Error loading bitmap", g_seen.text);
    EXPECT_EQ(L"framework_tests", g_seen.caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), g_seen.type);
}

} // namespace

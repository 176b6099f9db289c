// The short texts fit their controls: button faces are 111 pixels wide and the launch checkbox
// has one line. The wizard draws them in the dialog's "System" 9 pt font, which Windows shows
// bold; Wine substitutes a sans-serif face and has no CJK glyphs in it, so full-width characters
// are counted at a full em each.
#include "language_test_support.h"

#include <gtest/gtest.h>

using namespace language_testing;

namespace {

constexpr int kButtonFaceWidth = 111;
// Room left on each side of a button text, and for the wider face that Windows uses.
constexpr int kButtonTextLimit = kButtonFaceWidth - 15;
constexpr int kCheckboxTextLimit = 300;

bool IsFullWidth(wchar_t c) {
    return (c >= 0x1100 && c <= 0x11FF) || (c >= 0x2E80 && c <= 0xD7FF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFF60);
}

class TextWidth : public testing::Test {
protected:
    void SetUp() override {
        m_dc = GetDC(nullptr);
        ASSERT_NE(nullptr, m_dc);
        m_em = MulDiv(9, GetDeviceCaps(m_dc, LOGPIXELSY), 72);
        m_font = CreateFontW(-m_em, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_DONTCARE,
                             L"System");
        ASSERT_NE(nullptr, m_font);
        m_previous = SelectObject(m_dc, m_font);
    }
    void TearDown() override {
        if (m_previous != nullptr)
            SelectObject(m_dc, m_previous);
        if (m_font != nullptr)
            DeleteObject(m_font);
        if (m_dc != nullptr)
            ReleaseDC(nullptr, m_dc);
    }

    int Width(const std::wstring& text) const {
        std::wstring narrow;
        int width = 0;
        for (wchar_t c : text) {
            if (IsFullWidth(c))
                width += m_em;
            else
                narrow += c;
        }
        SIZE size = {};
        GetTextExtentPoint32W(m_dc, narrow.c_str(), static_cast<int>(narrow.size()), &size);
        return width + size.cx;
    }

    HDC m_dc = nullptr;
    HFONT m_font = nullptr;
    HGDIOBJ m_previous = nullptr;
    int m_em = 12;
};

TEST_F(TextWidth, ButtonAndCheckboxTextsFitTheirControls) {
    for (const auto& language : ShippedLanguages()) {
        const std::wstring name = std::wstring(L"setup") + language.abbreviation + L".dll";
        LoadedModule library(
            LoadLibraryExW(DistFile(name).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        ASSERT_TRUE(library) << language.langId;
        for (UINT id : {1u, 2u, 3u, 10u}) {
            const std::wstring text = LoadText(library.Get(), id);
            EXPECT_LE(Width(text), kButtonTextLimit)
                << testing::PrintToString(text) << " in " << language.langId;
        }
        const std::wstring checkbox = LoadText(library.Get(), 20);
        EXPECT_LE(Width(checkbox), kCheckboxTextLimit)
            << testing::PrintToString(checkbox) << " in " << language.langId;
    }
}

} // namespace

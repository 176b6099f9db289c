// The resources of the built setup.exe, read back from the file as Windows reads them: the
// wizard's dialog template, the skin bitmaps and the icon, the version and the manifest.
#include "res/resource.h"
#include "support/win_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

class SetupResources : public ::testing::Test {
protected:
    void SetUp() override {
        const std::wstring program = testing_support::DistFolder() + L"setup.exe";
        m_module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(m_module, nullptr);
    }
    void TearDown() override {
        if (m_module != nullptr)
            FreeLibrary(m_module);
    }

    // The raw bytes of one resource; empty when it is missing.
    std::string Resource(const wchar_t* type, UINT id) const {
        HRSRC found = FindResourceW(m_module, MAKEINTRESOURCEW(id), type);
        if (found == nullptr)
            return std::string();
        HGLOBAL loaded = LoadResource(m_module, found);
        const char* bytes = static_cast<const char*>(LockResource(loaded));
        return bytes ? std::string(bytes, SizeofResource(m_module, found)) : std::string();
    }

    HMODULE m_module = nullptr;
};

struct BitmapFormat {
    int width, height, bits;
};

TEST_F(SetupResources, SkinBitmapsHaveTheirSizesAndDepths) {
    struct Expected {
        UINT id;
        BitmapFormat format;
    };
    const Expected expected[] = {
        {IDB_BACKGROUND, {584, 411, 24}},    {IDB_BUTTON_NORMAL, {111, 22, 24}},
        {IDB_BUTTON_PRESSED, {111, 22, 24}}, {IDB_BUTTON_HOVER, {111, 22, 24}},
        {IDB_CLOSE_NORMAL, {20, 17, 32}},    {IDB_CLOSE_HOVER, {20, 17, 32}},
        {IDB_CLOSE_DISABLED, {20, 17, 24}},  {IDB_RADIO_OFF, {23, 28, 24}},
        {IDB_RADIO_ON, {23, 28, 24}},        {IDB_CHECK_OFF, {21, 24, 24}},
        {IDB_CHECK_ON, {21, 24, 24}},
    };
    for (const Expected& bitmap : expected) {
        const std::string data = Resource(RT_BITMAP, bitmap.id);
        ASSERT_GE(data.size(), sizeof(BITMAPINFOHEADER)) << "bitmap " << bitmap.id;
        const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(data.data());
        EXPECT_EQ(header->biWidth, bitmap.format.width) << "bitmap " << bitmap.id;
        EXPECT_EQ(header->biHeight, bitmap.format.height) << "bitmap " << bitmap.id;
        EXPECT_EQ(header->biBitCount, bitmap.format.bits) << "bitmap " << bitmap.id;
        EXPECT_EQ(header->biCompression, static_cast<DWORD>(BI_RGB)) << "bitmap " << bitmap.id;
    }
}

TEST_F(SetupResources, BackgroundHasSeventyOneMagentaPixelsAtTheCorners) {
    const std::string data = Resource(RT_BITMAP, IDB_BACKGROUND);
    ASSERT_GE(data.size(), sizeof(BITMAPINFOHEADER));
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(data.data());
    const int width = header->biWidth;
    const int height = header->biHeight;
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
    ASSERT_EQ(data.size(), header->biSize + stride * static_cast<size_t>(height));
    const unsigned char* rows =
        reinterpret_cast<const unsigned char*>(data.data()) + header->biSize;
    int magenta = 0;
    for (int row = 0; row < height; ++row) {
        const int y = height - 1 - row; // bottom-up
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = rows + static_cast<size_t>(row) * stride + 3 * x;
            if (p[0] == 255 && p[1] == 0 && p[2] == 255) {
                ++magenta;
                EXPECT_TRUE((y < 8 || y >= height - 8) && (x < 16 || x >= width - 16))
                    << x << "," << y;
            }
        }
    }
    EXPECT_EQ(magenta, 71);
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colors, reserved;
    WORD planes, bits;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST_F(SetupResources, IconHasItsThreeImages) {
    const std::string group = Resource(RT_GROUP_ICON, IDR_MAINFRAME);
    ASSERT_GE(group.size(), 6u);
    const WORD count = *reinterpret_cast<const WORD*>(group.data() + 4);
    ASSERT_EQ(group.size(), 6 + count * sizeof(GroupIconEntry));
    std::vector<std::string> images;
    for (WORD i = 0; i < count; ++i) {
        const auto* entry =
            reinterpret_cast<const GroupIconEntry*>(group.data() + 6 + i * sizeof(GroupIconEntry));
        const std::string image = Resource(RT_ICON, entry->id);
        ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
        const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(image.data());
        images.push_back(std::to_string(header->biWidth) + "x" +
                         std::to_string(header->biHeight / 2) + "x" +
                         std::to_string(header->biBitCount));
    }
    EXPECT_EQ(images, (std::vector<std::string>{"48x48x32", "32x32x32", "16x16x24"}));
}

// Reads a DLGTEMPLATEEX as the dialog manager does.
class TemplateReader {
public:
    explicit TemplateReader(const std::string& data) : m_data(data) {}

    template <typename T> T Read() {
        T value = {};
        if (m_offset + sizeof(T) <= m_data.size())
            memcpy(&value, m_data.data() + m_offset, sizeof(T));
        m_offset += sizeof(T);
        return value;
    }
    // A string, or an ordinal (0xFFFF and a number) written as "#number".
    std::wstring ReadText() {
        if (Peek() == 0xFFFF) {
            Read<WORD>();
            return L"#" + std::to_wstring(Read<WORD>());
        }
        std::wstring text;
        for (WORD c = Read<WORD>(); c != 0 && m_offset <= m_data.size(); c = Read<WORD>())
            text += static_cast<wchar_t>(c);
        return text;
    }
    void AlignToDword() { m_offset = (m_offset + 3) & ~static_cast<size_t>(3); }
    bool AtEnd() const { return m_offset >= m_data.size(); }

private:
    WORD Peek() const {
        WORD value = 0;
        if (m_offset + 2 <= m_data.size())
            memcpy(&value, m_data.data() + m_offset, 2);
        return value;
    }

    const std::string& m_data;
    size_t m_offset = 0;
};

// A control class as its name: the template may give the predefined ones by ordinal.
std::wstring ClassName(const std::wstring& text) {
    if (text == L"#128")
        return L"Button";
    if (text == L"#130")
        return L"Static";
    return text;
}

TEST_F(SetupResources, WizardTemplateIsACaptionlessPopupWithItsNineControls) {
    const std::string data = Resource(RT_DIALOG, IDD_WIZARD);
    TemplateReader reader(data);
    ASSERT_EQ(reader.Read<WORD>(), 1);      // DLGTEMPLATEEX
    ASSERT_EQ(reader.Read<WORD>(), 0xFFFF); // its signature
    reader.Read<DWORD>();                   // help id
    EXPECT_EQ(reader.Read<DWORD>(), static_cast<DWORD>(WS_EX_APPWINDOW));
    const DWORD style = reader.Read<DWORD>();
    EXPECT_EQ(style, static_cast<DWORD>(WS_POPUP | WS_VISIBLE | DS_SETFONT));
    EXPECT_EQ(style & WS_CAPTION, 0u) << "a caption bar would cover the skin";
    const WORD count = reader.Read<WORD>();
    reader.Read<short>();
    reader.Read<short>();
    EXPECT_EQ(reader.Read<short>(), 287);
    EXPECT_EQ(reader.Read<short>(), 179);
    EXPECT_EQ(reader.ReadText(), L""); // no menu
    EXPECT_EQ(reader.ReadText(), L""); // the dialog class
    EXPECT_EQ(reader.ReadText(), L""); // the title: set at run time
    EXPECT_EQ(reader.Read<WORD>(), 9);
    EXPECT_EQ(reader.Read<WORD>(), 0);
    EXPECT_EQ(reader.Read<BYTE>(), 0);
    EXPECT_EQ(reader.Read<BYTE>(), 1);
    EXPECT_EQ(reader.ReadText(), L"System");

    struct Control {
        int id;
        const wchar_t* className;
        const wchar_t* text;
        DWORD style;
        short x, y, cx, cy;
    };
    const DWORD child = WS_CHILD | WS_VISIBLE;
    const Control expected[] = {
        {IDOK, L"Button", L"", child | WS_TABSTOP, 135, 158, 50, 14},
        {IDCANCEL, L"Button", L"", child | WS_TABSTOP, 230, 158, 50, 14},
        {IDC_HEADING, L"Static", L"", child, 24, 39, 204, 23},
        {IDC_ACTION, L"Button", L"", child | WS_TABSTOP | BS_DEFPUSHBUTTON, 68, 158, 50, 14},
        {IDC_DESCRIPTION, L"Static", L"", child | SS_EDITCONTROL, 23, 71, 207, 29},
        {IDC_PROGRESS, L"msctls_progress32", L"Progress1", child | WS_BORDER, 23, 106, 209, 14},
        {IDC_CLOSE, L"Button", L"", child, 249, 7, 31, 13},
        {IDC_TITLE, L"Static", L"", child, 20, 7, 208, 16},
        {IDC_LAUNCH, L"Button", L"", child | WS_TABSTOP | BS_AUTOCHECKBOX, 23, 128, 180, 12},
    };
    ASSERT_EQ(count, 9);
    for (const Control& control : expected) {
        reader.AlignToDword();
        reader.Read<DWORD>(); // help id
        EXPECT_EQ(reader.Read<DWORD>(), 0u) << "control " << control.id;
        EXPECT_EQ(reader.Read<DWORD>(), control.style) << "control " << control.id;
        EXPECT_EQ(reader.Read<short>(), control.x) << "control " << control.id;
        EXPECT_EQ(reader.Read<short>(), control.y) << "control " << control.id;
        EXPECT_EQ(reader.Read<short>(), control.cx) << "control " << control.id;
        EXPECT_EQ(reader.Read<short>(), control.cy) << "control " << control.id;
        EXPECT_EQ(reader.Read<DWORD>(), static_cast<DWORD>(control.id));
        EXPECT_EQ(lstrcmpiW(ClassName(reader.ReadText()).c_str(), control.className), 0)
            << "control " << control.id;
        EXPECT_EQ(reader.ReadText(), control.text) << "control " << control.id;
        const WORD extra = reader.Read<WORD>();
        for (WORD i = 0; i < extra; ++i)
            reader.Read<BYTE>();
    }
    EXPECT_TRUE(reader.AtEnd());
}

TEST_F(SetupResources, ManifestAsksForAdministratorAndKeepsWindowsAtSixPointTwo) {
    const std::string manifest = Resource(RT_MANIFEST, 1);
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("level=\"requireAdministrator\""), std::string::npos);
    // The supportedOS ids of Windows 8.1 and 10: with either, Windows would report its own
    // version instead of 6.2, and setup would leave its service scheme.
    EXPECT_EQ(manifest.find("1f676c76-80e1-4239-95bb-83d0f6d0da78"), std::string::npos);
    EXPECT_EQ(manifest.find("8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"), std::string::npos);
    // No DPI awareness: where Windows scales a window for the display, it scales the fixed skin
    // and its texts alike, and the texts are sized in pixels for the skin everywhere else.
    EXPECT_EQ(manifest.find("dpiAware"), std::string::npos);
}

TEST_F(SetupResources, VersionDescribesTheSetupApplication) {
    const std::string data = Resource(RT_VERSION, 1);
    ASSERT_FALSE(data.empty());
    std::vector<char> copy(data.begin(), data.end());
    wchar_t* description = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(copy.data(), L"\\StringFileInfo\\040904B0\\FileDescription",
                               reinterpret_cast<void**>(&description), &length));
    EXPECT_EQ(std::wstring(description), L"Setup Application");
}

} // namespace

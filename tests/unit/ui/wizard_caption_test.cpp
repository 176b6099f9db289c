// The caption: the application name of setup.ini and the mode's suffix in the wizard's language,
// shown in the title label and as the window text; cut to its buffer whatever the name's length,
// and in the title a name too long for the box ends in "..." before the whole suffix.
#include "wizard_harness.h"

#include "config/globals.h"
#include "res/resource.h"
#include "ui/wizard_texts.h"

#include <gtest/gtest.h>

using namespace wizard_testing;
using testing_support::TempFolder;

namespace {

std::wstring CaptionFor(const std::wstring& setupDir, BOOL bUninstall) {
    wchar_t caption[kCaptionLength] = {};
    BuildWizardCaption(setupDir.c_str(), bUninstall, caption, kCaptionLength);
    return caption;
}

TEST(WizardCaption, DefaultNameWithoutSettingsFile) {
    TempFolder folder;
    EXPECT_EQ(CaptionFor(folder.Path(), FALSE), L"Korvane HW RAID Manager - Installation Wizard");
    EXPECT_EQ(CaptionFor(folder.Path(), TRUE), L"Korvane HW RAID Manager - Uninstallation Wizard");
}

TEST(WizardCaption, NameFromSettingsWithBothSuffixes) {
    TempFolder folder;
    const std::wstring dir = SetupFolderWith(folder, L"[Startup]\r\nAppName=Disk Guard 7\r\n");
    EXPECT_EQ(CaptionFor(dir, FALSE), L"Disk Guard 7 - Installation Wizard");
    EXPECT_EQ(CaptionFor(dir, TRUE), L"Disk Guard 7 - Uninstallation Wizard");
}

TEST(WizardCaption, EmptyNameGivesAnEmptyCaption) {
    TempFolder folder;
    const std::wstring dir = SetupFolderWith(folder, L"[Startup]\r\nAppName=\r\n");
    EXPECT_EQ(CaptionFor(dir, FALSE), L"");
    EXPECT_EQ(CaptionFor(dir, TRUE), L"");
}

TEST(WizardCaption, LongNameIsCutSoTheWholeSuffixFits) {
    TempFolder folder;
    const std::wstring name(400, L'N');
    const std::wstring dir = SetupFolderWith(folder, L"[Startup]\r\nAppName=" + name + L"\r\n");
    for (BOOL uninstall : {FALSE, TRUE}) {
        const std::wstring suffix =
            uninstall ? L" - Uninstallation Wizard" : L" - Installation Wizard";
        const std::wstring caption = CaptionFor(dir, uninstall);
        EXPECT_EQ(caption.size(), static_cast<size_t>(kCaptionLength - 1));
        EXPECT_EQ(caption, name.substr(0, kCaptionLength - 1 - suffix.size()) + suffix);
    }
}

TEST(WizardCaption, CutNeverSplitsASurrogatePair) {
    TempFolder folder;
    const std::wstring suffix = L" - Installation Wizard";
    const size_t keep = kCaptionLength - 1 - suffix.size();
    // The pair's first half would be the last character kept.
    const std::wstring name = std::wstring(keep - 1, L'a') + L"\xD83D\xDE00" + L"tail";
    const std::wstring dir = SetupFolderWith(folder, L"[Startup]\r\nAppName=" + name + L"\r\n");
    EXPECT_EQ(CaptionFor(dir, FALSE), std::wstring(keep - 1, L'a') + suffix);
}

// The wizard's language gives the suffix; a library without one (an older one) gives English.
TEST(WizardCaption, SuffixInTheWizardsLanguage) {
    TempFolder folder;
    const struct {
        const wchar_t* language;
        const wchar_t* install;
        const wchar_t* removal;
    } expected[] = {
        {L"JPN", L"Korvane HW RAID Manager - インストール ウィザード",
         L"Korvane HW RAID Manager - アンインストール ウィザード"},
        {L"RUS", L"Korvane HW RAID Manager - Мастер установки",
         L"Korvane HW RAID Manager - Мастер удаления"},
        {L"CHT", L"Korvane HW RAID Manager - Installation Wizard",
         L"Korvane HW RAID Manager - Uninstallation Wizard"},
    };
    for (const auto& language : expected) {
        LanguageLibrary library(language.language);
        ASSERT_TRUE(library.Loaded());
        EXPECT_EQ(CaptionFor(folder.Path(), FALSE), language.install);
        EXPECT_EQ(CaptionFor(folder.Path(), TRUE), language.removal);
    }
}

TEST(WizardCaption, LibraryWithoutSuffixesGivesTheEnglishOnes) {
    TempFolder folder;
    const std::wstring copy = folder / L"setupJPN.dll";
    ASSERT_TRUE(
        CopyFileW((testing_support::DistFolder() + L"setupJPN.dll").c_str(), copy.c_str(), FALSE));
    // String block 2 (ids 16 to 31) with ids 16 to 20 only, as a library made before the
    // suffixes has it.
    HMODULE japanese = LoadLibraryExW(copy.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(japanese, nullptr);
    std::wstring block;
    for (UINT id = 16; id < 32; ++id) {
        wchar_t text[256] = {};
        const int length = id <= 20 ? LoadStringW(japanese, id, text, 256) : 0;
        block += static_cast<wchar_t>(length);
        block.append(text, static_cast<size_t>(length));
    }
    FreeLibrary(japanese);
    HANDLE update = BeginUpdateResourceW(copy.c_str(), FALSE);
    ASSERT_NE(update, nullptr);
    ASSERT_TRUE(UpdateResourceW(update, RT_STRING, MAKEINTRESOURCEW(2), 0x0411, &block[0],
                                static_cast<DWORD>(block.size() * sizeof(wchar_t))));
    ASSERT_TRUE(EndUpdateResourceW(update, FALSE));

    g_hLangDll = LoadLibraryW(copy.c_str());
    ASSERT_NE(g_hLangDll, nullptr);
    wchar_t text[64] = {};
    LoadWizardText(kTextRemoveRunning, text);
    EXPECT_EQ(std::wstring(text), L"アンインストール ウィザードを実行しています...");
    LoadWizardText(kTextInstallSuffix, text);
    EXPECT_EQ(std::wstring(text), L"") << "the copy lacks the suffixes";
    EXPECT_EQ(CaptionFor(folder.Path(), FALSE), L"Korvane HW RAID Manager - Installation Wizard");
    EXPECT_EQ(CaptionFor(folder.Path(), TRUE), L"Korvane HW RAID Manager - Uninstallation Wizard");
    FreeLibrary(g_hLangDll);
    g_hLangDll = nullptr;
}

class WizardCaptionShown : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_language.Loaded()); }

    std::pair<std::wstring, std::wstring> TitleAndWindowText(const std::wstring& dir,
                                                             BOOL bUninstall) {
        std::wstring title, windowText;
        WizardDialog wizard(dir.c_str(), bUninstall, nullptr);
        WizardScript script(wizard);
        script.Do([&](WizardDialog&, HWND window) {
            title = Look(window, IDC_TITLE).text;
            wchar_t text[400] = {};
            GetWindowTextW(window, text, 400);
            windowText = text;
            EndDialog(window, IDCANCEL);
        });
        script.Run();
        return {title, windowText};
    }

    LanguageLibrary m_language{L"ENU"};
    MessageBoxRecorder m_boxes;
    TempFolder m_folder;
};

TEST_F(WizardCaptionShown, TitleLabelAndWindowTextCarryTheCaption) {
    const std::wstring dir = SetupFolderWith(m_folder, L"[Startup]\r\nAppName=Disk Guard 7\r\n");
    const auto shown = TitleAndWindowText(dir, TRUE);
    EXPECT_EQ(shown.first, L"Disk Guard 7 - Uninstallation Wizard");
    EXPECT_EQ(shown.second, L"Disk Guard 7 - Uninstallation Wizard");
}

// The width the title's text takes in the title's font.
int TitleTextWidth(HWND window) {
    const HWND title = GetDlgItem(window, IDC_TITLE);
    auto* label = dynamic_cast<CTextLabelCtrl*>(CWnd::FromHandle(title));
    const std::wstring text = Look(window, IDC_TITLE).text;
    HDC dc = GetDC(title);
    const HGDIOBJ previous = SelectObject(dc, label->GetLabelFont());
    SIZE size = {};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(title, dc);
    return size.cx;
}

TEST_F(WizardCaptionShown, LongNameIsCutInTheTitleBeforeTheWholeSuffix) {
    const std::wstring name = L"Korvane HW RAID Manager Enterprise Edition for Storage Servers, "
                              L"Workstations and Clusters";
    const std::wstring dir = SetupFolderWith(m_folder, L"[Startup]\r\nAppName=" + name + L"\r\n");
    for (BOOL uninstall : {FALSE, TRUE}) {
        const std::wstring suffix =
            uninstall ? L" - Uninstallation Wizard" : L" - Installation Wizard";
        WizardDialog wizard(dir.c_str(), uninstall, nullptr);
        WizardScript script(wizard);
        script.Do([&](WizardDialog&, HWND window) {
            const std::wstring title = Look(window, IDC_TITLE).text;
            ASSERT_GT(title.size(), suffix.size() + 3);
            EXPECT_EQ(title.substr(title.size() - suffix.size()), suffix);
            const std::wstring shownName = title.substr(0, title.size() - suffix.size());
            EXPECT_EQ(shownName.substr(shownName.size() - 3), L"...");
            EXPECT_EQ(name.find(shownName.substr(0, shownName.size() - 3)), 0u);
            RECT box = {};
            GetClientRect(GetDlgItem(window, IDC_TITLE), &box);
            EXPECT_LE(TitleTextWidth(window), box.right) << "one line, inside its box";
            wchar_t windowText[400] = {};
            GetWindowTextW(window, windowText, 400);
            EXPECT_EQ(windowText, name + suffix) << "the taskbar keeps the whole caption";
            EndDialog(window, IDCANCEL);
        });
        script.Run();
    }
}

TEST_F(WizardCaptionShown, EmptyNameLeavesTitleAndWindowTextEmpty) {
    const std::wstring dir = SetupFolderWith(m_folder, L"[Startup]\r\nAppName=\r\n");
    const auto shown = TitleAndWindowText(dir, FALSE);
    EXPECT_EQ(shown.first, L"");
    EXPECT_EQ(shown.second, L"");
}

} // namespace

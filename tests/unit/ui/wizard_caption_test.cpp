// The caption: the application name of setup.ini and the mode's suffix, shown in the title
// label and as the window text; cut to its buffer whatever the name's length.
#include "wizard_harness.h"

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

TEST_F(WizardCaptionShown, EmptyNameLeavesTitleAndWindowTextEmpty) {
    const std::wstring dir = SetupFolderWith(m_folder, L"[Startup]\r\nAppName=\r\n");
    const auto shown = TitleAndWindowText(dir, FALSE);
    EXPECT_EQ(shown.first, L"");
    EXPECT_EQ(shown.second, L"");
}

} // namespace

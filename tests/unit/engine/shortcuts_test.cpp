// Shortcuts on the current user's desktop and in the all-users Start menu, read back through the
// shell's link object.
#include "engine/shortcuts.h"

#include "engine_test_support.h"
#include "support/win_test_support.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>

namespace {

using engine_testing::LinkContents;
using engine_testing::ListFolder;
using engine_testing::ReadLink;
using engine_testing::ShellFolder;
using engine_testing::UniqueName;

const std::wstring kTarget = L"C:\\Program Files\\Korvane Dir\\DIVodeZivar.exe";
const std::wstring kUninstaller = L"C:\\Program Files\\Korvane Dir\\Uninstall\\setup.exe";

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    char buffer[4096];
    DWORD read = 0;
    ReadFile(file, buffer, sizeof(buffer), &read, nullptr);
    CloseHandle(file);
    return std::string(buffer, read);
}

class DesktopShortcutTest : public ::testing::Test {
protected:
    void TearDown() override { DeleteFileW(LinkPath().c_str()); }
    std::wstring LinkPath() const {
        return ShellFolder(CSIDL_DESKTOPDIRECTORY) + L"\\" + m_name + L".lnk";
    }
    const std::wstring m_name = UniqueName(L"Korvane Desktop");
};

TEST_F(DesktopShortcutTest, PointsAtTheTargetEvenBeforeItExists) {
    CreateDesktopShortcut(kTarget.c_str(), m_name.c_str());
    LinkContents link;
    ASSERT_TRUE(ReadLink(LinkPath(), &link));
    EXPECT_EQ(kTarget, link.target);
    EXPECT_EQ(L"", link.arguments);
}

TEST_F(DesktopShortcutTest, ReplacesAnOlderFileOfTheSameName) {
    ASSERT_TRUE(testing_support::WriteBytes(LinkPath(), "not a link"));
    CreateDesktopShortcut(kTarget.c_str(), m_name.c_str());
    LinkContents link;
    ASSERT_TRUE(ReadLink(LinkPath(), &link));
    EXPECT_EQ(kTarget, link.target);
}

TEST_F(DesktopShortcutTest, DeleteRemovesTheLink) {
    CreateDesktopShortcut(kTarget.c_str(), m_name.c_str());
    ASSERT_TRUE(Exists(LinkPath()));
    DeleteDesktopShortcut(m_name.c_str());
    EXPECT_FALSE(Exists(LinkPath()));
}

TEST_F(DesktopShortcutTest, OtherDesktopsAreNeverTouched) {
    const std::wstring shared =
        ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + L"\\" + m_name + L".lnk";
    // Another user's profile beside ours.
    const std::wstring profiles = ShellFolder(CSIDL_PROFILE);
    const std::wstring other = profiles.substr(0, profiles.rfind(L'\\')) +
                               L"\\korvane-other\\Desktop\\" + m_name + L".lnk";
    ASSERT_TRUE(testing_support::WriteBytes(shared, "shared desktop"));
    ASSERT_TRUE(testing_support::WriteBytes(other, "other user"));

    CreateDesktopShortcut(kTarget.c_str(), m_name.c_str());
    EXPECT_EQ("shared desktop", ReadBytes(shared));
    EXPECT_EQ("other user", ReadBytes(other));
    DeleteDesktopShortcut(m_name.c_str());
    EXPECT_EQ("shared desktop", ReadBytes(shared));
    EXPECT_EQ("other user", ReadBytes(other));

    DeleteFileW(shared.c_str());
    testing_support::DeleteTree(other.substr(0, other.rfind(L"\\Desktop")));
}

TEST_F(DesktopShortcutTest, ComIsUninitialisedAgainAfterwards) {
    CreateDesktopShortcut(kTarget.c_str(), m_name.c_str());
    // The thread is free to choose its own COM model: nothing of ours is left on it.
    const HRESULT result = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    EXPECT_EQ(S_OK, result);
    if (SUCCEEDED(result))
        CoUninitialize();
}

TEST_F(DesktopShortcutTest, ANameTooLongForAPathMakesNoLink) {
    const std::wstring desktop = ShellFolder(CSIDL_DESKTOPDIRECTORY);
    const std::wstring longName = m_name + std::wstring(MAX_PATH - m_name.size(), L'x');
    CreateDesktopShortcut(kTarget.c_str(), longName.c_str());
    // Other tests of this prefix come and go on the same desktop: look for this name only, in
    // whatever shortened form a cut path would have given it.
    for (const std::wstring& entry : ListFolder(desktop))
        EXPECT_NE(0u, entry.rfind(m_name, 0)) << "a link was made: " << entry.size() << " chars";
}

class ProgramsShortcutTest : public ::testing::Test {
protected:
    void TearDown() override { testing_support::DeleteTree(Folder()); }
    std::wstring Folder() const { return ShellFolder(CSIDL_COMMON_PROGRAMS) + L"\\" + m_folder; }
    std::wstring LinkPath(const std::wstring& name) const {
        return Folder() + L"\\" + name + L".lnk";
    }
    void CreateBoth() {
        CreateProgramsShortcut(m_folder.c_str(), kTarget.c_str(), m_folder.c_str(), nullptr);
        CreateProgramsShortcut(m_folder.c_str(), kUninstaller.c_str(), L"Uninstall", L"delpkg");
    }
    const std::wstring m_folder = UniqueName(L"Korvane Programs");
};

TEST_F(ProgramsShortcutTest, CreatesTheMissingFolderAndBothLinks) {
    ASSERT_FALSE(Exists(Folder()));
    CreateBoth();
    EXPECT_EQ((std::vector<std::wstring>{m_folder + L".lnk", L"Uninstall.lnk"}),
              ListFolder(Folder()));
    LinkContents application;
    ASSERT_TRUE(ReadLink(LinkPath(m_folder), &application));
    EXPECT_EQ(kTarget, application.target);
    EXPECT_EQ(L"", application.arguments);
    LinkContents uninstaller;
    ASSERT_TRUE(ReadLink(LinkPath(L"Uninstall"), &uninstaller));
    EXPECT_EQ(kUninstaller, uninstaller.target);
    EXPECT_EQ(L"delpkg", uninstaller.arguments);
}

TEST_F(ProgramsShortcutTest, AnExistingLinkIsReplacedByOne) {
    CreateProgramsShortcut(m_folder.c_str(), L"C:\\Old Place\\old.exe", L"Uninstall", L"old");
    CreateProgramsShortcut(m_folder.c_str(), kUninstaller.c_str(), L"Uninstall", L"delpkg");
    EXPECT_EQ(std::vector<std::wstring>{L"Uninstall.lnk"}, ListFolder(Folder()));
    LinkContents link;
    ASSERT_TRUE(ReadLink(LinkPath(L"Uninstall"), &link));
    EXPECT_EQ(kUninstaller, link.target);
    EXPECT_EQ(L"delpkg", link.arguments);
}

TEST_F(ProgramsShortcutTest, RemovalInUninstallOrderLeavesNothing) {
    CreateBoth();
    DeleteProgramsShortcut(m_folder.c_str(), m_folder.c_str(), false);
    EXPECT_EQ(std::vector<std::wstring>{L"Uninstall.lnk"}, ListFolder(Folder()));
    DeleteProgramsShortcut(m_folder.c_str(), L"Uninstall", true);
    EXPECT_FALSE(Exists(Folder()));
}

TEST_F(ProgramsShortcutTest, AFolderHoldingOtherFilesStays) {
    CreateBoth();
    ASSERT_TRUE(testing_support::WriteBytes(Folder() + L"\\Read me.txt", "kept"));
    DeleteProgramsShortcut(m_folder.c_str(), m_folder.c_str(), false);
    DeleteProgramsShortcut(m_folder.c_str(), L"Uninstall", true);
    EXPECT_EQ(std::vector<std::wstring>{L"Read me.txt"}, ListFolder(Folder()));
}

TEST_F(ProgramsShortcutTest, NamesThatLeaveTheFolderAreRefused) {
    const std::wstring programs = ShellFolder(CSIDL_COMMON_PROGRAMS);
    const std::wstring parent = programs.substr(0, programs.rfind(L'\\'));
    const std::wstring escaped = UniqueName(L"Korvane Escaped");
    CreateProgramsShortcut((L"..\\" + escaped).c_str(), kTarget.c_str(), L"x", nullptr);
    CreateProgramsShortcut(m_folder.c_str(), kTarget.c_str(), (L"..\\" + escaped).c_str(), nullptr);
    EXPECT_FALSE(Exists(parent + L"\\" + escaped));
    EXPECT_FALSE(Exists(programs + L"\\" + escaped + L".lnk"));
    EXPECT_FALSE(Exists(Folder()));

    // An empty folder name would name the Programs folder itself.
    const std::wstring probe = UniqueName(L"Korvane In Programs");
    ASSERT_TRUE(testing_support::WriteBytes(programs + L"\\" + probe + L".lnk", "not ours"));
    DeleteProgramsShortcut(L"", probe.c_str(), true);
    EXPECT_TRUE(Exists(programs + L"\\" + probe + L".lnk"));
    DeleteFileW((programs + L"\\" + probe + L".lnk").c_str());
}

} // namespace

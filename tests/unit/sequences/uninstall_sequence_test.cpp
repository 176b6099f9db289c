// The uninstall sequence: what it removes, what it leaves, and what it never touches.
#include "config/globals.h"
#include "engine/handles.h"
#include "engine/install_engine.h"
#include "unit/engine/engine_test_support.h"
#include "sequence_test_support.h"

#include <gtest/gtest.h>

using engine_testing::FailureRecorder;
using sequence_testing::FakeInstallation;
using sequence_testing::FileExists;
using sequence_testing::KeyExists;
using sequence_testing::ListFolder;

namespace {

class UninstallSequenceTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_bWinNT6 = FALSE;
        ASSERT_TRUE(RunInstall(m_fake.SetupDir().c_str(), m_fake.Config()));
        ASSERT_TRUE(testing_support::WriteBytes(m_fake.InstallFile(L"Cfg.KV"), "state"));
    }
    void TearDown() override { RunUninstall(m_fake.Config()); }

    FakeInstallation m_fake;
    FailureRecorder m_failures;
};

TEST_F(UninstallSequenceTest, RemovesAllButTheRunningUninstaller) {
    BOOL ran = FALSE;
    EXPECT_TRUE(RunUninstall(m_fake.Config(), &ran));
    EXPECT_TRUE(ran);
    EXPECT_TRUE(m_failures.Texts().empty());
    // The uninstaller's folder stays for the self-removal script.
    EXPECT_EQ(std::vector<std::wstring>{L"Uninstall"}, ListFolder(m_fake.Config().szInstallDir));
    EXPECT_EQ(6u, ListFolder(m_fake.InstallFile(L"Uninstall")).size());
    EXPECT_FALSE(KeyExists(m_fake.UninstallKey()));
    EXPECT_FALSE(FileExists(m_fake.DesktopLink()));
    EXPECT_FALSE(FileExists(m_fake.ProgramsFolder()));
}

TEST_F(UninstallSequenceTest, RunningItTwiceOrOnAPartialInstallFailsNowhere) {
    ASSERT_TRUE(DeleteFileW(m_fake.InstallFile(L"App.exe").c_str()));
    ASSERT_TRUE(DeleteFileW(m_fake.DesktopLink().c_str()));
    EXPECT_TRUE(RunUninstall(m_fake.Config()));
    EXPECT_EQ(std::vector<std::wstring>{L"Uninstall"}, ListFolder(m_fake.Config().szInstallDir));
    BOOL ran = FALSE;
    EXPECT_TRUE(RunUninstall(m_fake.Config(), &ran));
    EXPECT_TRUE(ran);
    EXPECT_TRUE(m_failures.Texts().empty());
}

TEST_F(UninstallSequenceTest, AForeignFileStaysAndSoDoesItsFolder) {
    ASSERT_TRUE(testing_support::WriteBytes(m_fake.InstallFile(L"notes.txt"), "mine"));
    ASSERT_TRUE(testing_support::WriteBytes(m_fake.ProgramsFolder() + L"\\Other.lnk", "mine"));
    EXPECT_TRUE(RunUninstall(m_fake.Config()));
    EXPECT_EQ((std::vector<std::wstring>{L"Uninstall", L"notes.txt"}),
              ListFolder(m_fake.Config().szInstallDir));
    EXPECT_EQ(std::vector<std::wstring>{L"Other.lnk"}, ListFolder(m_fake.ProgramsFolder()));
    DeleteFileW((m_fake.ProgramsFolder() + L"\\Other.lnk").c_str());
}

TEST_F(UninstallSequenceTest, AFileThatCannotBeDeletedFailsTheRemovalButNotTheRest) {
    {
        ScopedHandle held(CreateFileW(m_fake.InstallFile(L"App.exe").c_str(), GENERIC_READ,
                                      FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        BOOL ran = FALSE;
        EXPECT_FALSE(RunUninstall(m_fake.Config(), &ran));
        EXPECT_TRUE(ran);
    }
    ASSERT_EQ(1u, m_failures.Texts().size());
    EXPECT_EQ(L"Fail to delete the file \"" + m_fake.InstallFile(L"App.exe") + L"\"!",
              m_failures.Texts()[0]);
    EXPECT_EQ((std::vector<std::wstring>{L"App.exe", L"Uninstall"}),
              ListFolder(m_fake.Config().szInstallDir));
    EXPECT_FALSE(KeyExists(m_fake.UninstallKey()));
    EXPECT_FALSE(FileExists(m_fake.DesktopLink()));
}

TEST_F(UninstallSequenceTest, ReadOnlyFilesAreDeletedToo) {
    ASSERT_TRUE(SetFileAttributesW(m_fake.InstallFile(L"Cfg.KV").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(RunUninstall(m_fake.Config()));
    EXPECT_FALSE(FileExists(m_fake.InstallFile(L"Cfg.KV")));
}

// Names that would turn the removal's deletions towards other folders: nothing is deleted and
// the removal does not count as run, so its uninstaller stays.
TEST_F(UninstallSequenceTest, UnsafeNamesDeleteNothing) {
    // Files of the removal's names in the folder above the install folder, and in that one's
    // parent: a removal that climbed would delete them.
    const std::wstring parent = m_fake.ParentDir();
    for (const wchar_t* name : {L"mingwm10.dll", L"App.exe", L"Cfg.KV", L"center.gif"})
        ASSERT_TRUE(testing_support::WriteBytes(parent + name, "bystander"));

    struct Case {
        const wchar_t* folderName;
        std::wstring installDir;
    };
    const std::vector<Case> cases = {
        {L"", L""},   {L"..", parent + L".."},   {L"..\\..", parent + L"..\\.."},
        {L"x", L"x"}, {L"NUL", parent + L"NUL"}, {L"", parent.substr(0, parent.size() - 1)},
    };
    for (const Case& c : cases) {
        InstallConfig config = m_fake.Config();
        wcscpy(config.szAppFolderName, c.folderName);
        wcscpy(config.szInstallDir, c.installDir.c_str());
        BOOL ran = TRUE;
        EXPECT_FALSE(RunUninstall(config, &ran)) << c.installDir;
        EXPECT_FALSE(ran);
    }
    EXPECT_EQ(cases.size(), m_failures.Texts().size());
    EXPECT_EQ((std::vector<std::wstring>{L"App.exe", L"Cfg.KV", m_fake.Config().szAppFolderName,
                                         L"center.gif", L"mingwm10.dll"}),
              ListFolder(parent.substr(0, parent.size() - 1)));
    EXPECT_EQ(6u, ListFolder(m_fake.Config().szInstallDir).size());
    EXPECT_TRUE(KeyExists(m_fake.UninstallKey()));
}

TEST_F(UninstallSequenceTest, AnUnsafeProgramNameDeletesNothing) {
    InstallConfig config = m_fake.Config();
    wcscpy(config.szAppFileName, L"..\\..\\App.exe");
    EXPECT_FALSE(RunUninstall(config));
    EXPECT_TRUE(FileExists(m_fake.InstallFile(L"mingwm10.dll")));
    EXPECT_TRUE(FileExists(m_fake.DesktopLink()));
}

} // namespace

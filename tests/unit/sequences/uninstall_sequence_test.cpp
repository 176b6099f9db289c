// The uninstall sequence: what it removes, what it leaves, and what it never touches.
#include "config/globals.h"
#include "config/handles.h"
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

// An installation made by the install sequence, and its removal started from the distribution,
// which deletes the uninstaller's files itself; the removal from the installed uninstaller (which
// leaves them to its self-removal script) is tested end to end.
class UninstallSequenceTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_bWinNT6 = FALSE;
        ASSERT_TRUE(RunInstall(m_fake.SetupDir().c_str(), m_fake.Config(), m_failures));
        ASSERT_TRUE(testing_support::WriteBytes(m_fake.InstallFile(L"Cfg.KV"), "state"));
    }
    void TearDown() override { Remove(); }

    RemovalOutcome Remove() {
        return RunUninstall(m_fake.SetupDir().c_str(), m_fake.Config(), m_failures);
    }

    void ExpectAllGone() {
        EXPECT_FALSE(FileExists(m_fake.Config().szInstallDir));
        EXPECT_FALSE(KeyExists(m_fake.UninstallKey()));
        EXPECT_FALSE(FileExists(m_fake.DesktopLink()));
        EXPECT_FALSE(FileExists(m_fake.ProgramsFolder()));
    }

    FakeInstallation m_fake;
    FailureRecorder m_failures;
};

TEST_F(UninstallSequenceTest, RemovesEverythingItInstalled) {
    EXPECT_EQ(RemovalOutcome::kRemoved, Remove());
    EXPECT_TRUE(m_failures.Texts().empty());
    ExpectAllGone();
    // Nothing is left to remove: the next removal finds no installation and changes nothing.
    EXPECT_EQ(RemovalOutcome::kRefused, Remove());
    EXPECT_EQ(1u, m_failures.Texts().size());
}

TEST_F(UninstallSequenceTest, APartlyRemovedInstallationIsRemovedToo) {
    ASSERT_TRUE(DeleteFileW(m_fake.InstallFile(L"App.exe").c_str()));
    ASSERT_TRUE(DeleteFileW(m_fake.InstallFile(L"Uninstall\\setup.ini").c_str()));
    ASSERT_TRUE(DeleteFileW(m_fake.DesktopLink().c_str()));
    EXPECT_EQ(RemovalOutcome::kRemoved, Remove());
    EXPECT_TRUE(m_failures.Texts().empty());
    ExpectAllGone();
}

TEST_F(UninstallSequenceTest, AForeignFileStaysAndSoDoesItsFolder) {
    ASSERT_TRUE(testing_support::WriteBytes(m_fake.InstallFile(L"notes.txt"), "mine"));
    ASSERT_TRUE(testing_support::WriteBytes(m_fake.ProgramsFolder() + L"\\Other.lnk", "mine"));
    EXPECT_EQ(RemovalOutcome::kRemoved, Remove());
    EXPECT_EQ(std::vector<std::wstring>{L"notes.txt"}, ListFolder(m_fake.Config().szInstallDir));
    EXPECT_EQ(std::vector<std::wstring>{L"Other.lnk"}, ListFolder(m_fake.ProgramsFolder()));
    DeleteFileW((m_fake.ProgramsFolder() + L"\\Other.lnk").c_str());
}

TEST_F(UninstallSequenceTest, AFileInUseFailsTheRemovalAndASecondRemovalFinishes) {
    {
        ScopedHandle held(CreateFileW(m_fake.InstallFile(L"App.exe").c_str(), GENERIC_READ,
                                      FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_EQ(RemovalOutcome::kFailed, Remove());
    }
    ASSERT_EQ(1u, m_failures.Texts().size());
    EXPECT_EQ(L"Fail to delete the file \"" + m_fake.InstallFile(L"App.exe") + L"\"!",
              m_failures.Texts()[0]);
    // The other files went; the entry, the uninstaller and the shortcuts stay to run it again.
    EXPECT_EQ((std::vector<std::wstring>{L"App.exe", L"Uninstall"}),
              ListFolder(m_fake.Config().szInstallDir));
    EXPECT_EQ(6u, ListFolder(m_fake.InstallFile(L"Uninstall")).size());
    EXPECT_TRUE(KeyExists(m_fake.UninstallKey()));
    EXPECT_TRUE(FileExists(m_fake.ProgramsFolder() + L"\\Uninstall.lnk"));

    EXPECT_EQ(RemovalOutcome::kRemoved, Remove());
    ExpectAllGone();
}

TEST_F(UninstallSequenceTest, ReadOnlyFilesAreDeletedToo) {
    ASSERT_TRUE(SetFileAttributesW(m_fake.InstallFile(L"Cfg.KV").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(RemovalOutcome::kRemoved, Remove());
    ExpectAllGone();
}

// A distribution whose folder name names no installation of this program deletes nothing.
TEST_F(UninstallSequenceTest, ANameThatVouchesForNothingDeletesNothing) {
    for (const wchar_t* folderName : {L"", L"..", L"..\\..", L"NUL", L"Korvane never installed"}) {
        InstallConfig config = m_fake.Config();
        wcscpy(config.szAppFolderName, folderName);
        FailureRecorder failures;
        EXPECT_EQ(RemovalOutcome::kRefused,
                  RunUninstall(m_fake.SetupDir().c_str(), config, failures))
            << folderName;
        EXPECT_EQ(1u, failures.Texts().size()) << "a refusal always says why";
    }
    EXPECT_EQ(6u, ListFolder(m_fake.Config().szInstallDir).size());
    EXPECT_TRUE(KeyExists(m_fake.UninstallKey()));
    EXPECT_TRUE(FileExists(m_fake.DesktopLink()));
}

} // namespace

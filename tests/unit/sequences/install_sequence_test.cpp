// The install sequence against real files, registry and shortcuts. The service scheme stays off
// here (it starts the real service tool, which the end-to-end tests cover); below NT 6 the
// sequence writes a Run value instead.
#include "config/globals.h"
#include "engine/install_engine.h"
#include "engine/handles.h"
#include "unit/engine/engine_test_support.h"
#include "sequence_test_support.h"

#include <gtest/gtest.h>

using engine_testing::FailureRecorder;
using sequence_testing::FakeInstallation;
using sequence_testing::FileExists;
using sequence_testing::KeyExists;
using sequence_testing::ListFolder;
using sequence_testing::ReadAll;

namespace {

class InstallSequenceTest : public ::testing::Test {
protected:
    void SetUp() override { g_bWinNT6 = FALSE; }
    void TearDown() override {
        BOOL ran = FALSE;
        RunUninstall(m_fake.Config(), &ran);
    }

    FakeInstallation m_fake;
    FailureRecorder m_failures;
};

TEST_F(InstallSequenceTest, InstallsFilesRegistrationAndShortcuts) {
    ASSERT_TRUE(RunInstall(m_fake.SetupDir().c_str(), m_fake.Config()));
    EXPECT_TRUE(m_failures.Texts().empty());

    // The application's files, the present images, no service tool below NT 6.
    EXPECT_EQ((std::vector<std::wstring>{L"App.exe", L"Raidlogo.png", L"Uninstall", L"center.gif",
                                         L"mingwm10.dll"}),
              ListFolder(m_fake.Config().szInstallDir));
    EXPECT_EQ("Application\\App.exe", ReadAll(m_fake.InstallFile(L"App.exe")));
    // The uninstaller: setup, its settings and exactly four of the libraries.
    EXPECT_EQ((std::vector<std::wstring>{L"setup.exe", L"setup.ini", L"setupCHS.dll",
                                         L"setupCHT.dll", L"setupENU.dll", L"setupJPN.dll"}),
              ListFolder(m_fake.InstallFile(L"Uninstall")));
    EXPECT_EQ("setup.ini", ReadAll(m_fake.InstallFile(L"Uninstall\\setup.ini")));

    EXPECT_TRUE(KeyExists(m_fake.UninstallKey()));
    EXPECT_TRUE(FileExists(m_fake.DesktopLink()));
    EXPECT_EQ((std::vector<std::wstring>{std::wstring(m_fake.Config().szAppName) + L".lnk",
                                         L"Uninstall.lnk"}),
              ListFolder(m_fake.ProgramsFolder()));
}

TEST_F(InstallSequenceTest, AMissingProgramChangesNothing) {
    ASSERT_TRUE(DeleteFileW(m_fake.DistFile(L"Application\\App.exe").c_str()));
    EXPECT_FALSE(RunInstall(m_fake.SetupDir().c_str(), m_fake.Config()));
    ASSERT_EQ(1u, m_failures.Texts().size());
    EXPECT_NE(std::wstring::npos, m_failures.Texts()[0].find(L"App.exe\" is missing"));
    EXPECT_TRUE(ListFolder(m_fake.ParentDir()).empty());
    EXPECT_FALSE(KeyExists(m_fake.UninstallKey()));
    EXPECT_FALSE(FileExists(m_fake.DesktopLink()));
    EXPECT_FALSE(FileExists(m_fake.ProgramsFolder()));
}

TEST_F(InstallSequenceTest, AClimbingFolderNameChangesNothing) {
    InstallConfig config = m_fake.Config();
    wcscpy(config.szAppFolderName, L"..\\..");
    wcscpy(config.szInstallDir, (m_fake.ParentDir() + L"..\\..").c_str());
    EXPECT_FALSE(RunInstall(m_fake.SetupDir().c_str(), config));
    EXPECT_EQ(1u, m_failures.Texts().size());
    EXPECT_TRUE(ListFolder(m_fake.ParentDir()).empty());
    EXPECT_FALSE(FileExists(m_fake.DesktopLink()));
}

TEST_F(InstallSequenceTest, InstallingAgainReplacesEveryFileAndKeepsOneSetOfShortcuts) {
    ASSERT_TRUE(RunInstall(m_fake.SetupDir().c_str(), m_fake.Config()));
    ASSERT_TRUE(testing_support::WriteBytes(m_fake.DistFile(L"Application\\App.exe"), "new"));
    ASSERT_TRUE(testing_support::WriteBytes(m_fake.DistFile(L"setup.ini"), "new settings"));

    ASSERT_TRUE(RunInstall(m_fake.SetupDir().c_str(), m_fake.Config()));
    EXPECT_EQ("new", ReadAll(m_fake.InstallFile(L"App.exe")));
    EXPECT_EQ("new settings", ReadAll(m_fake.InstallFile(L"Uninstall\\setup.ini")));
    EXPECT_EQ(2u, ListFolder(m_fake.ProgramsFolder()).size());
    EXPECT_TRUE(m_failures.Texts().empty());
}

TEST_F(InstallSequenceTest, MissingOptionalFilesAreSkippedSilently) {
    for (const wchar_t* name : {L"setupCHT.dll", L"setupJPN.dll", L"Application\\center.gif",
                                L"Application\\Raidlogo.png"})
        ASSERT_TRUE(DeleteFileW(m_fake.DistFile(name).c_str()));
    EXPECT_TRUE(RunInstall(m_fake.SetupDir().c_str(), m_fake.Config()));
    EXPECT_TRUE(m_failures.Texts().empty());
    EXPECT_EQ((std::vector<std::wstring>{L"App.exe", L"Uninstall", L"mingwm10.dll"}),
              ListFolder(m_fake.Config().szInstallDir));
    EXPECT_EQ(4u, ListFolder(m_fake.InstallFile(L"Uninstall")).size());
}

TEST_F(InstallSequenceTest, AFileThatCannotBeReplacedFailsTheInstallButNotTheRest) {
    ASSERT_TRUE(RunInstall(m_fake.SetupDir().c_str(), m_fake.Config()));
    ASSERT_TRUE(testing_support::WriteBytes(m_fake.DistFile(L"Application\\App.exe"), "new"));
    ASSERT_TRUE(testing_support::WriteBytes(m_fake.DistFile(L"Application\\mingwm10.dll"), "new"));
    {
        // The running program holds its file: nobody may write it.
        ScopedHandle held(CreateFileW(m_fake.InstallFile(L"App.exe").c_str(), GENERIC_READ,
                                      FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_FALSE(RunInstall(m_fake.SetupDir().c_str(), m_fake.Config()));
    }
    ASSERT_EQ(1u, m_failures.Texts().size());
    EXPECT_EQ(L"Fail to copy the file \"" + m_fake.InstallFile(L"App.exe") + L"\"!",
              m_failures.Texts()[0]);
    // The sequence went on: the other files, the registration and the shortcuts are there.
    EXPECT_EQ("new", ReadAll(m_fake.InstallFile(L"mingwm10.dll")));
    EXPECT_TRUE(KeyExists(m_fake.UninstallKey()));
    EXPECT_TRUE(FileExists(m_fake.DesktopLink()));
}

TEST_F(InstallSequenceTest, ReadOnlyFilesOfTheDistributionInstallWritable) {
    const std::wstring program = m_fake.DistFile(L"Application\\App.exe");
    ASSERT_TRUE(SetFileAttributesW(program.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(RunInstall(m_fake.SetupDir().c_str(), m_fake.Config()));
    EXPECT_EQ(0u,
              GetFileAttributesW(m_fake.InstallFile(L"App.exe").c_str()) & FILE_ATTRIBUTE_READONLY);
    // So the next install can replace them.
    EXPECT_TRUE(RunInstall(m_fake.SetupDir().c_str(), m_fake.Config()));
    EXPECT_TRUE(m_failures.Texts().empty());
    SetFileAttributesW(program.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(InstallSequenceTest, AnExistingInstallFolderGetsOnlyItsUninstallFolder) {
    ASSERT_TRUE(CreateDirectoryW(m_fake.Config().szInstallDir, nullptr));
    ASSERT_TRUE(testing_support::WriteBytes(m_fake.InstallFile(L"Cfg.KV"), "kept"));
    ASSERT_TRUE(RunInstall(m_fake.SetupDir().c_str(), m_fake.Config()));
    EXPECT_EQ("kept", ReadAll(m_fake.InstallFile(L"Cfg.KV")));
    EXPECT_TRUE(FileExists(m_fake.InstallFile(L"Uninstall\\setup.exe")));
}

TEST_F(InstallSequenceTest, AMissingProgramsFolderFailsBeforeAnyCopy) {
    // Only the last level is created: a parent that does not exist is a failure, reported once.
    InstallConfig config = m_fake.Config();
    const std::wstring dir = m_fake.ParentDir() + L"missing\\" + config.szAppFolderName;
    wcscpy(config.szInstallDir, dir.c_str());
    EXPECT_FALSE(RunInstall(m_fake.SetupDir().c_str(), config));
    ASSERT_LE(1u, m_failures.Texts().size());
    EXPECT_EQ(L"Fail to create the folder \"" + dir + L"\"!", m_failures.Texts()[0]);
}

} // namespace

// With the service scheme (NT 6) the tool must start; the test's tool is no program at all.
class ServiceSchemeInstallTest : public InstallSequenceTest {
protected:
    void SetUp() override { g_bWinNT6 = TRUE; }
    void TearDown() override {
        InstallSequenceTest::TearDown();
        g_bWinNT6 = FALSE;
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kPersistedKey,
                           m_fake.InstallFile(L"App.exe").c_str());
    }
    static constexpr const wchar_t* kPersistedKey =
        L"Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Compatibility "
        L"Assistant\\Persisted";
};

TEST_F(ServiceSchemeInstallTest, AToolThatDoesNotStartStopsBeforeTheShortcuts) {
    EXPECT_FALSE(RunInstall(m_fake.SetupDir().c_str(), m_fake.Config()));
    ASSERT_EQ(1u, m_failures.Texts().size());
    EXPECT_EQ(L"Fail to install the service!", m_failures.Texts()[0]);
    // Files (the tool among them) and registration are in place; no shortcut, no mark.
    EXPECT_EQ("Application\\REriDezaz.exe", ReadAll(m_fake.InstallFile(L"REriDezaz.exe")));
    EXPECT_TRUE(KeyExists(m_fake.UninstallKey()));
    EXPECT_FALSE(FileExists(m_fake.DesktopLink()));
    EXPECT_FALSE(FileExists(m_fake.ProgramsFolder()));
    DWORD mark = 0;
    EXPECT_FALSE(testing_support::ReadRegistryDword(HKEY_CURRENT_USER, kPersistedKey,
                                                    m_fake.InstallFile(L"App.exe"), &mark));
}

TEST_F(ServiceSchemeInstallTest, AnOlderToolNeverStandsInForAMissingOne) {
    EXPECT_FALSE(RunInstall(m_fake.SetupDir().c_str(), m_fake.Config()));
    ASSERT_TRUE(FileExists(m_fake.InstallFile(L"REriDezaz.exe")));
    ASSERT_TRUE(DeleteFileW(m_fake.DistFile(L"Application\\REriDezaz.exe").c_str()));
    EXPECT_FALSE(RunInstall(m_fake.SetupDir().c_str(), m_fake.Config()));
    EXPECT_FALSE(FileExists(m_fake.InstallFile(L"REriDezaz.exe")));
    EXPECT_EQ(L"Fail to install the service!", m_failures.Texts().back());
}

namespace {

ULONGLONG LastWriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) |
           data.ftLastWriteTime.dwLowDateTime;
}

// The service tool of this test is a program that notes its start and, a second later, its end
// in a log file of its own (see the engine tests' command_line_echo).
class SlowServiceToolInstallTest : public ServiceSchemeInstallTest {
protected:
    void SetUp() override {
        ServiceSchemeInstallTest::SetUp();
        ASSERT_TRUE(
            CopyFileW((testing_support::ThisProgramFolder() + L"command_line_echo.exe").c_str(),
                      m_fake.DistFile(L"Application\\REriDezaz.exe").c_str(), FALSE));
        SetEnvironmentVariableW(L"SETUP_ECHO_LOG", m_log.c_str());
        SetEnvironmentVariableW(L"SETUP_ECHO_DELAY_MS", L"1000");
    }
    void TearDown() override {
        SetEnvironmentVariableW(L"SETUP_ECHO_DELAY_MS", nullptr);
        ServiceSchemeInstallTest::TearDown();
        SetEnvironmentVariableW(L"SETUP_ECHO_LOG", nullptr);
    }

    // The tool's runs as "phase switch" lines, in order.
    std::vector<std::wstring> ToolRuns() const {
        std::vector<std::wstring> runs;
        for (const std::wstring& line :
             testing_support::Split(testing_support::ReadUtf16File(m_log), L'\n'))
            runs.push_back(line.substr(0, line.find(L'\t')) + L" " +
                           line.substr(line.find_last_of(L' ') + 1));
        return runs;
    }

    testing_support::TempFolder m_logFolder;
    std::wstring m_log = m_logFolder / L"tool.log";
};

TEST_F(SlowServiceToolInstallTest, ShortcutsAreMadeWhileTheToolRunsAndTheInstallWaitsForIt) {
    ASSERT_TRUE(RunInstall(m_fake.SetupDir().c_str(), m_fake.Config()));
    EXPECT_TRUE(m_failures.Texts().empty());

    // The tool had ended when the install returned: its service is in place by then.
    EXPECT_EQ((std::vector<std::wstring>{L"start -i", L"end -i"}), ToolRuns());
    // The shortcuts did not wait for it: they were written before its end was.
    ASSERT_TRUE(FileExists(m_fake.DesktopLink()));
    const std::wstring uninstallLink = m_fake.ProgramsFolder() + L"\\Uninstall.lnk";
    ASSERT_TRUE(FileExists(uninstallLink));
    EXPECT_LT(LastWriteTime(uninstallLink), LastWriteTime(m_log));
}

} // namespace

// The install sequence against real files, registry and shortcuts, and what it takes back when a
// step fails. The service scheme stays off here but for the last tests (it starts the real
// service tool, which the end-to-end tests cover); below NT 6 the sequence writes a Run value.
#include "config/globals.h"
#include "engine/install_engine.h"
#include "config/handles.h"
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
        FailureRecorder cleanup;
        RunUninstall(m_fake.SetupDir().c_str(), m_fake.Config(), cleanup);
    }

    FakeInstallation m_fake;
    FailureRecorder m_failures;
};

TEST_F(InstallSequenceTest, InstallsFilesRegistrationAndShortcuts) {
    ASSERT_TRUE(RunInstall(m_fake.SetupDir().c_str(), m_fake.Config(), m_failures));
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
    EXPECT_FALSE(RunInstall(m_fake.SetupDir().c_str(), m_fake.Config(), m_failures));
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
    EXPECT_FALSE(RunInstall(m_fake.SetupDir().c_str(), config, m_failures));
    EXPECT_EQ(1u, m_failures.Texts().size());
    EXPECT_TRUE(ListFolder(m_fake.ParentDir()).empty());
    EXPECT_FALSE(FileExists(m_fake.DesktopLink()));
}

TEST_F(InstallSequenceTest, InstallingAgainReplacesEveryFileAndKeepsOneSetOfShortcuts) {
    ASSERT_TRUE(RunInstall(m_fake.SetupDir().c_str(), m_fake.Config(), m_failures));
    ASSERT_TRUE(testing_support::WriteBytes(m_fake.DistFile(L"Application\\App.exe"), "new"));
    ASSERT_TRUE(testing_support::WriteBytes(m_fake.DistFile(L"setup.ini"), "new settings"));

    ASSERT_TRUE(RunInstall(m_fake.SetupDir().c_str(), m_fake.Config(), m_failures));
    EXPECT_EQ("new", ReadAll(m_fake.InstallFile(L"App.exe")));
    EXPECT_EQ("new settings", ReadAll(m_fake.InstallFile(L"Uninstall\\setup.ini")));
    EXPECT_EQ(2u, ListFolder(m_fake.ProgramsFolder()).size());
    EXPECT_TRUE(m_failures.Texts().empty());
    // The replaced files, kept aside while the install ran, are gone with its end.
    EXPECT_EQ((std::vector<std::wstring>{L"App.exe", L"Raidlogo.png", L"Uninstall", L"center.gif",
                                         L"mingwm10.dll"}),
              ListFolder(m_fake.Config().szInstallDir));
    EXPECT_EQ(6u, ListFolder(m_fake.InstallFile(L"Uninstall")).size());
}

TEST_F(InstallSequenceTest, MissingOptionalFilesAreSkippedSilently) {
    for (const wchar_t* name : {L"setupCHT.dll", L"setupJPN.dll", L"Application\\center.gif",
                                L"Application\\Raidlogo.png"})
        ASSERT_TRUE(DeleteFileW(m_fake.DistFile(name).c_str()));
    EXPECT_TRUE(RunInstall(m_fake.SetupDir().c_str(), m_fake.Config(), m_failures));
    EXPECT_TRUE(m_failures.Texts().empty());
    EXPECT_EQ((std::vector<std::wstring>{L"App.exe", L"Uninstall", L"mingwm10.dll"}),
              ListFolder(m_fake.Config().szInstallDir));
    EXPECT_EQ(4u, ListFolder(m_fake.InstallFile(L"Uninstall")).size());
}

TEST_F(InstallSequenceTest, AFileInUseFailsTheUpgradeAndLeavesThePreviousInstallation) {
    ASSERT_TRUE(RunInstall(m_fake.SetupDir().c_str(), m_fake.Config(), m_failures));
    for (const wchar_t* name : {L"Application\\App.exe", L"Application\\mingwm10.dll",
                                L"Application\\center.gif", L"setup.ini"})
        ASSERT_TRUE(testing_support::WriteBytes(m_fake.DistFile(name), "new"));
    InstallConfig next = m_fake.Config();
    wcscpy(next.szVersion, L"10.0");
    {
        // The last file the install replaces is held by someone else: nobody may write it.
        ScopedHandle held(CreateFileW(m_fake.InstallFile(L"center.gif").c_str(), GENERIC_READ,
                                      FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_FALSE(RunInstall(m_fake.SetupDir().c_str(), next, m_failures));
    }
    ASSERT_EQ(1u, m_failures.Texts().size());
    EXPECT_EQ(L"Fail to copy the file \"" + m_fake.InstallFile(L"center.gif") + L"\"!",
              m_failures.Texts()[0]);
    // Every file of the earlier install is back, and only those; its entry and links stay.
    EXPECT_EQ("Application\\App.exe", ReadAll(m_fake.InstallFile(L"App.exe")));
    EXPECT_EQ("Application\\mingwm10.dll", ReadAll(m_fake.InstallFile(L"mingwm10.dll")));
    EXPECT_EQ("setup.ini", ReadAll(m_fake.InstallFile(L"Uninstall\\setup.ini")));
    EXPECT_EQ((std::vector<std::wstring>{L"App.exe", L"Raidlogo.png", L"Uninstall", L"center.gif",
                                         L"mingwm10.dll"}),
              ListFolder(m_fake.Config().szInstallDir));
    std::wstring version;
    ASSERT_TRUE(testing_support::ReadRegistryString(HKEY_LOCAL_MACHINE, m_fake.UninstallKey(),
                                                    L"DisplayVersion", &version));
    EXPECT_EQ(L"9.9", version);
    EXPECT_TRUE(FileExists(m_fake.DesktopLink()));
    EXPECT_EQ(2u, ListFolder(m_fake.ProgramsFolder()).size());
}

TEST_F(InstallSequenceTest, ReadOnlyFilesOfTheDistributionInstallWritable) {
    const std::wstring program = m_fake.DistFile(L"Application\\App.exe");
    ASSERT_TRUE(SetFileAttributesW(program.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(RunInstall(m_fake.SetupDir().c_str(), m_fake.Config(), m_failures));
    EXPECT_EQ(0u,
              GetFileAttributesW(m_fake.InstallFile(L"App.exe").c_str()) & FILE_ATTRIBUTE_READONLY);
    // So the next install can replace them.
    EXPECT_TRUE(RunInstall(m_fake.SetupDir().c_str(), m_fake.Config(), m_failures));
    EXPECT_TRUE(m_failures.Texts().empty());
    SetFileAttributesW(program.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(InstallSequenceTest, AnExistingInstallFolderGetsOnlyItsUninstallFolder) {
    ASSERT_TRUE(CreateDirectoryW(m_fake.Config().szInstallDir, nullptr));
    ASSERT_TRUE(testing_support::WriteBytes(m_fake.InstallFile(L"Cfg.KV"), "kept"));
    ASSERT_TRUE(RunInstall(m_fake.SetupDir().c_str(), m_fake.Config(), m_failures));
    EXPECT_EQ("kept", ReadAll(m_fake.InstallFile(L"Cfg.KV")));
    EXPECT_TRUE(FileExists(m_fake.InstallFile(L"Uninstall\\setup.exe")));
}

TEST_F(InstallSequenceTest, FoldersAboveTheInstallFolderAreMadeAndGoWithIt) {
    // An install folder named on the command line may lie below folders that do not exist yet.
    InstallConfig config = m_fake.Config();
    const std::wstring dir = m_fake.ParentDir() + L"made\\above\\" + config.szAppFolderName;
    wcscpy(config.szInstallDir, dir.c_str());
    ASSERT_TRUE(RunInstall(m_fake.SetupDir().c_str(), config, m_failures));
    EXPECT_TRUE(FileExists(dir + L"\\App.exe"));
    FailureRecorder removal;
    EXPECT_EQ(RemovalOutcome::kRemoved, RunUninstall(m_fake.SetupDir().c_str(), config, removal));
    EXPECT_TRUE(ListFolder(m_fake.ParentDir()).empty());

    // Where one of them cannot be made (a file has its name), nothing is left behind.
    ASSERT_TRUE(CreateDirectoryW((m_fake.ParentDir() + L"made").c_str(), nullptr));
    ASSERT_TRUE(testing_support::WriteBytes(m_fake.ParentDir() + L"made\\above", "a file"));
    FailureRecorder failed;
    EXPECT_FALSE(RunInstall(m_fake.SetupDir().c_str(), config, failed));
    EXPECT_EQ(std::vector<std::wstring>{L"above"}, ListFolder(m_fake.ParentDir() + L"made"));
    EXPECT_FALSE(KeyExists(m_fake.UninstallKey()));
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

TEST_F(ServiceSchemeInstallTest, AToolThatDoesNotStartLeavesNothingBehind) {
    // The test's tool is no program at all: the files are in place when it is started, and all
    // of them go again, with the folders made for them.
    EXPECT_FALSE(RunInstall(m_fake.SetupDir().c_str(), m_fake.Config(), m_failures));
    EXPECT_EQ(std::vector<std::wstring>{L"Fail to install the service!"}, m_failures.Texts());
    EXPECT_TRUE(ListFolder(m_fake.ParentDir()).empty());
    EXPECT_FALSE(KeyExists(m_fake.UninstallKey()));
    EXPECT_FALSE(FileExists(m_fake.DesktopLink()));
    EXPECT_FALSE(FileExists(m_fake.ProgramsFolder()));
    DWORD mark = 0;
    EXPECT_FALSE(testing_support::ReadRegistryDword(HKEY_CURRENT_USER, kPersistedKey,
                                                    m_fake.InstallFile(L"App.exe"), &mark));
}

namespace {

ULONGLONG LastWriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) |
           data.ftLastWriteTime.dwLowDateTime;
}

// The service tool of this test is the distribution's real one, which notes its start and, a
// second later, its end in a log file of the test's own.
class SlowServiceToolInstallTest : public ServiceSchemeInstallTest {
protected:
    void SetUp() override {
        ServiceSchemeInstallTest::SetUp();
        ASSERT_TRUE(
            CopyFileW((testing_support::DistFolder() + L"Application\\REriDezaz.exe").c_str(),
                      m_fake.DistFile(L"Application\\REriDezaz.exe").c_str(), FALSE));
        SetEnvironmentVariableW(L"SETUP_ECHO_LOG", m_log.c_str());
        SetEnvironmentVariableW(L"SETUP_ECHO_DELAY_MS", L"1000");
        SetEnvironmentVariableW(L"SETUP_ECHO_DELAY_SWITCH", L"-i");
    }
    void TearDown() override {
        SetEnvironmentVariableW(L"SETUP_ECHO_DELAY_MS", nullptr);
        SetEnvironmentVariableW(L"SETUP_ECHO_DELAY_SWITCH", nullptr);
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
    ASSERT_TRUE(RunInstall(m_fake.SetupDir().c_str(), m_fake.Config(), m_failures));
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

// The installed-programs entry and the Run value, in the registry view of a 32-bit program.
#include "engine/registration.h"

#include "config/globals.h"
#include "config/system_facts.h"
#include "engine/failure_report.h"
#include "engine_test_support.h"
#include "support/win_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

using engine_testing::FailureRecorder;
using testing_support::ReadRegistryDword;
using testing_support::ReadRegistryString;

const wchar_t kView64[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\";
const wchar_t kView32[] = L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\";

// The values that the writer seam saw, and the one it refuses.
std::vector<std::wstring> writtenNames;
std::wstring refusedName;

LONG WINAPI RecordingWriter(HKEY key, LPCWSTR name, DWORD reserved, DWORD type, const BYTE* data,
                            DWORD size) {
    writtenNames.push_back(name);
    if (refusedName == name)
        return ERROR_ACCESS_DENIED;
    return RegSetValueExW(key, name, reserved, type, data, size);
}

class RegistrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_bWow64 = IsRunningUnderWow64();
        g_bWinNT6 = IsWinNT6();
        writtenNames.clear();
        refusedName.clear();
        SetRegistryValueWriterForTesting(RecordingWriter);

        std::memset(&m_config, 0, sizeof(m_config));
        // The install folder is a real one, so that its size can be measured.
        m_installDir = m_folder / L"Korvane Dir";
        engine_testing::CreateFolders(m_installDir, false);
        CopyTo(m_config.szInstallDir, m_installDir);
        CopyTo(m_config.szAppFileName, L"DIVodeZivar.exe");
        CopyTo(m_config.szAppName, engine_testing::UniqueName(L"Korvane Registered"));
        CopyTo(m_config.szCompanyName, L"Korvane Technology Corp.");
        CopyTo(m_config.szAppFolderName, engine_testing::UniqueName(L"KORVANEREG"));
        CopyTo(m_config.szVersion, L"2.10.07");
    }

    void TearDown() override {
        SetRegistryValueWriterForTesting(nullptr);
        RemoveRegistration(m_config);
    }

    template <size_t N> static void CopyTo(wchar_t (&field)[N], const std::wstring& text) {
        ASSERT_LT(text.size(), N);
        std::wcscpy(field, text.c_str());
    }

    std::wstring EntryKey() const {
        return std::wstring(RegistryBasePath()) + L"Uninstall\\" + m_config.szAppFolderName;
    }
    std::wstring RunKey() const { return std::wstring(RegistryBasePath()) + L"Run"; }

    bool EntryString(const wchar_t* name, std::wstring* value) const {
        return ReadRegistryString(HKEY_LOCAL_MACHINE, EntryKey(), name, value);
    }
    bool HasEntryValue(const wchar_t* name) const {
        std::wstring text;
        DWORD number = 0;
        return EntryString(name, &text) ||
               ReadRegistryDword(HKEY_LOCAL_MACHINE, EntryKey(), name, &number);
    }

    testing_support::TempFolder m_folder;
    std::wstring m_installDir;
    InstallConfig m_config;
};

TEST_F(RegistrationTest, WritesTheInstalledProgramsEntry) {
    FailureRecorder failures;
    EXPECT_EQ(TRUE, WriteRegistration(m_config));
    EXPECT_TRUE(failures.Texts().empty());

    const std::wstring uninstaller = m_installDir + L"\\Uninstall\\setup.exe";
    std::wstring value;
    ASSERT_TRUE(EntryString(L"UninstallString", &value));
    EXPECT_EQ(L"\"" + uninstaller + L"\" delpkg", value);
    ASSERT_TRUE(EntryString(L"QuietUninstallString", &value));
    EXPECT_EQ(L"\"" + uninstaller + L"\" SilentDel", value);
    ASSERT_TRUE(EntryString(L"DisplayIcon", &value));
    EXPECT_EQ(uninstaller, value);
    ASSERT_TRUE(EntryString(L"DisplayName", &value));
    EXPECT_EQ(m_config.szAppName, value);
    ASSERT_TRUE(EntryString(L"Publisher", &value));
    EXPECT_EQ(L"Korvane Technology Corp.", value);
    ASSERT_TRUE(EntryString(L"DisplayVersion", &value));
    EXPECT_EQ(L"2.10.07", value);
    ASSERT_TRUE(EntryString(L"InstallLocation", &value));
    EXPECT_EQ(m_installDir, value);
    for (const wchar_t* name : {L"NoModify", L"NoRepair"}) {
        DWORD flag = 0;
        ASSERT_TRUE(ReadRegistryDword(HKEY_LOCAL_MACHINE, EntryKey(), name, &flag)) << name;
        EXPECT_EQ(1u, flag) << name;
    }
}

TEST_F(RegistrationTest, ValuesAreWrittenInTheirOrder) {
    WriteRegistration(m_config);
    std::vector<std::wstring> expected;
    if (!g_bWinNT6)
        expected.push_back(m_config.szAppName);
    for (const wchar_t* name :
         {L"UninstallString", L"DisplayName", L"DisplayIcon", L"Publisher", L"DisplayVersion",
          L"QuietUninstallString", L"InstallLocation", L"NoModify", L"NoRepair", L"EstimatedSize"})
        expected.push_back(name);
    EXPECT_EQ(expected, writtenNames);
}

TEST_F(RegistrationTest, EstimatedSizeCountsTheInstalledFilesInKilobytes) {
    ASSERT_TRUE(
        testing_support::WriteBytes(m_installDir + L"\\DIVodeZivar.exe", std::string(3000, 'a')));
    ASSERT_TRUE(testing_support::WriteBytes(m_installDir + L"\\Uninstall\\setup.exe",
                                            std::string(2100, 'b')));
    ASSERT_TRUE(testing_support::WriteBytes(m_installDir + L"\\Uninstall\\setup.ini",
                                            std::string(20, 'c')));
    WriteRegistration(m_config);
    DWORD size = 0;
    ASSERT_TRUE(ReadRegistryDword(HKEY_LOCAL_MACHINE, EntryKey(), L"EstimatedSize", &size));
    EXPECT_EQ(5u, size); // 5120 bytes, rounded up
}

TEST_F(RegistrationTest, KeyIsNamedAfterTheInstallFolder) {
    WriteRegistration(m_config);
    std::wstring value;
    ASSERT_TRUE(EntryString(L"DisplayName", &value));
    EXPECT_EQ(m_config.szAppName, value);
    EXPECT_FALSE(ReadRegistryString(
        HKEY_LOCAL_MACHINE, std::wstring(RegistryBasePath()) + L"Uninstall\\" + m_config.szAppName,
        L"DisplayName", &value));
}

TEST_F(RegistrationTest, EveryEntryLandsInThe32BitView) {
    WriteRegistration(m_config);
    const std::wstring entry = std::wstring(L"Uninstall\\") + m_config.szAppFolderName;
    std::wstring value;
    EXPECT_TRUE(ReadRegistryString(HKEY_LOCAL_MACHINE, (g_bWow64 ? kView32 : kView64) + entry,
                                   L"DisplayName", &value, KEY_WOW64_64KEY));
    // Nothing in the 64-bit program's own place, and no doubled Wow6432Node either.
    if (g_bWow64) {
        EXPECT_FALSE(ReadRegistryString(HKEY_LOCAL_MACHINE, kView64 + entry, L"DisplayName", &value,
                                        KEY_WOW64_64KEY));
        EXPECT_FALSE(ReadRegistryString(HKEY_LOCAL_MACHINE,
                                        std::wstring(L"SOFTWARE\\Wow6432Node\\") + kView32 + entry,
                                        L"DisplayName", &value, KEY_WOW64_64KEY));
    }
}

TEST_F(RegistrationTest, RunValueOnlyBelowNT6) {
    WriteRegistration(m_config);
    std::wstring value;
    const bool written =
        ReadRegistryString(HKEY_LOCAL_MACHINE, RunKey(), m_config.szAppName, &value);
    if (testing_support::GetEnv(L"SETUP_TEST_PREFIX") == L"winxp") {
        ASSERT_TRUE(written);
        EXPECT_EQ(L"\"" + m_installDir + L"\\DIVodeZivar.exe\" min", value);
    } else {
        EXPECT_FALSE(written);
    }
}

TEST_F(RegistrationTest, RemoveDeletesTheEntryAndTheRunValue) {
    g_bWinNT6 = FALSE; // the Run value too, on any prefix
    WriteRegistration(m_config);
    std::wstring value;
    ASSERT_TRUE(ReadRegistryString(HKEY_LOCAL_MACHINE, RunKey(), m_config.szAppName, &value));
    RemoveRegistration(m_config);
    EXPECT_FALSE(HasEntryValue(L"DisplayName"));
    EXPECT_FALSE(ReadRegistryString(HKEY_LOCAL_MACHINE, RunKey(), m_config.szAppName, &value));
}

TEST_F(RegistrationTest, AnEmptyFolderNameTouchesNoOtherKey) {
    WriteRegistration(m_config);
    InstallConfig unnamed = m_config;
    unnamed.szAppFolderName[0] = L'\0';
    EXPECT_EQ(FALSE, WriteRegistration(unnamed));
    RemoveRegistration(unnamed);
    EXPECT_TRUE(HasEntryValue(L"DisplayName"));
    std::wstring value;
    EXPECT_FALSE(ReadRegistryString(HKEY_LOCAL_MACHINE,
                                    std::wstring(RegistryBasePath()) + L"Uninstall",
                                    L"UninstallString", &value));
}

// A refused value that is reported: its message alone, nothing written after it.
struct ReportedFailure {
    const wchar_t* valueName;
    const wchar_t* message;
    const wchar_t* firstValueNotWritten;
};

class ReportedFailureTest : public RegistrationTest,
                            public ::testing::WithParamInterface<ReportedFailure> {};

TEST_P(ReportedFailureTest, ShowsItsMessageAndStopsThere) {
    const ReportedFailure failure = GetParam();
    refusedName = failure.valueName;
    FailureRecorder failures;

    EXPECT_EQ(FALSE, WriteRegistration(m_config));

    EXPECT_EQ(std::vector<std::wstring>{failure.message}, failures.Texts());
    EXPECT_EQ(failure.valueName, writtenNames.back());
    EXPECT_FALSE(HasEntryValue(failure.valueName));
    if (failure.firstValueNotWritten != nullptr) {
        EXPECT_FALSE(HasEntryValue(failure.firstValueNotWritten));
    }
    // What came before stays.
    if (std::wstring(failure.valueName) != L"UninstallString") {
        EXPECT_TRUE(HasEntryValue(L"UninstallString"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    EachReportedValue, ReportedFailureTest,
    ::testing::Values(
        ReportedFailure{L"UninstallString", L"Fail to write the UninstallString registry key!",
                        L"DisplayName"},
        ReportedFailure{L"DisplayName", L"Fail to write the DisplayName registry key!",
                        L"DisplayIcon"},
        ReportedFailure{L"DisplayIcon", L"Fail to write the DisplayIcon registry key!",
                        L"Publisher"},
        ReportedFailure{L"DisplayVersion", L"Fail to write the DisplayVersion registry key!",
                        L"QuietUninstallString"}));

TEST_F(RegistrationTest, APublisherFailureIsSilent) {
    refusedName = L"Publisher";
    FailureRecorder failures;
    EXPECT_EQ(TRUE, WriteRegistration(m_config));
    EXPECT_TRUE(failures.Texts().empty());
    EXPECT_FALSE(HasEntryValue(L"Publisher"));
    EXPECT_TRUE(HasEntryValue(L"DisplayVersion"));
    EXPECT_TRUE(HasEntryValue(L"EstimatedSize"));
}

TEST_F(RegistrationTest, DeploymentValueFailuresAreSilent) {
    FailureRecorder failures;
    for (const wchar_t* name : {L"QuietUninstallString", L"InstallLocation", L"NoModify",
                                L"NoRepair", L"EstimatedSize"}) {
        refusedName = name;
        EXPECT_EQ(TRUE, WriteRegistration(m_config)) << name;
    }
    EXPECT_TRUE(failures.Texts().empty());
}

TEST_F(RegistrationTest, ARefusedRunValueIsReportedAndTheEntryStillWritten) {
    g_bWinNT6 = FALSE;
    refusedName = m_config.szAppName;
    FailureRecorder failures;
    EXPECT_EQ(FALSE, WriteRegistration(m_config));
    EXPECT_EQ(std::vector<std::wstring>{L"Fail to write the Run registry key!"}, failures.Texts());
    EXPECT_TRUE(HasEntryValue(L"DisplayVersion"));
}

TEST_F(RegistrationTest, SilentRunsShowNothingButStillFail) {
    refusedName = L"DisplayName";
    FailureRecorder failures;
    SetFailureBoxesShown(false);
    EXPECT_EQ(FALSE, WriteRegistration(m_config));
    EXPECT_TRUE(failures.Texts().empty());
}

} // namespace

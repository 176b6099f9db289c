// The installed-programs entry with the install's record, and the Run value, in the registry view
// of a 32-bit program; what undo puts back after a refused write.
#include "engine/registration.h"

#include "config/globals.h"
#include "config/system_facts.h"
#include "engine/install_undo.h"
#include "engine/registry_values.h"
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
const wchar_t kMark[] = L"Tessar Setup: Install Folder";

// The one value the writer seam refuses.
std::wstring refusedName;

LONG WINAPI RefusingWriter(HKEY key, LPCWSTR name, DWORD reserved, DWORD type, const BYTE* data,
                           DWORD size) {
    if (refusedName == name)
        return ERROR_ACCESS_DENIED;
    return RegSetValueExW(key, name, reserved, type, data, size);
}

class RegistrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_savedWow64 = g_bWow64;
        m_savedNT6 = g_bWinNT6;
        g_bWow64 = IsRunningUnderWow64();
        g_bWinNT6 = IsWinNT6();
        refusedName.clear();
        SetRegistryValueWriterForTesting(RefusingWriter);

        std::memset(&m_config, 0, sizeof(m_config));
        // The install folder is a real one, so that its files can be measured.
        // The install folder is named like its entry, as every install folder is.
        const std::wstring folderName = engine_testing::UniqueName(L"KORVANEREG");
        m_installDir = m_folder / folderName;
        engine_testing::CreateFolders(m_installDir, false);
        CopyTo(m_config.szInstallDir, m_installDir);
        CopyTo(m_config.szAppFileName, L"DIVodeZivar.exe");
        CopyTo(m_config.szAppName, engine_testing::UniqueName(L"Korvane Registered"));
        CopyTo(m_config.szCompanyName, L"Korvane Technology Corp.");
        CopyTo(m_config.szAppFolderName, folderName);
        CopyTo(m_config.szVersion, L"2.10.07");
        m_record.installDir = m_installDir;
        m_record.files = {L"DIVodeZivar.exe", L"Uninstall\\setup.exe"};
    }

    void TearDown() override {
        SetRegistryValueWriterForTesting(nullptr);
        DeleteInstalledProgramsEntry(m_config.szAppFolderName);
        DeleteRunValues({m_config.szAppName});
        g_bWow64 = m_savedWow64;
        g_bWinNT6 = m_savedNT6;
    }

    template <size_t N> static void CopyTo(wchar_t (&field)[N], const std::wstring& text) {
        ASSERT_LT(text.size(), N);
        std::wcscpy(field, text.c_str());
    }

    // Writes and keeps what was written.
    bool Register() {
        InstallUndo undo;
        const bool written = WriteRegistration(m_config, !g_bWinNT6, m_record, &undo, m_failures);
        undo.Commit();
        return written;
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

    BOOL m_savedWow64 = FALSE;
    BOOL m_savedNT6 = FALSE;
    testing_support::TempFolder m_folder;
    std::wstring m_installDir;
    InstallConfig m_config;
    InstallRecord m_record;
    FailureRecorder m_failures;
};

TEST_F(RegistrationTest, WritesTheInstalledProgramsEntryWithItsRecord) {
    EXPECT_TRUE(Register());
    EXPECT_TRUE(m_failures.Texts().empty());

    const std::wstring uninstaller = m_installDir + L"\\Uninstall\\setup.exe";
    const std::vector<std::pair<const wchar_t*, std::wstring>> expected = {
        {L"UninstallString", L"\"" + uninstaller + L"\" delpkg"},
        {L"QuietUninstallString", L"\"" + uninstaller + L"\" SilentDel"},
        {L"DisplayIcon", uninstaller},
        {L"DisplayName", m_config.szAppName},
        {L"Publisher", L"Korvane Technology Corp."},
        {L"DisplayVersion", L"2.10.07"},
        {L"InstallLocation", m_installDir},
        {kMark, m_installDir},
    };
    for (const auto& value : expected) {
        std::wstring text;
        ASSERT_TRUE(EntryString(value.first, &text)) << value.first;
        EXPECT_EQ(value.second, text) << value.first;
    }
    for (const wchar_t* name : {L"NoModify", L"NoRepair"}) {
        DWORD flag = 0;
        ASSERT_TRUE(ReadRegistryDword(HKEY_LOCAL_MACHINE, EntryKey(), name, &flag)) << name;
        EXPECT_EQ(1u, flag) << name;
    }

    // And the record reads back as this program's, for this folder.
    InstallRecord read;
    ASSERT_EQ(EntryOwner::kOurs, ReadInstallRecord(m_config.szAppFolderName, &read));
    EXPECT_EQ(m_installDir, read.installDir);
    EXPECT_EQ(m_record.files, read.files);
    EXPECT_EQ(std::wstring(m_config.szAppName), read.displayName);
}

TEST_F(RegistrationTest, EstimatedSizeCountsTheRecordedFilesInKilobytesRoundedUp) {
    ASSERT_TRUE(
        testing_support::WriteBytes(m_installDir + L"\\DIVodeZivar.exe", std::string(3000, 'a')));
    ASSERT_TRUE(testing_support::WriteBytes(m_installDir + L"\\Uninstall\\setup.exe",
                                            std::string(2100, 'b')));
    // Not the installation's: not counted.
    ASSERT_TRUE(testing_support::WriteBytes(m_installDir + L"\\notes.txt", std::string(9000, 'c')));
    ASSERT_TRUE(Register());
    DWORD size = 0;
    ASSERT_TRUE(ReadRegistryDword(HKEY_LOCAL_MACHINE, EntryKey(), L"EstimatedSize", &size));
    EXPECT_EQ(5u, size); // 5100 bytes
}

TEST_F(RegistrationTest, KeyIsNamedAfterTheInstallFolderInThe32BitView) {
    ASSERT_TRUE(Register());
    std::wstring value;
    EXPECT_FALSE(ReadRegistryString(
        HKEY_LOCAL_MACHINE, std::wstring(RegistryBasePath()) + L"Uninstall\\" + m_config.szAppName,
        L"DisplayName", &value));
    const std::wstring entry = std::wstring(L"Uninstall\\") + m_config.szAppFolderName;
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

TEST_F(RegistrationTest, RunValueOnlyBelowNT6AndDeletedByName) {
    ASSERT_TRUE(Register());
    std::wstring value;
    const bool written =
        ReadRegistryString(HKEY_LOCAL_MACHINE, RunKey(), m_config.szAppName, &value);
    if (testing_support::GetEnv(L"SETUP_TEST_PREFIX") == L"winxp") {
        ASSERT_TRUE(written);
        EXPECT_EQ(L"\"" + m_installDir + L"\\DIVodeZivar.exe\" min", value);
        InstallRecord read;
        ASSERT_EQ(EntryOwner::kOurs, ReadInstallRecord(m_config.szAppFolderName, &read));
        EXPECT_EQ(std::vector<std::wstring>{m_config.szAppName}, read.runValues);
        EXPECT_TRUE(DeleteRunValues(read.runValues));
        EXPECT_FALSE(ReadRegistryString(HKEY_LOCAL_MACHINE, RunKey(), m_config.szAppName, &value));
    } else {
        EXPECT_FALSE(written);
    }
}

TEST_F(RegistrationTest, AnEmptyFolderNameTouchesNoOtherKey) {
    ASSERT_TRUE(Register());
    InstallConfig unnamed = m_config;
    unnamed.szAppFolderName[0] = L'\0';
    InstallUndo undo;
    EXPECT_FALSE(WriteRegistration(unnamed, !g_bWinNT6, m_record, &undo, m_failures));
    undo.Rollback();
    EXPECT_FALSE(DeleteInstalledProgramsEntry(L""));
    EXPECT_TRUE(HasEntryValue(L"DisplayName"));
    std::wstring value;
    EXPECT_FALSE(ReadRegistryString(HKEY_LOCAL_MACHINE,
                                    std::wstring(RegistryBasePath()) + L"Uninstall",
                                    L"UninstallString", &value));
}

// Entries that are not this program's own for the folder they name.
TEST_F(RegistrationTest, AnEntryWithoutAMarkOrWithADamagedRecordIsForeign) {
    struct Case {
        const wchar_t* valueName;
        const wchar_t* data; // null: the value is deleted
    };
    const std::vector<Case> cases = {
        {kMark, nullptr},
        {L"InstallLocation", L"C:\\Elsewhere"},
        {kMark, L"relative\\folder"},
        {L"Tessar Setup: Files", L"..\\..\\Windows\\notepad.exe"},
        {L"Tessar Setup: Files", L"Other\\setup.exe"},
        {L"Tessar Setup: Shortcuts", L"C:\\Windows\\notepad.exe"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(Register());
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS,
                  RegOpenKeyExW(HKEY_LOCAL_MACHINE, EntryKey().c_str(), 0, KEY_SET_VALUE, &key));
        if (c.data == nullptr)
            RegDeleteValueW(key, c.valueName);
        else if (std::wstring(c.valueName).find(L"Files") != std::wstring::npos ||
                 std::wstring(c.valueName).find(L"Shortcuts") != std::wstring::npos)
            WriteMultiStringValue(key, c.valueName, {c.data});
        else
            WriteStringValue(key, c.valueName, c.data);
        RegCloseKey(key);
        InstallRecord read;
        EXPECT_EQ(EntryOwner::kForeign, ReadInstallRecord(m_config.szAppFolderName, &read))
            << c.valueName << L" " << (c.data ? c.data : L"(deleted)");
    }
    InstallRecord read;
    EXPECT_EQ(EntryOwner::kAbsent, ReadInstallRecord(L"Korvane no such key", &read));
}

// A refused value is reported with its own message, and undo takes back everything written: a
// first install leaves no entry, an install over an earlier one leaves that one's values exactly.
struct RefusedValue {
    const wchar_t* valueName;
    const wchar_t* message;
};

class RefusedValueTest : public RegistrationTest,
                         public ::testing::WithParamInterface<RefusedValue> {};

TEST_P(RefusedValueTest, IsReportedAndTakenBack) {
    const RefusedValue refused = GetParam();
    g_bWinNT6 = FALSE; // the Run value too, on any prefix
    {
        refusedName = refused.valueName;
        InstallUndo undo;
        FailureRecorder failures;
        EXPECT_FALSE(WriteRegistration(m_config, !g_bWinNT6, m_record, &undo, failures));
        undo.Rollback();
        EXPECT_EQ(std::vector<std::wstring>{refused.message}, failures.Texts());
    }
    EXPECT_FALSE(HasEntryValue(L"UninstallString"));
    std::wstring value;
    EXPECT_FALSE(ReadRegistryString(HKEY_LOCAL_MACHINE, RunKey(), m_config.szAppName, &value));

    // Over an earlier entry: its values come back as they were, and nothing new stays.
    refusedName.clear();
    ASSERT_TRUE(Register());
    std::wstring oldName;
    ASSERT_TRUE(EntryString(L"DisplayName", &oldName));
    CopyTo(m_config.szVersion, L"3.0");
    CopyTo(m_config.szCompanyName, L"Korvane Technology Corp. (new)");
    {
        refusedName = refused.valueName;
        InstallUndo undo;
        FailureRecorder failures;
        EXPECT_FALSE(WriteRegistration(m_config, !g_bWinNT6, m_record, &undo, failures));
        undo.Rollback();
    }
    ASSERT_TRUE(EntryString(L"DisplayVersion", &value));
    EXPECT_EQ(L"2.10.07", value);
    ASSERT_TRUE(EntryString(L"Publisher", &value));
    EXPECT_EQ(L"Korvane Technology Corp.", value);
    InstallRecord read;
    EXPECT_EQ(EntryOwner::kOurs, ReadInstallRecord(m_config.szAppFolderName, &read));
}

INSTANTIATE_TEST_SUITE_P(
    EachReportedValue, RefusedValueTest,
    ::testing::Values(
        RefusedValue{L"UninstallString", L"Fail to write the UninstallString registry key!"},
        RefusedValue{L"DisplayName", L"Fail to write the DisplayName registry key!"},
        RefusedValue{L"DisplayIcon", L"Fail to write the DisplayIcon registry key!"},
        RefusedValue{L"DisplayVersion", L"Fail to write the DisplayVersion registry key!"},
        RefusedValue{L"InstallLocation",
                     L"Fail to write the installation's record into the registry!"},
        RefusedValue{kMark, L"Fail to write the installation's record into the registry!"}));

TEST_F(RegistrationTest, ARefusedRunValueIsReportedAndNoEntryWritten) {
    g_bWinNT6 = FALSE;
    refusedName = m_config.szAppName;
    InstallUndo undo;
    EXPECT_FALSE(WriteRegistration(m_config, !g_bWinNT6, m_record, &undo, m_failures));
    undo.Rollback();
    EXPECT_EQ(std::vector<std::wstring>{L"Fail to write the Run registry key!"},
              m_failures.Texts());
    EXPECT_FALSE(HasEntryValue(L"DisplayName"));
}

TEST_F(RegistrationTest, PublisherAndDeploymentValueFailuresAreSilent) {
    for (const wchar_t* name :
         {L"Publisher", L"QuietUninstallString", L"NoModify", L"NoRepair", L"EstimatedSize"}) {
        refusedName = name;
        EXPECT_TRUE(Register()) << name;
        EXPECT_FALSE(HasEntryValue(name)) << name;
        DeleteInstalledProgramsEntry(m_config.szAppFolderName);
    }
    EXPECT_TRUE(m_failures.Texts().empty());
}

} // namespace

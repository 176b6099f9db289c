// Reading setup.ini through the real profile functions, and the install folder derived from it.
#include "config/globals.h"
#include "config/install_config.h"
#include "config/system_facts.h"
#include "support/win_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using testing_support::TempFolder;
using testing_support::WriteUtf16;

namespace {

class SetupIniTest : public ::testing::Test {
protected:
    void SetUp() override { g_bWow64 = IsRunningUnderWow64(); }

    InstallConfig Read() {
        InstallConfig config;
        std::memset(&config, 0x5A, sizeof(config)); // the reader must clear every field
        ReadSetupIni(m_folder.Path().c_str(), &config);
        return config;
    }
    void WriteIni(const std::wstring& text) {
        ASSERT_TRUE(WriteUtf16(m_folder / L"setup.ini", text));
    }

    // The install folder this prefix must give for a folder name: the root of the Windows
    // folder, then the programs folder of a 32-bit program.
    static std::wstring ExpectedInstallDir(const std::wstring& folderName) {
        const bool is32BitPrefix = testing_support::GetEnv(L"SETUP_TEST_PREFIX") == L"win32" ||
                                   testing_support::GetEnv(L"SETUP_TEST_PREFIX") == L"winxp";
        return std::wstring(is32BitPrefix ? L"C:\\Program Files\\" : L"C:\\Program Files (x86)\\") +
               folderName;
    }

    TempFolder m_folder;
};

TEST_F(SetupIniTest, MissingFileGivesEveryDefault) {
    const InstallConfig config = Read();
    EXPECT_EQ(ExpectedInstallDir(L"BRONDL"), config.szInstallDir);
    EXPECT_STREQ(L"BRONDL", config.szAppFolderName);
    EXPECT_STREQ(L"DIVodeZivar.exe", config.szAppFileName);
    EXPECT_STREQ(L"Korvane HW RAID Manager", config.szAppName);
    EXPECT_STREQ(L"Korvane Technology Corp.", config.szCompanyName);
    EXPECT_STREQ(L"1.00.00", config.szVersion);
    EXPECT_EQ(0, config.bLaunchInSilentMode);
}

TEST_F(SetupIniTest, ValuesOfTheFileWin) {
    WriteIni(L"[Startup]\r\nAppName=Array Tool\r\nCompanyName=Acme\r\nVersion=2.1\r\n"
             L"[Customized_Setting]\r\nAPPFolderName=Arrays\r\nAPPFileName=tool.exe\r\n"
             L"LaunchAPInSilentMode=1\r\n");
    const InstallConfig config = Read();
    EXPECT_EQ(ExpectedInstallDir(L"Arrays"), config.szInstallDir);
    EXPECT_STREQ(L"Arrays", config.szAppFolderName);
    EXPECT_STREQ(L"tool.exe", config.szAppFileName);
    EXPECT_STREQ(L"Array Tool", config.szAppName);
    EXPECT_STREQ(L"Acme", config.szCompanyName);
    EXPECT_STREQ(L"2.1", config.szVersion);
    EXPECT_EQ(1, config.bLaunchInSilentMode);
}

TEST_F(SetupIniTest, EmptyValuesStayEmptyWithoutFallingBackToDefaults) {
    WriteIni(L"[Startup]\r\nAppName=\r\nVersion=\r\n[Customized_Setting]\r\nAPPFolderName=\r\n");
    const InstallConfig config = Read();
    EXPECT_STREQ(L"", config.szAppFolderName);
    EXPECT_STREQ(L"", config.szInstallDir);
    EXPECT_STREQ(L"", config.szAppName);
    EXPECT_STREQ(L"", config.szVersion);
    EXPECT_STREQ(L"DIVodeZivar.exe", config.szAppFileName);
    EXPECT_STREQ(L"Korvane Technology Corp.", config.szCompanyName);
}

TEST_F(SetupIniTest, LongValuesAreCutTo259Characters) {
    const std::wstring longName(300, L'N');
    WriteIni(L"[Startup]\r\nAppName=" + longName + L"\r\n");
    const InstallConfig config = Read();
    EXPECT_EQ(longName.substr(0, 259), config.szAppName);
}

TEST_F(SetupIniTest, FolderNameTooLongForTheInstallFolderLeavesItEmpty) {
    // The folder name fits its own field, but not behind "C:\Program Files (x86)\": a cut
    // install folder would point somewhere else, so there is none.
    const std::wstring longName(250, L'F');
    WriteIni(L"[Customized_Setting]\r\nAPPFolderName=" + longName + L"\r\n");
    const InstallConfig config = Read();
    EXPECT_EQ(longName, config.szAppFolderName);
    EXPECT_STREQ(L"", config.szInstallDir);
}

TEST_F(SetupIniTest, SectionAndKeyNamesIgnoreCase) {
    WriteIni(L"[STARTUP]\r\nappname=Lower Case\r\n[customized_setting]\r\nappfoldername=Mixed\r\n");
    const InstallConfig config = Read();
    EXPECT_STREQ(L"Lower Case", config.szAppName);
    EXPECT_EQ(ExpectedInstallDir(L"Mixed"), config.szInstallDir);
}

TEST_F(SetupIniTest, LaunchFlagIsAnyNonZeroNumber) {
    WriteIni(L"[Customized_Setting]\r\nLaunchAPInSilentMode=2\r\n");
    EXPECT_EQ(1, Read().bLaunchInSilentMode);
    WriteIni(L"[Customized_Setting]\r\nLaunchAPInSilentMode=yes\r\n");
    EXPECT_EQ(0, Read().bLaunchInSilentMode);
    WriteIni(L"[Customized_Setting]\r\nLaunchAPInSilentMode=0\r\n");
    EXPECT_EQ(0, Read().bLaunchInSilentMode);
}

TEST_F(SetupIniTest, ChineseValuesReadFromAUtf16File) {
    WriteIni(L"[Startup]\r\nAppName=\x9663\x5217\x7BA1\x7406\r\n");
    EXPECT_STREQ(L"\x9663\x5217\x7BA1\x7406", Read().szAppName);
}

} // namespace

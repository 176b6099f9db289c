// The file table and the lists of copies and deletions formed from it.
#include "engine/file_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

InstallConfig DefaultConfig() {
    InstallConfig config = {};
    wcscpy(config.szInstallDir, L"C:\\Program Files\\BRONDL");
    wcscpy(config.szAppFolderName, L"BRONDL");
    wcscpy(config.szAppFileName, L"DIVodeZivar.exe");
    return config;
}

TEST(FileTable, HoldsTwentyZeroPaddedRowsOfFiftyCharacters) {
    EXPECT_EQ(20u * 50u * sizeof(wchar_t), sizeof(SetupFileTable));
    const wchar_t* const expected[] = {
        L"setupENU.dll",    L"setupCHT.dll", L"setupCHS.dll",    L"setupJPN.dll", L"setupKOR.dll",
        L"setupFRA.dll",    L"setupDEU.dll", L"setupITA.dll",    L"setupRUS.dll", L"setupESN.dll",
        L"setupSVE.dll",    L"setupNLD.dll", L"setupPTB.dll",    L"center.gif",   L"speed_left.gif",
        L"speed_right.gif", L"Company.bmp",  L"RaidAPTitle.bmp", L"Raidlogo.png", L"aboutTitle.bmp",
    };
    for (int row = 0; row < 20; ++row) {
        EXPECT_STREQ(expected[row], SetupFileTable[row]) << "row " << row;
        for (size_t at = wcslen(expected[row]); at < 50; ++at)
            EXPECT_EQ(L'\0', SetupFileTable[row][at]) << "row " << row << " at " << at;
    }
}

TEST(FileTable, InstallCopiesGoFromTheDistributionToTheirPlaces) {
    std::vector<FileCopy> copies;
    PathOverflow overflow;
    ASSERT_TRUE(ListInstallCopies(L"D:\\", DefaultConfig(), false, &copies, &overflow));
    ASSERT_EQ(15u, copies.size()); // setup, settings, four libraries, library, program, 7 images
    EXPECT_STREQ(L"D:\\setup.exe", copies[0].szSource);
    EXPECT_STREQ(L"C:\\Program Files\\BRONDL\\Uninstall\\setup.exe", copies[0].szTarget);
    EXPECT_STREQ(L"D:\\setup.ini", copies[1].szSource);
    EXPECT_STREQ(L"C:\\Program Files\\BRONDL\\Uninstall\\setupJPN.dll", copies[5].szTarget);
    EXPECT_STREQ(L"D:\\Application\\mingwm10.dll", copies[6].szSource);
    EXPECT_STREQ(L"C:\\Program Files\\BRONDL\\mingwm10.dll", copies[6].szTarget);
    EXPECT_STREQ(L"D:\\Application\\DIVodeZivar.exe", copies[7].szSource);
    EXPECT_STREQ(L"C:\\Program Files\\BRONDL\\DIVodeZivar.exe", copies[7].szTarget);
    EXPECT_STREQ(L"C:\\Program Files\\BRONDL\\aboutTitle.bmp", copies[14].szTarget);

    // The files the installed program cannot do without, and only those, are required.
    for (size_t at = 0; at < copies.size(); ++at) {
        const bool required = at == 0 || at == 6 || at == 7;
        EXPECT_EQ(required, copies[at].rule == CopyRule::kRequired) << copies[at].szSource;
    }
}

TEST(FileTable, TheServiceToolComesOnlyWithTheServiceScheme) {
    std::vector<FileCopy> copies;
    PathOverflow overflow;
    ASSERT_TRUE(ListInstallCopies(L"D:\\", DefaultConfig(), true, &copies, &overflow));
    ASSERT_EQ(16u, copies.size());
    EXPECT_STREQ(L"D:\\Application\\REriDezaz.exe", copies.back().szSource);
    EXPECT_STREQ(L"C:\\Program Files\\BRONDL\\REriDezaz.exe", copies.back().szTarget);
    EXPECT_EQ(CopyRule::kRequired, copies.back().rule);
}

TEST(FileTable, APathThatDoesNotFitIsNamedNeverCut) {
    InstallConfig config = DefaultConfig();
    // 245 characters: the folder itself fits, "\Uninstall\setupENU.dll" does not.
    std::wstring longDir = L"C:\\" + std::wstring(242, L'x');
    wcscpy(config.szInstallDir, longDir.c_str());
    std::vector<FileCopy> copies;
    PathOverflow overflow;
    EXPECT_FALSE(ListInstallCopies(L"D:\\", config, false, &copies, &overflow));
    EXPECT_EQ(config.szInstallDir, overflow.folder);
    EXPECT_STREQ(L"setup.exe", overflow.name);
    for (const FileCopy& copy : copies) {
        // A target either fits whole or is empty: never a cut path that names something else.
        const std::wstring target = copy.szTarget;
        EXPECT_TRUE(target.empty() || target.rfind(longDir, 0) == 0) << target.size();
    }
}

} // namespace

// System facts as this prefix reports them, and the compatibility assistant's mark.
#include "config/paths.h"
#include "config/system_facts.h"
#include "config/text.h"
#include "support/win_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring PrefixKind() {
    return testing_support::GetEnv(L"SETUP_TEST_PREFIX");
}

TEST(SystemFacts, Wow64OnlyInA64BitPrefix) {
    const bool is64BitPrefix = PrefixKind() == L"win7-64" || PrefixKind() == L"win10";
    EXPECT_EQ(is64BitPrefix ? 1 : 0, IsRunningUnderWow64());
}

TEST(SystemFacts, NT6OnlyOnWindows7) {
    // Windows 10 without a manifest naming it reports 6.2, as Windows does; XP reports 5.1.
    EXPECT_EQ(PrefixKind() == L"winxp" ? 0 : 1, IsWinNT6());
}

TEST(SystemFacts, CompatibilityMarkIsADwordOneNamedByThePath) {
    const wchar_t kKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\"
                           L"Compatibility Assistant\\Persisted";
    const wchar_t kProgram[] = L"c:\\some folder\\marked-by-test.exe";
    MarkCompatibilityPersisted(kProgram);
    DWORD value = 0;
    ASSERT_TRUE(testing_support::ReadRegistryDword(HKEY_CURRENT_USER, kKey, kProgram, &value));
    EXPECT_EQ(1u, value);
}

TEST(Paths, FolderOfPathKeepsTheLastBackslash) {
    wchar_t folder[MAX_PATH];
    GetFolderOfPath(L"C:\\Setup\\setup.exe", folder);
    EXPECT_STREQ(L"C:\\Setup\\", folder);
    GetFolderOfPath(L"setup.exe", folder);
    EXPECT_STREQ(L"", folder);
    GetFolderOfPath(L"C:\\", folder);
    EXPECT_STREQ(L"C:\\", folder);
    // Too long for the buffer: no folder, never the folder of a cut path.
    const std::wstring tooLong =
        L"C:\\" + std::wstring(150, L'a') + L"\\" + std::wstring(150, L'b') + L"\\setup.exe";
    GetFolderOfPath(tooLong.c_str(), folder);
    EXPECT_STREQ(L"", folder);
}

TEST(Text, FormattingNeverOverflowsAndNeverCuts) {
    wchar_t small[8];
    EXPECT_TRUE(FormatInto(small, L"%ls\\%ls", L"ab", L"cd"));
    EXPECT_STREQ(L"ab\\cd", small);
    EXPECT_FALSE(FormatInto(small, L"%ls\\%ls", L"abcd", L"efgh"));
    EXPECT_STREQ(L"", small);
    EXPECT_FALSE(CopyInto(small, L"12345678"));
    EXPECT_STREQ(L"", small);
    wchar_t cut[4];
    CopyTextCut(cut, 4, L"abcdef");
    EXPECT_STREQ(L"abc", cut);
}

TEST(Text, CaseFoldingTouchesOnlyAsciiLetters) {
    wchar_t path[] = L"C:\\DIST\\\x00C9T\x00C9\\SETUP.EXE";
    LowerAsciiInPlace(path);
    EXPECT_STREQ(L"c:\\dist\\\x00C9t\x00C9\\setup.exe", path);
    EXPECT_TRUE(EqualsAsciiNoCase(L"DelPkg", L"delpkg"));
    EXPECT_FALSE(EqualsAsciiNoCase(L"delpkg2", L"delpkg"));
}

} // namespace

// One attempt of the language choice: the library named after the program and the language's
// abbreviation, else the English one beside it.
#include "app/language.h"
#include "language_test_support.h"

#include <gtest/gtest.h>

using namespace language_testing;

namespace {

constexpr LANGID kEnglish = 0x0409;
constexpr LANGID kJapanese = 0x0411;
constexpr LANGID kKorean = 0x0412;
constexpr LANGID kCzech = 0x0405;                  // a language that has no library: CSY
constexpr LANGID kSpanishTraditionalSort = 0x040A; // ESP, where the library is ESN
constexpr LANGID kUnknownLanguage = 0x00FF;        // no locale data at all

LoadedModule Attempt(const std::wstring& programPath, LANGID langId) {
    return LoadedModule(LoadLanguageDllForLangId(programPath.c_str(), langId));
}

// The loaded module is folder + name, and its install button says installText.
void ExpectLibrary(const LoadedModule& module, const std::wstring& folder, const std::wstring& name,
                   const wchar_t* installText) {
    ASSERT_TRUE(module);
    EXPECT_TRUE(SamePath(folder + name, ModuleFileName(module.Get())))
        << "loaded from " << testing::PrintToString(ModuleFileName(module.Get()));
    EXPECT_EQ(installText, LoadText(module.Get(), 1));
}

TEST(LanguageAttempt, LoadsTheLibraryOfTheLanguage) {
    LibraryFolder folder;
    ExpectLibrary(Attempt(folder.ProgramPath(), kJapanese), folder.Path(), L"setupJPN.dll",
                  L"インストール");
}

TEST(LanguageAttempt, NamesTheLibraryAsTheProgramFolderIsWrittenAfterLowering) {
    // The loader keeps the name it was given: the lowered folder and the abbreviation as the
    // locale data spells it, with ".DLL".
    LibraryFolder folder;
    LoadedModule module = Attempt(folder.ProgramPath(), kJapanese);
    ASSERT_TRUE(module);
    EXPECT_EQ(LowerAscii(folder.Path()) + L"setupJPN.DLL", ModuleFileName(module.Get()));
}

TEST(LanguageAttempt, FindsEveryShippedLibraryByItsLanguageId) {
    LibraryFolder folder;
    for (const auto& language : ShippedLanguages()) {
        LoadedModule module = Attempt(folder.ProgramPath(), language.langId);
        ASSERT_TRUE(module) << language.langId;
        EXPECT_TRUE(SamePath(folder.Path() + L"setup" + language.abbreviation + L".dll",
                             ModuleFileName(module.Get())))
            << language.langId;
    }
}

TEST(LanguageAttempt, LanguageIdWithoutSublanguageMeansItsDefaultLocale) {
    LibraryFolder folder;
    ExpectLibrary(Attempt(folder.ProgramPath(), MAKELANGID(LANG_JAPANESE, SUBLANG_NEUTRAL)),
                  folder.Path(), L"setupJPN.dll", L"インストール");
}

TEST(LanguageAttempt, MissingLibraryFallsBackToEnglish) {
    LibraryFolder folder;
    ASSERT_TRUE(folder.Remove(L"KOR"));
    ExpectLibrary(Attempt(folder.ProgramPath(), kKorean), folder.Path(), L"setupENU.dll",
                  L"Install");
}

TEST(LanguageAttempt, LanguageWithoutLibraryEndsAtEnglish) {
    LibraryFolder folder;
    ExpectLibrary(Attempt(folder.ProgramPath(), kCzech), folder.Path(), L"setupENU.dll",
                  L"Install");
    // The abbreviation comes from the locale data: traditional-sort Spanish is ESP, not ESN.
    ExpectLibrary(Attempt(folder.ProgramPath(), kSpanishTraditionalSort), folder.Path(),
                  L"setupENU.dll", L"Install");
}

TEST(LanguageAttempt, NeitherLibraryNorEnglishGivesNothing) {
    LibraryFolder folder;
    ASSERT_TRUE(folder.Remove(L"KOR"));
    ASSERT_TRUE(folder.Remove(L"ENU"));
    EXPECT_FALSE(Attempt(folder.ProgramPath(), kKorean));
}

TEST(LanguageAttempt, LanguageWithoutLocaleDataGivesNothingEvenWithEnglishThere) {
    LibraryFolder folder;
    EXPECT_FALSE(Attempt(folder.ProgramPath(), kUnknownLanguage));
}

TEST(LanguageAttempt, LibraryFileThatDoesNotLoadIsNotReplacedByEnglish) {
    // The file test decides: a library that is there but broken ends the attempt.
    LibraryFolder folder;
    ASSERT_TRUE(testing_support::WriteBytes(folder.Path() + L"setupJPN.dll", "not a library"));
    EXPECT_FALSE(Attempt(folder.ProgramPath(), kJapanese));
    ExpectLibrary(Attempt(folder.ProgramPath(), kKorean), folder.Path(), L"setupKOR.dll", L"설치");
}

TEST(LanguageAttempt, LibraryFileNameCaseDoesNotMatter) {
    LibraryFolder folder;
    ASSERT_TRUE(MoveFileW((folder.Path() + L"setupJPN.dll").c_str(),
                          (folder.Path() + L"SETUPJPN.DLL").c_str()));
    ExpectLibrary(Attempt(folder.ProgramPath(), kJapanese), folder.Path(), L"SETUPJPN.DLL",
                  L"インストール");
}

TEST(LanguageAttempt, ARenamedProgramFindsTheSetupLibraries) {
    // What a browser makes of a second download, and any other name.
    for (const wchar_t* name : {L"setup (1).exe", L"install.exe"}) {
        LibraryFolder folder(L"dist\\", name);
        ExpectLibrary(Attempt(folder.ProgramPath(), kJapanese), folder.Path(), L"setupJPN.dll",
                      L"インストール");
        ExpectLibrary(Attempt(folder.ProgramPath(), kCzech), folder.Path(), L"setupENU.dll",
                      L"Install");
    }
}

TEST(LanguageAttempt, ProgramNameFollowsTheProgramFile) {
    LibraryFolder folder(L"dist\\", L"install.exe");
    ASSERT_TRUE(CopyFileW((folder.Path() + L"setupJPN.dll").c_str(),
                          (folder.Path() + L"installJPN.dll").c_str(), FALSE));
    ExpectLibrary(Attempt(folder.ProgramPath(), kJapanese), folder.Path(), L"installJPN.dll",
                  L"インストール");
}

TEST(LanguageAttempt, AFolderNamedLikeAProgramChangesNothing) {
    // Only the program's own file name counts, not ".exe" in a folder above it.
    LibraryFolder folder(L"raid.exe files\\");
    ExpectLibrary(Attempt(folder.ProgramPath(), kJapanese), folder.Path(), L"setupJPN.dll",
                  L"インストール");
}

TEST(LanguageAttempt, ProgramPathWithoutExeGivesNothing) {
    LibraryFolder folder(L"dist\\", L"setup.com");
    EXPECT_FALSE(Attempt(folder.ProgramPath(), kJapanese));
    EXPECT_FALSE(Attempt(folder.ProgramPath(), kEnglish));
}

TEST(LanguageAttempt, ExtensionIsMatchedOnlyInLowerCase) {
    // Start-up lowers the path first; a path that kept ".EXE" has no ".exe" to cut at.
    LibraryFolder folder;
    const std::wstring upper = folder.Path() + L"SETUP.EXE";
    EXPECT_FALSE(Attempt(upper, kJapanese));
}

} // namespace

// The order of the language choice: user UI language, system UI language, user default, system
// default, each with its English fallback. Under Wine the UI languages always equal the default
// ones, so these tests give the four answers themselves.
#include "app/language.h"
#include "language_test_support.h"

#include <gtest/gtest.h>

#include <string>

using namespace language_testing;

namespace {

constexpr LANGID kTraditionalChinese = 0x0404;
constexpr LANGID kSimplifiedChinese = 0x0804;
constexpr LANGID kJapanese = 0x0411;
constexpr LANGID kKorean = 0x0412;
constexpr LANGID kGerman = 0x0407;

// What the fake system answers, and the questions it was asked, in order: U and S for the user
// and system UI languages, u and s for the default ones.
struct FakeSystem {
    LANGID userUi = 0;
    LANGID systemUi = 0;
    LANGID userDefault = 0;
    LANGID systemDefault = 0;
    std::string asked;
};
FakeSystem fake;

LANGID WINAPI FakeUserUi() {
    fake.asked += 'U';
    return fake.userUi;
}
LANGID WINAPI FakeSystemUi() {
    fake.asked += 'S';
    return fake.systemUi;
}
LANGID WINAPI FakeUserDefault() {
    fake.asked += 'u';
    return fake.userDefault;
}
LANGID WINAPI FakeSystemDefault() {
    fake.asked += 's';
    return fake.systemDefault;
}

class LanguageOrder : public testing::Test {
protected:
    void SetUp() override {
        fake = FakeSystem();
        // The Korean user of a Traditional Chinese system, whose defaults say Simplified
        // Chinese and Japanese.
        fake.userUi = kKorean;
        fake.systemUi = kTraditionalChinese;
        fake.userDefault = kSimplifiedChinese;
        fake.systemDefault = kJapanese;
        m_sources = {FakeUserUi, FakeSystemUi, FakeUserDefault, FakeSystemDefault};
    }

    // The abbreviation of the library that was loaded, or "none".
    std::wstring Choose() {
        LoadedModule module(LoadLanguageDllFrom(m_folder.ProgramPath().c_str(), m_sources));
        if (!module)
            return L"none";
        const std::wstring path = ModuleFileName(module.Get());
        const std::wstring prefix = LowerAscii(m_folder.Path()) + L"setup";
        EXPECT_EQ(prefix, LowerAscii(path.substr(0, prefix.size())));
        return path.substr(prefix.size(), 3);
    }

    LibraryFolder m_folder;
    LanguageIdSources m_sources = {};
};

TEST_F(LanguageOrder, UserUiLanguageComesFirst) {
    fake.userUi = kGerman;
    EXPECT_EQ(L"DEU", Choose());
    EXPECT_EQ("U", fake.asked);
}

TEST_F(LanguageOrder, EnglishStandsInForAMissingUserUiLibraryWithoutAskingFurther) {
    ASSERT_TRUE(m_folder.Remove(L"KOR"));
    EXPECT_EQ(L"ENU", Choose());
    EXPECT_EQ("U", fake.asked);
}

TEST_F(LanguageOrder, WithoutEnglishTheSystemUiLanguageIsNext) {
    ASSERT_TRUE(m_folder.Remove(L"KOR"));
    ASSERT_TRUE(m_folder.Remove(L"ENU"));
    EXPECT_EQ(L"CHT", Choose());
    EXPECT_EQ("US", fake.asked);
}

TEST_F(LanguageOrder, ThenTheUserDefaultLanguage) {
    ASSERT_TRUE(m_folder.Remove(L"KOR"));
    ASSERT_TRUE(m_folder.Remove(L"ENU"));
    ASSERT_TRUE(m_folder.Remove(L"CHT"));
    EXPECT_EQ(L"CHS", Choose());
    EXPECT_EQ("USu", fake.asked);
}

TEST_F(LanguageOrder, ThenTheSystemDefaultLanguage) {
    ASSERT_TRUE(m_folder.Remove(L"KOR"));
    ASSERT_TRUE(m_folder.Remove(L"ENU"));
    ASSERT_TRUE(m_folder.Remove(L"CHT"));
    ASSERT_TRUE(m_folder.Remove(L"CHS"));
    EXPECT_EQ(L"JPN", Choose());
    EXPECT_EQ("USus", fake.asked);
}

TEST_F(LanguageOrder, NothingLoadableGivesNothingAfterAllFour) {
    for (const auto& language : ShippedLanguages())
        ASSERT_TRUE(m_folder.Remove(language.abbreviation));
    EXPECT_EQ(L"none", Choose());
    EXPECT_EQ("USus", fake.asked);
}

TEST_F(LanguageOrder, LanguageWithoutLocaleDataMovesOnEvenWithEnglishThere) {
    fake.userUi = 0x00FF;
    EXPECT_EQ(L"CHT", Choose());
    EXPECT_EQ("US", fake.asked);
}

TEST_F(LanguageOrder, WithoutTheUserUiFunctionBothUiLanguagesAreSkipped) {
    ASSERT_TRUE(m_folder.Remove(L"ENU"));
    m_sources.userUiLanguage = nullptr;
    EXPECT_EQ(L"CHS", Choose());
    EXPECT_EQ("u", fake.asked);
}

TEST_F(LanguageOrder, WithoutTheSystemUiFunctionOnlyThatStepIsSkipped) {
    ASSERT_TRUE(m_folder.Remove(L"KOR"));
    ASSERT_TRUE(m_folder.Remove(L"ENU"));
    m_sources.systemUiLanguage = nullptr;
    EXPECT_EQ(L"CHS", Choose());
    EXPECT_EQ("Uu", fake.asked);
}

TEST(SystemLanguageIdSources, AreTheKernelFunctions) {
    const LanguageIdSources sources = GetSystemLanguageIdSources();
    ASSERT_NE(nullptr, sources.userUiLanguage);
    ASSERT_NE(nullptr, sources.systemUiLanguage);
    ASSERT_NE(nullptr, sources.userDefaultLanguage);
    ASSERT_NE(nullptr, sources.systemDefaultLanguage);
    EXPECT_EQ(GetUserDefaultUILanguage(), sources.userUiLanguage());
    EXPECT_EQ(GetSystemDefaultUILanguage(), sources.systemUiLanguage());
    EXPECT_EQ(GetUserDefaultLangID(), sources.userDefaultLanguage());
    EXPECT_EQ(GetSystemDefaultLangID(), sources.systemDefaultLanguage());
}

TEST(SystemLanguageIdSources, ChooseTheLibraryOfTheUserUiLanguage) {
    LibraryFolder folder;
    LoadedModule chosen(LoadLanguageDll(folder.ProgramPath().c_str()));
    LoadedModule expected(
        LoadLanguageDllForLangId(folder.ProgramPath().c_str(), GetUserDefaultUILanguage()));
    ASSERT_TRUE(chosen);
    // Libraries mapped as resources are mapped anew each time: the files must be the same.
    EXPECT_EQ(ModuleFileName(expected.Get()), ModuleFileName(chosen.Get()));
}

} // namespace

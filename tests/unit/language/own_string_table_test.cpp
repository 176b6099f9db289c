// The program's own string table and the reference texts: setup.exe carries the Traditional
// Chinese set, the same as setupCHT.dll, and the English library says what the wizard means.
#include "language_test_support.h"

#include <gtest/gtest.h>

using namespace language_testing;

namespace {

constexpr LANGID kTraditionalChinese = 0x0404;

const wchar_t* const kTraditionalChineseTexts[] = {
    L"安裝",
    L"取消",
    L"完成",
    L"按一下「安裝」以開始安裝。按一下「取消」結束安裝精靈。",
    L"精靈已準備就緒，可以開始安裝了。",
    L"開始複製檔案",
    L"安裝精靈已成功完成安裝了。",
    L"按一下「完成」以結束精靈。",
    L"安裝失敗",
    L"移除",
    L"移除所有已安裝功能。",
    L"按一下「移除」以開始移除。按一下「取消」結束移除精靈。",
    L"開始移除檔案",
    L"移除失敗",
    L"移除精靈已成功完成移除",
    L"安裝精靈正在進行中...",
    L"移除精靈正在進行中...",
    L"立即重新啟動電腦",
    L"稍後再重新啟動電腦",
    L"立即啟動應用程式",
    // The caption's suffixes, which the Traditional Chinese wizard shows in English.
    L" - Installation Wizard",
    L" - Uninstallation Wizard",
};
constexpr UINT kTextCount = sizeof(kTraditionalChineseTexts) / sizeof(kTraditionalChineseTexts[0]);

LoadedModule LoadAsData(const std::wstring& name) {
    return LoadedModule(LoadLibraryExW(DistFile(name).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
}

TEST(OwnStringTable, ProgramAndChineseLibraryCarryTheReferenceTexts) {
    LoadedModule program = LoadAsData(L"setup.exe");
    LoadedModule library = LoadAsData(L"setupCHT.dll");
    ASSERT_TRUE(program);
    ASSERT_TRUE(library);
    for (UINT id = 1; id <= kTextCount; ++id) {
        bool inProgram = false;
        bool inLibrary = false;
        const std::wstring programText =
            FindText(program.Get(), id, kTraditionalChinese, &inProgram);
        const std::wstring libraryText =
            FindText(library.Get(), id, kTraditionalChinese, &inLibrary);
        EXPECT_TRUE(inProgram) << "id " << id;
        EXPECT_TRUE(inLibrary) << "id " << id;
        EXPECT_EQ(kTraditionalChineseTexts[id - 1], programText) << "id " << id;
        EXPECT_EQ(programText, libraryText) << "id " << id;
    }
    for (UINT id : {0u, kTextCount + 1, 31u}) {
        bool found = true;
        FindText(program.Get(), id, kTraditionalChinese, &found);
        EXPECT_FALSE(found) << "id " << id;
    }
}

TEST(OwnStringTable, IsTaggedTraditionalChineseOnly) {
    LoadedModule program = LoadAsData(L"setup.exe");
    ASSERT_TRUE(program);
    EXPECT_EQ((std::vector<ULONG_PTR>{1, 2}), ResourceIds(program.Get(), RT_STRING));
    for (WORD block : {1, 2}) {
        EXPECT_EQ(std::vector<LANGID>{kTraditionalChinese},
                  ResourceLanguages(program.Get(), RT_STRING, MAKEINTRESOURCEW(block)))
            << "block " << block;
    }
}

TEST(EnglishLibrary, SaysWhatTheWizardMeans) {
    LoadedModule library = LoadAsData(L"setupENU.dll");
    ASSERT_TRUE(library);
    const struct {
        UINT id;
        const wchar_t* text;
    } glosses[] = {
        {1, L"Install"},
        {2, L"Cancel"},
        {3, L"Finish"},
        {4, L"Click Install to begin the installation. Click Cancel to leave the installation "
            L"wizard."},
        {5, L"The wizard is ready to begin the installation."},
        {8, L"Click Finish to close the wizard."},
        {9, L"Installation failed"},
        {10, L"Remove"},
        {11, L"Remove all installed features."},
        {12, L"Click Remove to begin the removal. Click Cancel to leave the removal wizard."},
        {14, L"Removal failed"},
        {20, L"Launch the application now"},
        {21, L" - Installation Wizard"},
        {22, L" - Uninstallation Wizard"},
    };
    for (const auto& gloss : glosses) {
        bool found = false;
        EXPECT_EQ(gloss.text, FindText(library.Get(), gloss.id, 0x0409, &found))
            << "id " << gloss.id;
    }
}

} // namespace

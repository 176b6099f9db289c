// The shipped language libraries as files: plain resource images that carry the wizard's
// twenty-two texts in their own language and nothing else.
#include "language_test_support.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace language_testing;

namespace {

constexpr UINT kFirstTextId = 1;
constexpr UINT kLastTextId = 22;
// The caption's suffixes follow the application name: they begin with their separator.
constexpr UINT kFirstSuffixId = 21;

std::wstring LibraryName(const ShippedLanguage& language) {
    return std::wstring(L"setup") + language.abbreviation + L".dll";
}

std::string Narrow(const wchar_t* text) {
    std::string narrow;
    for (; *text; ++text)
        narrow += static_cast<char>(*text);
    return narrow;
}

// Checks the PE headers of a library read from disk: a DLL with no entry point, no imports, no
// exports, no thread-local data, nothing executable, that the loader may place anywhere.
void ExpectResourceOnlyImage(const std::string& image, const std::string& name) {
    ASSERT_GT(image.size(), sizeof(IMAGE_DOS_HEADER)) << name;
    IMAGE_DOS_HEADER dos;
    std::memcpy(&dos, image.data(), sizeof(dos));
    ASSERT_EQ(IMAGE_DOS_SIGNATURE, dos.e_magic) << name;
    ASSERT_LT(static_cast<size_t>(dos.e_lfanew) + sizeof(IMAGE_NT_HEADERS32), image.size());
    IMAGE_NT_HEADERS32 nt;
    std::memcpy(&nt, image.data() + dos.e_lfanew, sizeof(nt));
    ASSERT_EQ(static_cast<DWORD>(IMAGE_NT_SIGNATURE), nt.Signature) << name;
    EXPECT_EQ(IMAGE_FILE_MACHINE_I386, nt.FileHeader.Machine) << name;
    EXPECT_TRUE(nt.FileHeader.Characteristics & IMAGE_FILE_DLL) << name;
    EXPECT_FALSE(nt.FileHeader.Characteristics & IMAGE_FILE_RELOCS_STRIPPED) << name;
    ASSERT_EQ(IMAGE_NT_OPTIONAL_HDR32_MAGIC, nt.OptionalHeader.Magic) << name;
    EXPECT_EQ(0u, nt.OptionalHeader.AddressOfEntryPoint) << name;
    EXPECT_EQ(0u, nt.OptionalHeader.SizeOfCode) << name;

    const auto& directories = nt.OptionalHeader.DataDirectory;
    for (int index :
         {IMAGE_DIRECTORY_ENTRY_EXPORT, IMAGE_DIRECTORY_ENTRY_IMPORT, IMAGE_DIRECTORY_ENTRY_IAT,
          IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT, IMAGE_DIRECTORY_ENTRY_TLS,
          IMAGE_DIRECTORY_ENTRY_BOUND_IMPORT, IMAGE_DIRECTORY_ENTRY_COM_DESCRIPTOR}) {
        EXPECT_EQ(0u, directories[index].VirtualAddress) << name << " directory " << index;
        EXPECT_EQ(0u, directories[index].Size) << name << " directory " << index;
    }
    EXPECT_NE(0u, directories[IMAGE_DIRECTORY_ENTRY_RESOURCE].Size) << name;

    const size_t sectionsAt = dos.e_lfanew + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) +
                              nt.FileHeader.SizeOfOptionalHeader;
    ASSERT_LE(sectionsAt + nt.FileHeader.NumberOfSections * sizeof(IMAGE_SECTION_HEADER),
              image.size());
    ASSERT_GE(nt.FileHeader.NumberOfSections, 1) << name;
    for (WORD index = 0; index < nt.FileHeader.NumberOfSections; ++index) {
        IMAGE_SECTION_HEADER section;
        std::memcpy(&section, image.data() + sectionsAt + index * sizeof(section), sizeof(section));
        const std::string sectionName(reinterpret_cast<const char*>(section.Name),
                                      strnlen(reinterpret_cast<const char*>(section.Name), 8));
        EXPECT_EQ(".rsrc", sectionName) << name;
        EXPECT_FALSE(section.Characteristics & (IMAGE_SCN_CNT_CODE | IMAGE_SCN_MEM_EXECUTE))
            << name << " " << sectionName;
    }
}

TEST(LanguageLibraries, AreResourceOnlyImages) {
    for (const auto& language : ShippedLanguages()) {
        const std::wstring name = LibraryName(language);
        const std::string image = ReadFileBytes(DistFile(name));
        ExpectResourceOnlyImage(image, Narrow(name.c_str()));
    }
}

TEST(LanguageLibraries, HoldOnlyAStringTableInTheirOwnLanguage) {
    for (const auto& language : ShippedLanguages()) {
        const std::wstring name = LibraryName(language);
        SCOPED_TRACE(Narrow(name.c_str()));
        LoadedModule library(
            LoadLibraryExW(DistFile(name).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        ASSERT_TRUE(library);

        EXPECT_EQ(std::vector<ULONG_PTR>{reinterpret_cast<ULONG_PTR>(RT_STRING)},
                  ResourceTypes(library.Get()));
        // Ids 1 to 15 live in block 1, ids 16 to 22 in block 2.
        EXPECT_EQ((std::vector<ULONG_PTR>{1, 2}), ResourceIds(library.Get(), RT_STRING));
        for (WORD block : {1, 2}) {
            EXPECT_EQ(std::vector<LANGID>{language.langId},
                      ResourceLanguages(library.Get(), RT_STRING, MAKEINTRESOURCEW(block)))
                << "block " << block;
        }
    }
}

TEST(LanguageLibraries, CarryEveryTextIdAndNoOther) {
    for (const auto& language : ShippedLanguages()) {
        const std::wstring name = LibraryName(language);
        SCOPED_TRACE(Narrow(name.c_str()));
        LoadedModule library(
            LoadLibraryExW(DistFile(name).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        ASSERT_TRUE(library);
        for (UINT id = 0; id < 32; ++id) {
            bool found = false;
            const std::wstring text = FindText(library.Get(), id, language.langId, &found);
            const bool wanted = id >= kFirstTextId && id <= kLastTextId;
            EXPECT_EQ(wanted, found) << "id " << id;
            if (wanted) {
                EXPECT_FALSE(text.empty()) << "id " << id;
                // No stray spaces from editing, which would shift centred button texts.
                if (id >= kFirstSuffixId)
                    EXPECT_EQ(0u, text.find(L" ")) << "id " << id;
                else
                    EXPECT_NE(L' ', text.front()) << "id " << id;
                EXPECT_NE(L' ', text.back()) << "id " << id;
            }
        }
    }
}

// The wizard loads its library with LoadLibraryW and its texts with LoadStringW, whatever the
// language of the running system: all thirteen load side by side, each gives its own texts, and
// a second copy of one (which wants the same address) is placed elsewhere.
TEST(LanguageLibraries, LoadAsTheWizardLoadsThem) {
    testing_support::TempFolder temp;
    std::vector<LoadedModule> loaded;
    for (const auto& language : ShippedLanguages()) {
        const std::wstring name = LibraryName(language);
        SCOPED_TRACE(Narrow(name.c_str()));
        loaded.emplace_back(LoadLibraryW(DistFile(name).c_str()));
        ASSERT_TRUE(loaded.back());
        LoadedModule asData(
            LoadLibraryExW(DistFile(name).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        for (UINT id = kFirstTextId; id <= kLastTextId; ++id) {
            bool found = false;
            const std::wstring expected = FindText(asData.Get(), id, language.langId, &found);
            EXPECT_EQ(expected, LoadText(loaded.back().Get(), id)) << "id " << id;
        }
    }

    const std::wstring copy = temp / L"copyOfJapanese.dll";
    ASSERT_TRUE(CopyFileW(DistFile(L"setupJPN.dll").c_str(), copy.c_str(), FALSE));
    LoadedModule second(LoadLibraryW(copy.c_str()));
    ASSERT_TRUE(second);
    EXPECT_EQ(L"インストール", LoadText(second.Get(), 1));
}

} // namespace

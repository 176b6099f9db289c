#include "app/language.h"

#include "config/text.h"
#include "config/handles.h"

#include <cwchar>
#include <initializer_list>

namespace {

// Room for a full path and the language part that replaces ".exe".
constexpr size_t kLibraryNameLength = MAX_PATH + 14;
// Three letters and the terminator.
constexpr int kAbbreviationLength = 4;

// FindFirstFileW on the exact name: the name has no wildcards, so a hit is that file.
bool FileExists(const wchar_t* path) {
    WIN32_FIND_DATAW data;
    return static_cast<bool>(ScopedFindHandle(path, &data));
}

// The library's texts only: it is mapped as an image of resources, never run, so that nothing in
// it executes with setup's rights. Systems before Vista know only the plain data file.
HMODULE LoadResourceLibrary(const wchar_t* path) {
    const HMODULE library =
        LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    return library != nullptr ? library : LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
}

LanguageIdQuery FindKernelFunction(HMODULE kernel, const char* name) {
    if (kernel == nullptr)
        return nullptr;
    // Through void* because GetProcAddress's own type does not match the function's.
    return reinterpret_cast<LanguageIdQuery>(reinterpret_cast<void*>(GetProcAddress(kernel, name)));
}

// One attempt for the language that query gives; nothing when the system lacks the query.
HMODULE TryLanguageOf(const wchar_t* lowerProgramPath, LanguageIdQuery query) {
    if (query == nullptr)
        return nullptr;
    return LoadLanguageDllForLangId(lowerProgramPath, query());
}

} // namespace

HMODULE LoadLanguageDllForLangId(const wchar_t* lowerProgramPath, LANGID langId) {
    // A language id without a sublanguage stands for that language's default locale.
    const LCID locale = ConvertDefaultLocale(MAKELCID(langId, SORT_DEFAULT));
    wchar_t abbreviation[kAbbreviationLength] = {};
    if (GetLocaleInfoW(locale, LOCALE_SABBREVLANGNAME, abbreviation, kAbbreviationLength) == 0)
        return nullptr;

    // The libraries are named after the program: its file name without ".exe" (start-up has
    // lowered the path), whatever folder it stands in. A program that was renamed on the way (a
    // browser saves a second download as "setup (1).exe") still finds the distribution's own
    // "setup" libraries.
    const wchar_t* fileName = std::wcsrchr(lowerProgramPath, L'\\');
    fileName = fileName != nullptr ? fileName + 1 : lowerProgramPath;
    const size_t nameLength = std::wcslen(fileName);
    if (nameLength <= 4 || std::wcscmp(fileName + nameLength - 4, L".exe") != 0)
        return nullptr;
    const int folderLength = static_cast<int>(fileName - lowerProgramPath);
    const int stemLength = static_cast<int>(nameLength - 4);

    // The language before English, and each under the program's own name before "setup".
    const wchar_t* const languages[] = {abbreviation, L"ENU"};
    for (const wchar_t* language : languages) {
        wchar_t ownName[kLibraryNameLength] = {};
        wchar_t setupName[kLibraryNameLength] = {};
        if (!FormatInto(ownName, L"%.*ls%.*ls%ls.DLL", folderLength, lowerProgramPath, stemLength,
                        fileName, language) ||
            !FormatInto(setupName, L"%.*lssetup%ls.DLL", folderLength, lowerProgramPath, language))
            return nullptr;
        for (const wchar_t* name : {ownName, setupName}) {
            if (FileExists(name))
                return LoadResourceLibrary(name);
        }
    }
    return nullptr;
}

LanguageIdSources GetSystemLanguageIdSources() {
    // Looked up at run time so that setup also starts on systems without them.
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    LanguageIdSources sources = {};
    sources.userUiLanguage = FindKernelFunction(kernel, "GetUserDefaultUILanguage");
    sources.systemUiLanguage = FindKernelFunction(kernel, "GetSystemDefaultUILanguage");
    sources.userDefaultLanguage = GetUserDefaultLangID;
    sources.systemDefaultLanguage = GetSystemDefaultLangID;
    return sources;
}

HMODULE LoadLanguageDllFrom(const wchar_t* lowerProgramPath, const LanguageIdSources& sources) {
    HMODULE library = nullptr;
    // The UI languages go together: a system without the user's one is taken to lack both.
    if (sources.userUiLanguage != nullptr) {
        library = TryLanguageOf(lowerProgramPath, sources.userUiLanguage);
        if (library == nullptr)
            library = TryLanguageOf(lowerProgramPath, sources.systemUiLanguage);
    }
    if (library == nullptr)
        library = TryLanguageOf(lowerProgramPath, sources.userDefaultLanguage);
    if (library == nullptr)
        library = TryLanguageOf(lowerProgramPath, sources.systemDefaultLanguage);
    return library;
}

HMODULE LoadLanguageDll(const wchar_t* lowerProgramPath) {
    return LoadLanguageDllFrom(lowerProgramPath, GetSystemLanguageIdSources());
}

#include "app/language.h"

#include "config/text.h"
#include "engine/handles.h"

#include <cwchar>

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

    // Start-up has lowered the path, so the program's extension reads ".exe" here. The first
    // occurrence counts, even inside a folder name.
    const wchar_t* extension = std::wcsstr(lowerProgramPath, L".exe");
    if (extension == nullptr)
        return nullptr;
    const int stemLength = static_cast<int>(extension - lowerProgramPath);

    wchar_t libraryName[kLibraryNameLength] = {};
    wchar_t fallbackName[kLibraryNameLength] = {};
    if (!FormatInto(libraryName, L"%.*ls%ls.DLL", stemLength, lowerProgramPath, abbreviation) ||
        !FormatInto(fallbackName, L"%.*lsENU.DLL", stemLength, lowerProgramPath))
        return nullptr;

    if (FileExists(libraryName))
        return LoadLibraryW(libraryName);
    return LoadLibraryW(fallbackName);
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

#include "app/language.h"

#include "config/text.h"

namespace {

// Room for a full path and the language part that replaces ".exe".
constexpr size_t kLibraryNameLength = MAX_PATH + 14;

bool FileExists(const wchar_t* path) {
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(path, &data);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return true;
}

} // namespace

HMODULE LoadLanguageDllForLangId(const wchar_t* lowerProgramPath, LANGID langId) {
    const LCID locale = ConvertDefaultLocale(MAKELCID(langId, SORT_DEFAULT));
    wchar_t abbreviation[4] = {};
    if (GetLocaleInfoW(locale, LOCALE_SABBREVLANGNAME, abbreviation, 4) == 0)
        return nullptr;

    const wchar_t* extension = wcsstr(lowerProgramPath, L".exe");
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

HMODULE LoadLanguageDll(const wchar_t* lowerProgramPath) {
    using GetUiLanguageFn = LANGID(WINAPI*)();
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    // Looked up at run time so that setup also starts on systems without them.
    const auto userUiLanguage = reinterpret_cast<GetUiLanguageFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "GetUserDefaultUILanguage")));
    const auto systemUiLanguage = reinterpret_cast<GetUiLanguageFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "GetSystemDefaultUILanguage")));

    HMODULE library = nullptr;
    if (userUiLanguage != nullptr) {
        library = LoadLanguageDllForLangId(lowerProgramPath, userUiLanguage());
        if (library == nullptr && systemUiLanguage != nullptr)
            library = LoadLanguageDllForLangId(lowerProgramPath, systemUiLanguage());
    }
    if (library == nullptr)
        library = LoadLanguageDllForLangId(lowerProgramPath, GetUserDefaultLangID());
    if (library == nullptr)
        library = LoadLanguageDllForLangId(lowerProgramPath, GetSystemDefaultLangID());
    return library;
}

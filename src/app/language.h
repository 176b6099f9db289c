// Choice of the language library that holds the wizard's texts.
#pragma once

#include <windows.h>

// Loads the library for the user's language, with English as the fallback inside each attempt.
// lowerProgramPath is the program's path in lower case. Returns null when none can be loaded.
HMODULE LoadLanguageDll(const wchar_t* lowerProgramPath);

// One attempt: the library for langId beside the program, else the English one; each named after
// the program's file name, or else after "setup". Loaded as resources only.
HMODULE LoadLanguageDllForLangId(const wchar_t* lowerProgramPath, LANGID langId);

// The questions that give the language ids to try, in the order they are asked. A UI-language
// question is null where the system lacks that function.
using LanguageIdQuery = LANGID(WINAPI*)();
struct LanguageIdSources {
    LanguageIdQuery userUiLanguage;
    LanguageIdQuery systemUiLanguage;
    LanguageIdQuery userDefaultLanguage;
    LanguageIdQuery systemDefaultLanguage;
};

// The running system's answers: the UI-language functions as kernel32 offers them, and the
// default-language functions that every system has.
LanguageIdSources GetSystemLanguageIdSources();

// LoadLanguageDll with the ids taken from sources. Tests use it to give combinations of languages
// that one machine cannot have (a user UI language without the system one, for example).
HMODULE LoadLanguageDllFrom(const wchar_t* lowerProgramPath, const LanguageIdSources& sources);

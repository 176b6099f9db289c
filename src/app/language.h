// Choice of the language library that holds the wizard's texts.
#pragma once

#include <windows.h>

// Loads the library for the user's language, with English as the fallback inside each attempt.
// lowerProgramPath is the program's path in lower case. Returns null when none can be loaded.
HMODULE LoadLanguageDll(const wchar_t* lowerProgramPath);

// One attempt: the library for langId beside the program, else the English one.
HMODULE LoadLanguageDllForLangId(const wchar_t* lowerProgramPath, LANGID langId);

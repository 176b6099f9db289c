// Libraries of the system, loaded from the system folder only. Setup runs elevated, often from a
// download folder where anybody may have put a library named like one of the system's: it never
// looks there. The shell's library in particular is not imported at start-up (its own imports
// would be looked for beside setup first, before any code of setup runs) but loaded on first use
// through the functions here.
#pragma once

#include <windows.h>

// From here on, libraries that this process or the system's libraries load by name come from
// the system folder alone (SetDefaultDllDirectories where the system has it, else at least not
// from the current folder). Called first thing at start-up.
void RestrictLibrarySearch();

// Loads the library of that file name from the system folder, the libraries it needs from there
// too. Null when it cannot be loaded.
HMODULE LoadSystemLibrary(const wchar_t* fileName);

// The shell's functions that setup uses, through the library loaded as above.
BOOL GetShellFolderPath(int csidl, wchar_t (&path)[MAX_PATH]);        // SHGetSpecialFolderPathW
BOOL GetCurrentShellFolderPath(int csidl, wchar_t (&path)[MAX_PATH]); // SHGetFolderPathW
LPWSTR* SplitCommandLine(const wchar_t* commandLine, int* count);     // CommandLineToArgvW
HINSTANCE OpenWithShell(const wchar_t* verb, const wchar_t* target);  // ShellExecuteW, shown

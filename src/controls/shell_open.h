// The one way the controls hand a link to the shell. Tests replace the function to see what
// would be opened without starting a browser or a mail program.
#pragma once

#include <windows.h>

// verb may be null (the file type's default verb).
using ShellOpenFunction = void (*)(const wchar_t* verb, const wchar_t* target);

// Opens target through the current function (ShellExecuteW with SW_SHOWNORMAL unless replaced);
// a failed launch is silent.
void ShellOpen(const wchar_t* verb, const wchar_t* target);

// Replaces the function; null restores ShellExecuteW. Returns the previous one.
ShellOpenFunction SetShellOpenFunction(ShellOpenFunction function);

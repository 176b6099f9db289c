// Facts about the running system, and the compatibility assistant's mark.
#pragma once

#include <windows.h>

// 1 when this 32-bit process runs on 64-bit Windows, else 0.
BOOL IsRunningUnderWow64();

// 1 when the system is Windows NT with major version exactly 6, else 0.
BOOL IsWinNT6();

// True when this process's windows can be seen by someone: its window station is the interactive
// one. Services and the system account run in stations that nobody sees, where a window would
// wait for ever.
bool IsInteractiveSession();

// Enters programPath in the current user's list of programs the compatibility assistant leaves
// alone. Failures are silent. True when this call made the entry: it was not there before, so
// whoever made it knows it is theirs to take back.
bool MarkCompatibilityPersisted(const wchar_t* programPath);

// Whether programPath is in that list.
bool IsCompatibilityMarked(const wchar_t* programPath);

// Takes programPath out of that list; true when it is not there afterwards.
bool RemoveCompatibilityMark(const wchar_t* programPath);

// The program-wide flags: set once by start-up, only read afterwards (g_bLaunchApp is written by
// the wizard when it closes and read by start-up).
#pragma once

#include <windows.h>

extern BOOL g_bWow64;      // 32-bit process on 64-bit Windows
extern BOOL g_bWinNT6;     // Windows NT with major version exactly 6
extern HMODULE g_hLangDll; // the loaded language library, or null
extern BOOL g_bLaunchApp;  // the user asked to start the installed application now

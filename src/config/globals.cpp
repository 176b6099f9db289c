#include "config/globals.h"

BOOL g_bWow64 = FALSE;
BOOL g_bWinNT6 = FALSE;
HMODULE g_hLangDll = nullptr;
BOOL g_bLaunchApp = FALSE;

// The application's one top-level window: shows its title and the library's version, and ends
// the program when it is closed.
#pragma once

#include <windows.h>

// Creates the window titled title and shows it with showCommand. Null when it cannot be created.
HWND CreateMainWindow(HINSTANCE instance, const wchar_t* title, int showCommand);

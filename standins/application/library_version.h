// The application's library: tells its own version, so the application shows it.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

#if defined(KORVANE_LIBRARY_BUILD)
#define KORVANE_LIBRARY_API __declspec(dllexport)
#else
#define KORVANE_LIBRARY_API __declspec(dllimport)
#endif

// A constant text that lives as long as the library is loaded.
KORVANE_LIBRARY_API const wchar_t* RaidLibraryVersion(void);

#ifdef __cplusplus
}
#endif

#include "config/system_libraries.h"

#include "config/text.h"

#include <shellapi.h>
#include <shlobj.h>

namespace {

template <typename Function> Function Find(HMODULE library, const char* name) {
    return library == nullptr
               ? nullptr
               : reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// The shell's library: the one loaded already, or loaded now. No cache of the program's own:
// loading is counted and safe from any thread, and finding a loaded library is quick.
HMODULE Shell32() {
    const HMODULE loaded = GetModuleHandleW(L"shell32.dll");
    return loaded != nullptr ? loaded : LoadSystemLibrary(L"shell32.dll");
}

} // namespace

void RestrictLibrarySearch() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    // Looked up at run time: Windows before 8 has it only with an update, XP not at all.
    const auto restrict = Find<SetDefaultDllDirectoriesFunction>(GetModuleHandleW(L"kernel32.dll"),
                                                                 "SetDefaultDllDirectories");
    if (restrict == nullptr || !restrict(LOAD_LIBRARY_SEARCH_SYSTEM32))
        SetDllDirectoryW(L"");
}

HMODULE LoadSystemLibrary(const wchar_t* fileName) {
    wchar_t path[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || !AppendText(path, MAX_PATH, L"\\") ||
        !AppendText(path, MAX_PATH, fileName))
        return nullptr;
    // By its full path, with the libraries it imports looked for in its own folder first.
    return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

BOOL GetShellFolderPath(int csidl, wchar_t (&path)[MAX_PATH]) {
    path[0] = L'\0';
    const auto function =
        Find<BOOL(WINAPI*)(HWND, LPWSTR, int, BOOL)>(Shell32(), "SHGetSpecialFolderPathW");
    return function != nullptr && function(nullptr, path, csidl, FALSE);
}

BOOL GetCurrentShellFolderPath(int csidl, wchar_t (&path)[MAX_PATH]) {
    path[0] = L'\0';
    const auto function =
        Find<HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR)>(Shell32(), "SHGetFolderPathW");
    return function != nullptr &&
           function(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK;
}

LPWSTR* SplitCommandLine(const wchar_t* commandLine, int* count) {
    *count = 0;
    const auto function = Find<LPWSTR*(WINAPI*)(LPCWSTR, int*)>(Shell32(), "CommandLineToArgvW");
    return function != nullptr ? function(commandLine, count) : nullptr;
}

HINSTANCE OpenWithShell(const wchar_t* verb, const wchar_t* target) {
    const auto function = Find<HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT)>(
        Shell32(), "ShellExecuteW");
    return function != nullptr ? function(nullptr, verb, target, nullptr, nullptr, SW_SHOWNORMAL)
                               : nullptr;
}

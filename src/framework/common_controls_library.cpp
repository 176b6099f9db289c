#include "framework/common_controls_library.h"

#include "config/text.h"

namespace comctl {

namespace {

HMODULE LoadFromSystemFolder() {
    wchar_t path[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || !AppendText(path, MAX_PATH, L"\\comctl32.dll"))
        return nullptr;
    return LoadLibraryW(path);
}

// Loaded once, by its full path in the system folder (setup runs elevated; a library of that
// name beside it must not be taken), and kept for the life of the process.
HMODULE Library() {
    static const HMODULE library = LoadFromSystemFolder();
    return library;
}

template <typename Function> Function Find(const char* name) {
    const HMODULE library = Library();
    if (library == nullptr)
        return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

} // namespace

bool InitCommonControlClasses(DWORD classes) {
    static const auto init =
        Find<BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*)>("InitCommonControlsEx");
    INITCOMMONCONTROLSEX request = {sizeof(request), classes};
    return init != nullptr && init(&request) != FALSE;
}

BOOL SetWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR refData) {
    static const auto function =
        Find<BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR)>("SetWindowSubclass");
    return function != nullptr && function(window, procedure, id, refData);
}

BOOL GetWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR* refData) {
    static const auto function =
        Find<BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR*)>("GetWindowSubclass");
    return function != nullptr && function(window, procedure, id, refData);
}

BOOL RemoveWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id) {
    static const auto function =
        Find<BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR)>("RemoveWindowSubclass");
    return function != nullptr && function(window, procedure, id);
}

LRESULT DefSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    static const auto function =
        Find<LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM)>("DefSubclassProc");
    // Only reached from a subclassed window, so the library is there.
    return function != nullptr ? function(window, message, wParam, lParam)
                               : DefWindowProcW(window, message, wParam, lParam);
}

BOOL TrackMouseEvent(TRACKMOUSEEVENT* request) {
    return ::TrackMouseEvent(request);
}

} // namespace comctl

// Faults from outside, for the end-to-end tests: another program that holds a file, or a window
// that will not close.
//
//   faults.exe hold FILE MARKER            opens FILE for reading, sharing only reading (nobody
//                                          may write, rename or delete it), then creates MARKER
//   faults.exe window TITLE ignore MARKER  a top-level window titled TITLE that ignores WM_CLOSE
//   faults.exe window TITLE hang MARKER    a window titled TITLE whose thread stops taking
//                                          messages once it exists
//   faults.exe -i | -k | -u                a service tool that never returns (put in place of
//                                          the real one)
//
// Each then stays as it is until it is ended from outside, for ten minutes at most.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>

namespace {

constexpr DWORD kLifetimeMs = 600000;

bool CreateMarker(const wchar_t* path) {
    HANDLE marker = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (marker == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(marker);
    return true;
}

LRESULT CALLBACK IgnoringWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE)
        return 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

int HoldFile(const wchar_t* file, const wchar_t* marker) {
    HANDLE held =
        CreateFileW(file, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (held == INVALID_HANDLE_VALUE || !CreateMarker(marker))
        return 1;
    Sleep(kLifetimeMs);
    CloseHandle(held);
    return 0;
}

int ShowWindowThatStays(const wchar_t* title, bool hang, const wchar_t* marker) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = IgnoringWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"SetupTestStubbornWindow";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, title, WS_OVERLAPPEDWINDOW, 0, 0,
                                  200, 100, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (window == nullptr || !CreateMarker(marker))
        return 1;
    if (hang) {
        Sleep(kLifetimeMs);
        return 0;
    }
    const ULONGLONG end = GetTickCount64() + kLifetimeMs;
    while (GetTickCount64() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return 0;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr)
        return 2;
    int exitCode = 2;
    if (count == 2 && (wcscmp(arguments[1], L"-i") == 0 || wcscmp(arguments[1], L"-k") == 0 ||
                       wcscmp(arguments[1], L"-u") == 0))
        Sleep(kLifetimeMs);
    else if (count == 4 && wcscmp(arguments[1], L"hold") == 0)
        exitCode = HoldFile(arguments[2], arguments[3]);
    else if (count == 5 && wcscmp(arguments[1], L"window") == 0)
        exitCode =
            ShowWindowThatStays(arguments[2], wcscmp(arguments[3], L"hang") == 0, arguments[4]);
    LocalFree(arguments);
    return exitCode;
}

// The floor of every time measurement: a Windows program that starts and ends at once.
//
//   noop.exe            does nothing
//   noop.exe desktop    also makes sure the session's desktop exists (starting it, when it does
//                       not yet, is part of warming a prefix up, not of any measurement)
//
// It imports nothing but the C runtime and kernel32: the window library is loaded only for the
// warm-up, so that the floor stays the cost of starting any program.
#include <windows.h>

#include <cwchar>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR commandLine, int) {
    if (commandLine == nullptr || wcscmp(commandLine, L"desktop") != 0)
        return 0;
    using GetDesktopWindowFn = HWND(WINAPI*)();
    HMODULE user32 = LoadLibraryW(L"user32.dll");
    const auto getDesktopWindow =
        user32 ? reinterpret_cast<GetDesktopWindowFn>(
                     reinterpret_cast<void*>(GetProcAddress(user32, "GetDesktopWindow")))
               : nullptr;
    return getDesktopWindow != nullptr && getDesktopWindow() != nullptr ? 0 : 1;
}

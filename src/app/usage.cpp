#include "app/usage.h"

#include "config/handles.h"

#include <windows.h>

#include <cwchar>
#include <string>

const wchar_t* UsageText() {
    return L"Setup Application: installs and removes the application of its distribution.\r\n"
           L"\r\n"
           L"  setup.exe [s | delpkg | SilentDel] [/D=<folder>] [/log <file>]\r\n"
           L"\r\n"
           L"  (nothing)      the install wizard\r\n"
           L"  s              install without any window or message box\r\n"
           L"  delpkg         the removal wizard\r\n"
           L"  SilentDel      remove without any window or message box\r\n"
           L"  /D=<folder>    install into <folder>, a full path, instead of\r\n"
           L"                 Program Files\\<APPFolderName> (also /DIR=<folder>)\r\n"
           L"  /log <file>    append the log of this run to <file> (also /log=<file>);\r\n"
           L"                 without it the log goes to %TEMP%\\KvSetup.log\r\n"
           L"  /?             this text (also -?, /h, /help)\r\n"
           L"\r\n"
           L"A switch may start with / or - or neither; letter case does not matter.\r\n"
           L"\r\n"
           L"Exit codes:\r\n"
           L"  0     done\r\n"
           L"  1602  the user left the wizard before its work ran\r\n"
           L"  1603  the install or removal failed or was refused; the log says why\r\n"
           L"  1618  another copy of setup is running\r\n"
           L"  1621  a wizard was asked for where nobody can see a window\r\n"
           L"  1639  the command line is not understood\r\n";
}

namespace {

bool WriteTo(HANDLE output, const wchar_t* text) {
    if (output == nullptr || output == INVALID_HANDLE_VALUE ||
        GetFileType(output) == FILE_TYPE_UNKNOWN)
        return false;
    DWORD mode = 0;
    DWORD written = 0;
    const DWORD length = static_cast<DWORD>(std::wcslen(text));
    if (GetConsoleMode(output, &mode))
        return WriteConsoleW(output, text, length, &written, nullptr) != FALSE;
    // A file or a pipe: UTF-8, as the log.
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0,
                                         nullptr, nullptr);
    if (size <= 0)
        return false;
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), &bytes[0], size, nullptr,
                        nullptr);
    return WriteFile(output, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) !=
           FALSE;
}

} // namespace

bool WriteToStartingConsole(const wchar_t* text) {
    if (WriteTo(GetStdHandle(STD_OUTPUT_HANDLE), text))
        return true;
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return false;
    const ScopedHandle console(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                           OPEN_EXISTING, 0, nullptr));
    const bool written = WriteTo(console.Get(), L"\r\n") && WriteTo(console.Get(), text);
    FreeConsole();
    return written;
}

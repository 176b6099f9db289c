// A stand-in for a started program that tells the tests how it was started: it appends one line
// "start<TAB>its own path<TAB>its command line" to the file named by SETUP_ECHO_LOG and, after
// SETUP_ECHO_DELAY_MS milliseconds of pretended work, one line "end<TAB>...". The log is UTF-16
// without a byte-order mark, so that any path reads back unchanged.
#include <windows.h>

#include <cwchar>
#include <cwctype>
#include <string>

namespace {

std::wstring GetVariable(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(value) : std::wstring();
}

void AppendLine(const std::wstring& logPath, const wchar_t* phase) {
    wchar_t programPath[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, programPath, MAX_PATH);
    const std::wstring line =
        std::wstring(phase) + L"\t" + programPath + L"\t" + GetCommandLineW() + L"\n";
    HANDLE log = CreateFileW(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(log, line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written,
              nullptr);
    CloseHandle(log);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::wstring logPath = GetVariable(L"SETUP_ECHO_LOG");
    if (logPath.empty())
        return 1;
    AppendLine(logPath, L"start");
    const std::wstring delay = GetVariable(L"SETUP_ECHO_DELAY_MS");
    if (!delay.empty())
        Sleep(static_cast<DWORD>(std::wcstoul(delay.c_str(), nullptr, 10)));
    AppendLine(logPath, L"end");
    return 0;
}

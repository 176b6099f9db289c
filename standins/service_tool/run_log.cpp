#include "run_log.h"

#include <windows.h>

#include <cwchar>
#include <string>

namespace {

std::wstring Variable(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(value) : std::wstring();
}

void AppendLine(const wchar_t* phase) {
    const std::wstring logPath = Variable(L"SETUP_ECHO_LOG");
    if (logPath.empty())
        return;
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

void NoteRunStart(const wchar_t* toolSwitch) {
    AppendLine(L"start");
    const std::wstring delay = Variable(L"SETUP_ECHO_DELAY_MS");
    const std::wstring only = Variable(L"SETUP_ECHO_DELAY_SWITCH");
    if (!delay.empty() && (only.empty() || only == toolSwitch))
        Sleep(static_cast<DWORD>(std::wcstoul(delay.c_str(), nullptr, 10)));
}

void NoteRunEnd() {
    AppendLine(L"end");
}

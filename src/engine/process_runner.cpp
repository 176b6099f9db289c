#include "engine/process_runner.h"

#include "config/text.h"
#include "engine/file_table.h"
#include "config/handles.h"
#include "engine/setup_report.h"

#include <cwchar>

namespace {

// The service tool registers, stops or deletes a service: it gets this long per run before the
// sequence goes on without it.
constexpr DWORD kServiceToolWaitMs = 30000;
// A window that does not answer WM_CLOSE within this time is taken as hung.
constexpr UINT kCloseSendTimeoutMs = 5000;
// The application gets this long to save its state and release its files after WM_CLOSE.
constexpr DWORD kAppExitWaitMs = 10000;

// Starts the install folder's service tool with one switch; the process is still running.
ScopedHandle StartServiceTool(const wchar_t* szInstallDir, const wchar_t* toolSwitch) {
    wchar_t commandLine[kCommandLineLength] = {};
    if (!FormatInto(commandLine, L"\"%ls\\%ls\" %ls", szInstallDir, kServiceToolFileName,
                    toolSwitch))
        return ScopedHandle();
    return ScopedHandle(LaunchProcess(commandLine, TRUE));
}

// After setup has ended an overrunning tool, the system takes this long at most to finish it.
constexpr DWORD kEndedToolWaitMs = 5000;

// FindWindowW compares titles without regard to letter case; only the exact title is the
// application's window.
// A folder window of the shell shows the folder's name as its title, and the Start menu folder
// carries the application's name: such a window is the user's, never the application's.
bool IsShellFolderWindow(HWND window) {
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    return wcscmp(className, L"CabinetWClass") == 0 || wcscmp(className, L"ExploreWClass") == 0;
}

HWND FindWindowTitledExactly(const wchar_t* title) {
    const size_t titleLength = wcslen(title);
    for (HWND window = FindWindowExW(nullptr, nullptr, nullptr, title); window != nullptr;
         window = FindWindowExW(nullptr, window, nullptr, title)) {
        if (IsShellFolderWindow(window))
            continue;
        // The stored title, read without sending a message: a hung window cannot stop the
        // search. One more character than the title, so a longer text never compares equal.
        wchar_t text[MAX_PATH + 2] = {};
        const int length = InternalGetWindowText(window, text, MAX_PATH + 2);
        if (length >= 0 && static_cast<size_t>(length) == titleLength && wcscmp(text, title) == 0)
            return window;
    }
    return nullptr;
}

} // namespace

HANDLE LaunchProcess(wchar_t* commandLine, bool show) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = show ? SW_SHOW : SW_HIDE;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(nullptr, commandLine, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                        nullptr, nullptr, &startup, &started))
        return nullptr;
    CloseHandle(started.hThread);
    return started.hProcess;
}

ToolRun RunServiceTool(const wchar_t* szInstallDir, const wchar_t* toolSwitch,
                       SetupReport* report) {
    ScopedHandle tool = StartServiceTool(szInstallDir, toolSwitch);
    return WaitForServiceTool(&tool, toolSwitch, report);
}

bool StopAndRemoveService(const wchar_t* szInstallDir) {
    return RunServiceTool(szInstallDir, L"-k") != ToolRun::kOverran &&
           RunServiceTool(szInstallDir, L"-u") != ToolRun::kOverran;
}

bool InstallService(const wchar_t* szInstallDir) {
    return RunServiceTool(szInstallDir, L"-i") != ToolRun::kNotStarted;
}

ScopedHandle StartServiceInstall(const wchar_t* szInstallDir) {
    return StartServiceTool(szInstallDir, L"-i");
}

ToolRun WaitForServiceTool(ScopedHandle* tool, const wchar_t* toolSwitch, SetupReport* report) {
    if (!*tool) {
        if (report != nullptr)
            report->Step(L"the service tool (%ls) could not be started", toolSwitch);
        return ToolRun::kNotStarted;
    }
    if (WaitForSingleObject(tool->Get(), kServiceToolWaitMs) == WAIT_OBJECT_0) {
        DWORD exitCode = 0;
        GetExitCodeProcess(tool->Get(), &exitCode);
        if (report != nullptr)
            report->Step(L"the service tool (%ls) ended with %lu", toolSwitch,
                         static_cast<unsigned long>(exitCode));
        return ToolRun::kEnded;
    }
    // A tool that hangs must not outlive setup, nor keep its file in use: setup started it, so
    // setup ends it.
    TerminateProcess(tool->Get(), ERROR_TIMEOUT);
    WaitForSingleObject(tool->Get(), kEndedToolWaitMs);
    if (report != nullptr)
        report->Fail(ERROR_TIMEOUT,
                     L"The service tool (%ls) did not end within 30 seconds; setup ended it.",
                     toolSwitch);
    return ToolRun::kOverran;
}

bool CloseRunningApp(const wchar_t* szAppName) {
    if (szAppName == nullptr || szAppName[0] == L'\0')
        return true;
    const HWND window = FindWindowTitledExactly(szAppName);
    if (window == nullptr)
        return true;

    // Open the process before asking it to close, so that the handle is the one that owned the
    // window even when it ends at once. A window of this very process is never waited for.
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    ScopedHandle process;
    if (processId != 0 && processId != GetCurrentProcessId())
        process.Reset(OpenProcess(SYNCHRONIZE, FALSE, processId));

    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, kCloseSendTimeoutMs, &answer);
    if (process)
        return WaitForSingleObject(process.Get(), kAppExitWaitMs) == WAIT_OBJECT_0;
    // Without its process to wait for, the window's end is the sign.
    return !IsWindow(window);
}

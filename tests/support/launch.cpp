// Starts a program, waits for it and prints its full exit code: a Linux shell sees a Windows exit
// code only modulo 256 (1603 arrives as 67).
//
//   launch.exe [--timeout SECONDS] [--cwd FOLDER] -- "COMMAND LINE"
//
// The command line is one argument (quoted as a whole by whoever starts the launcher) and is
// used exactly as it stands.
// Prints "exit-code: N" and ends with N (after it, "elapsed-ms: T", the time from the start to
// the end of the program measured inside Wine, and "peak-working-set-kb: K"), or "exit-code:
// timeout" (the program is ended) and 124, or "exit-code: not-started E" with the system error E
// and 125.
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>

int wmain() {
    int count = 0;
    LPWSTR* options = CommandLineToArgvW(GetCommandLineW(), &count);
    DWORD timeoutMs = 120000;
    const wchar_t* folder = nullptr;
    const wchar_t* commandLine = nullptr;
    for (int i = 1; i < count; ++i) {
        if (wcscmp(options[i], L"--timeout") == 0 && i + 1 < count)
            timeoutMs = static_cast<DWORD>(_wtoi(options[++i])) * 1000;
        else if (wcscmp(options[i], L"--cwd") == 0 && i + 1 < count)
            folder = options[++i];
        else if (wcscmp(options[i], L"--") == 0 && i + 1 < count)
            commandLine = options[++i];
    }
    if (commandLine == nullptr) {
        std::fputs("usage: launch.exe [--timeout SECONDS] [--cwd FOLDER] -- \"COMMAND LINE\"\n",
                   stderr);
        return 2;
    }

    wchar_t child[32768];
    if (std::swprintf(child, 32768, L"%ls", commandLine) < 0)
        return 2;
    LARGE_INTEGER frequency, started, ended;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&started);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, child, nullptr, nullptr, FALSE, 0, nullptr, folder, &startup,
                        &process)) {
        std::printf("exit-code: not-started %lu\n", GetLastError());
        return 125;
    }
    CloseHandle(process.hThread);
    // The peak working set is sampled while the program runs: Wine reports nothing for a
    // process that has ended.
    SIZE_T peakWorkingSet = 0;
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    DWORD waited = WAIT_TIMEOUT;
    while (waited == WAIT_TIMEOUT && GetTickCount64() < deadline) {
        PROCESS_MEMORY_COUNTERS memory = {};
        memory.cb = sizeof(memory);
        if (GetProcessMemoryInfo(process.hProcess, &memory, sizeof(memory)) &&
            memory.PeakWorkingSetSize > peakWorkingSet)
            peakWorkingSet = memory.PeakWorkingSetSize;
        waited = WaitForSingleObject(process.hProcess, 5);
    }
    DWORD exitCode = 0;
    if (waited != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 124);
        std::printf("exit-code: timeout\n");
        exitCode = 124;
    } else {
        QueryPerformanceCounter(&ended);
        GetExitCodeProcess(process.hProcess, &exitCode);
        std::printf("exit-code: %lu\n", exitCode);
        std::printf("elapsed-ms: %.3f\n",
                    1000.0 * static_cast<double>(ended.QuadPart - started.QuadPart) /
                        static_cast<double>(frequency.QuadPart));
        std::printf("peak-working-set-kb: %lu\n",
                    static_cast<unsigned long>(peakWorkingSet / 1024));
    }
    CloseHandle(process.hProcess);
    LocalFree(options);
    std::fflush(stdout);
    return static_cast<int>(exitCode);
}

// Starts a program, waits for it and prints its full exit code: a Linux shell sees a Windows exit
// code only modulo 256 (1603 arrives as 67).
//
//   launch.exe [--timeout SECONDS] [--cwd FOLDER] [--until-gone PATH]
//              [--until-painted WINDOW-TITLE] [--window-station NAME] -- "COMMAND LINE"
//
// The command line is one argument (quoted as a whole by whoever starts the launcher) and is used
// exactly as it stands. Prints "exit-code: N" and ends with N; after it "elapsed-ms: T", the time
// measured inside Wine from the start to the end of the program (with --until-gone: until PATH no
// longer exists; with --until-painted: until the window of that title shows its painted skin,
// after which the window is asked to close), and "peak-working-set-kb: K". With --window-station
// the program runs on a desktop of a new window station of that name, which no one sees (as a
// service's or the system account's programs do). On a time-out it prints
// "exit-code: timeout" (the program is ended) and ends with 124; a program that cannot be started
// gives "exit-code: not-started E" with the system error E, and 125.
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>

namespace {

struct Options {
    DWORD timeoutMs = 120000;
    const wchar_t* folder = nullptr;
    const wchar_t* untilGone = nullptr;
    const wchar_t* untilPainted = nullptr;
    const wchar_t* windowStation = nullptr;
    const wchar_t* commandLine = nullptr;
};

bool ParseOptions(int count, wchar_t** arguments, Options* options) {
    for (int i = 1; i + 1 < count; ++i) {
        const wchar_t* name = arguments[i];
        const wchar_t* value = arguments[++i];
        if (wcscmp(name, L"--timeout") == 0)
            options->timeoutMs = static_cast<DWORD>(_wtoi(value)) * 1000;
        else if (wcscmp(name, L"--cwd") == 0)
            options->folder = value;
        else if (wcscmp(name, L"--until-gone") == 0)
            options->untilGone = value;
        else if (wcscmp(name, L"--until-painted") == 0)
            options->untilPainted = value;
        else if (wcscmp(name, L"--window-station") == 0)
            options->windowStation = value;
        else if (wcscmp(name, L"--") == 0)
            options->commandLine = value;
        else
            return false;
    }
    return options->commandLine != nullptr;
}

double MillisecondsSince(const LARGE_INTEGER& started) {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart - started.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// The wizard counts as painted once its window is visible and the screen shows the skin's body
// colour inside it. The screen is read, not the window: another process's window surface is not
// readable here.
bool WindowIsPainted(const wchar_t* title) {
    HWND window = FindWindowW(nullptr, title);
    RECT rect;
    if (window == nullptr || !IsWindowVisible(window) || !GetWindowRect(window, &rect))
        return false;
    HDC screen = GetDC(nullptr);
    if (screen == nullptr)
        return false;
    const COLORREF pixel = GetPixel(screen, rect.left + 300, rect.top + 300);
    ReleaseDC(nullptr, screen);
    return pixel == RGB(71, 93, 173);
}

bool PollUntil(const Options& options, ULONGLONG deadline) {
    while (GetTickCount64() < deadline) {
        if (options.untilGone && GetFileAttributesW(options.untilGone) == INVALID_FILE_ATTRIBUTES)
            return true;
        if (options.untilPainted && WindowIsPainted(options.untilPainted)) {
            PostMessageW(FindWindowW(nullptr, options.untilPainted), WM_SYSCOMMAND, SC_CLOSE, 0);
            return true;
        }
        Sleep(2);
    }
    return false;
}

// A window station of that name with a desktop "Default", neither of them shown to anyone;
// desktopName receives "NAME\\Default" for the child's start-up information.
bool MakeHiddenDesktop(const wchar_t* stationName, wchar_t (&desktopName)[256]) {
    HWINSTA station = CreateWindowStationW(stationName, 0, WINSTA_ALL_ACCESS, nullptr);
    if (station == nullptr)
        return false;
    HWINSTA own = GetProcessWindowStation();
    if (!SetProcessWindowStation(station))
        return false;
    HDESK desktop = CreateDesktopW(L"Default", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    SetProcessWindowStation(own);
    return desktop != nullptr && std::swprintf(desktopName, 256, L"%ls\\Default", stationName) > 0;
}

} // namespace

int wmain() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    Options options;
    if (arguments == nullptr || !ParseOptions(count, arguments, &options)) {
        std::fputs("usage: launch.exe [--timeout SECONDS] [--cwd FOLDER] [--until-gone PATH] "
                   "[--until-painted TITLE] -- \"COMMAND LINE\"\n",
                   stderr);
        return 2;
    }

    static wchar_t child[32768];
    if (std::swprintf(child, 32768, L"%ls", options.commandLine) < 0)
        return 2;
    LARGE_INTEGER started;
    QueryPerformanceCounter(&started);
    const ULONGLONG deadline = GetTickCount64() + options.timeoutMs;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    static wchar_t desktopName[256];
    if (options.windowStation != nullptr) {
        if (!MakeHiddenDesktop(options.windowStation, desktopName)) {
            std::printf("exit-code: not-started %lu\n", GetLastError());
            return 125;
        }
        startup.lpDesktop = desktopName;
    }
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, child, nullptr, nullptr, FALSE, 0, nullptr, options.folder,
                        &startup, &process)) {
        std::printf("exit-code: not-started %lu\n", GetLastError());
        return 125;
    }
    CloseHandle(process.hThread);

    bool inTime = true;
    double elapsedMs = 0;
    if (options.untilPainted) {
        inTime = PollUntil(options, deadline);
        elapsedMs = MillisecondsSince(started);
    }

    // The peak working set is sampled while the program runs: Wine reports nothing for a process
    // that has ended.
    SIZE_T peakWorkingSet = 0;
    DWORD waited = WAIT_TIMEOUT;
    while (inTime && waited == WAIT_TIMEOUT && GetTickCount64() < deadline) {
        PROCESS_MEMORY_COUNTERS memory = {};
        memory.cb = sizeof(memory);
        if (GetProcessMemoryInfo(process.hProcess, &memory, sizeof(memory)) &&
            memory.PeakWorkingSetSize > peakWorkingSet)
            peakWorkingSet = memory.PeakWorkingSetSize;
        waited = WaitForSingleObject(process.hProcess, 5);
    }
    if (waited == WAIT_OBJECT_0 && options.untilGone)
        inTime = PollUntil(options, deadline);
    if (!options.untilPainted)
        elapsedMs = MillisecondsSince(started);

    DWORD exitCode = 124;
    if (waited != WAIT_OBJECT_0 || !inTime) {
        TerminateProcess(process.hProcess, 124);
        std::printf("exit-code: timeout\n");
    } else {
        GetExitCodeProcess(process.hProcess, &exitCode);
        std::printf("exit-code: %lu\nelapsed-ms: %.3f\npeak-working-set-kb: %lu\n", exitCode,
                    elapsedMs, static_cast<unsigned long>(peakWorkingSet / 1024));
    }
    CloseHandle(process.hProcess);
    LocalFree(arguments);
    std::fflush(stdout);
    return static_cast<int>(exitCode);
}

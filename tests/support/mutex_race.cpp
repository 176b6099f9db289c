// Makes the race of two copies of setup started at the same instant happen every time: runs a
// program as its debugger and, the moment the program calls CreateMutexW, creates that mutex
// itself, as a second copy that won the race would have. Prints "exit-code: N" with the
// program's full exit code and ends with N.
//
//   mutex_race.exe MUTEX-NAME "COMMAND LINE"
//
// Ends with 125 when the program cannot be started, 124 when it does not end within a minute.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>

namespace {

const BYTE kBreakpoint = 0xCC;

struct Breakpoint {
    void* address = nullptr;
    BYTE original = 0;
    bool set = false;
};

bool WriteByte(HANDLE process, void* address, BYTE value) {
    DWORD protection = 0;
    if (!VirtualProtectEx(process, address, 1, PAGE_EXECUTE_READWRITE, &protection))
        return false;
    SIZE_T written = 0;
    const bool done = WriteProcessMemory(process, address, &value, 1, &written) && written == 1;
    VirtualProtectEx(process, address, 1, protection, &protection);
    FlushInstructionCache(process, address, 1);
    return done;
}

bool Set(HANDLE process, Breakpoint* breakpoint) {
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, breakpoint->address, &breakpoint->original, 1, &read) ||
        read != 1 || !WriteByte(process, breakpoint->address, kBreakpoint))
        return false;
    breakpoint->set = true;
    return true;
}

// Puts the instruction back and has the thread run it as if nothing had happened.
void Remove(HANDLE process, HANDLE thread, Breakpoint* breakpoint) {
    WriteByte(process, breakpoint->address, breakpoint->original);
    breakpoint->set = false;
    CONTEXT context = {};
    context.ContextFlags = CONTEXT_CONTROL;
    if (GetThreadContext(thread, &context)) {
        context.Eip = reinterpret_cast<DWORD>(breakpoint->address);
        SetThreadContext(thread, &context);
    }
}

} // namespace

int wmain() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr || count != 3) {
        std::fputs("usage: mutex_race.exe MUTEX-NAME \"COMMAND LINE\"\n", stderr);
        return 2;
    }
    // The function lies at the same address in every 32-bit process of the session.
    Breakpoint breakpoint;
    breakpoint.address =
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "CreateMutexW"));

    static wchar_t commandLine[32768];
    lstrcpynW(commandLine, arguments[2], 32768);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (breakpoint.address == nullptr ||
        !CreateProcessW(nullptr, commandLine, nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS,
                        nullptr, nullptr, &startup, &process)) {
        std::printf("exit-code: not-started %lu\n", GetLastError());
        return 125;
    }

    HANDLE rival = nullptr;
    bool loaderBreakpointSeen = false;
    DWORD exitCode = 124;
    const ULONGLONG deadline = GetTickCount64() + 60000;
    for (;;) {
        DEBUG_EVENT event = {};
        if (!WaitForDebugEvent(&event, 1000)) {
            if (GetTickCount64() > deadline) {
                TerminateProcess(process.hProcess, 124);
                break;
            }
            continue;
        }
        DWORD status = DBG_CONTINUE;
        if (event.dwDebugEventCode == EXCEPTION_DEBUG_EVENT) {
            const EXCEPTION_RECORD& record = event.u.Exception.ExceptionRecord;
            if (record.ExceptionCode != EXCEPTION_BREAKPOINT) {
                status = DBG_EXCEPTION_NOT_HANDLED;
            } else if (!loaderBreakpointSeen) {
                // The loader's own stop: the libraries are in place, the program not yet run.
                loaderBreakpointSeen = true;
                Set(process.hProcess, &breakpoint);
            } else if (breakpoint.set && record.ExceptionAddress == breakpoint.address) {
                rival = CreateMutexW(nullptr, FALSE, arguments[1]);
                HANDLE thread =
                    OpenThread(THREAD_GET_CONTEXT | THREAD_SET_CONTEXT, FALSE, event.dwThreadId);
                Remove(process.hProcess, thread, &breakpoint);
                CloseHandle(thread);
            }
        } else if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT) {
            exitCode = event.u.ExitProcess.dwExitCode;
            ContinueDebugEvent(event.dwProcessId, event.dwThreadId, DBG_CONTINUE);
            break;
        } else if (event.dwDebugEventCode == LOAD_DLL_DEBUG_EVENT) {
            CloseHandle(event.u.LoadDll.hFile);
        } else if (event.dwDebugEventCode == CREATE_PROCESS_DEBUG_EVENT) {
            CloseHandle(event.u.CreateProcessInfo.hFile);
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
    }
    std::printf("exit-code: %lu\nrace: %ls\n", exitCode, rival != nullptr ? L"made" : L"missed");
    std::fflush(stdout);
    if (rival != nullptr)
        CloseHandle(rival);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    LocalFree(arguments);
    return static_cast<int>(exitCode);
}

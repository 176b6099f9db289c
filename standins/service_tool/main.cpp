// REriDezaz.exe, the RAID manager's service tool: "-i" installs and starts its monitoring
// service, "-k" stops it, "-u" deletes it. Each ends with 0 on success, 1 on failure and 2 for an
// unknown switch. The service manager starts the same program with "-service" as the service.
#include "run_log.h"
#include "service_control.h"
#include "service_main.h"
#include "service_names.h"

#include <windows.h>

#include <cwchar>

namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

int ExitCodeOf(bool succeeded) {
    return succeeded ? kExitSuccess : kExitFailure;
}

int RunToolSwitch(const wchar_t* toolSwitch) {
    if (wcscmp(toolSwitch, L"-i") == 0)
        return ExitCodeOf(InstallAndStartService());
    if (wcscmp(toolSwitch, L"-k") == 0)
        return ExitCodeOf(StopService());
    if (wcscmp(toolSwitch, L"-u") == 0)
        return ExitCodeOf(DeleteServiceEntry());
    return kExitUsage;
}

int RunSwitch(const wchar_t* toolSwitch) {
    if (wcscmp(toolSwitch, kServiceModeSwitch) == 0)
        return RunAsService();
    NoteRunStart(toolSwitch);
    const int exitCode = RunToolSwitch(toolSwitch);
    NoteRunEnd();
    return exitCode;
}

// Where the arguments start: after the program's name and the blanks that follow it. The
// switches hold no blank or quote, so no further splitting rule matters. (Splitting the command
// line through the shell library would cost the tool more time than the rest of its start.)
const wchar_t* ArgumentsOf(const wchar_t* commandLine) {
    const wchar_t* at = commandLine;
    if (*at == L'"') {
        at = wcschr(at + 1, L'"');
        at = at ? at + 1 : commandLine + wcslen(commandLine);
    } else {
        while (*at != L'\0' && *at != L' ' && *at != L'\t')
            ++at;
    }
    while (*at == L' ' || *at == L'\t')
        ++at;
    return at;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The switch is the whole argument: exactly one word, and a short one.
    const wchar_t* arguments = ArgumentsOf(GetCommandLineW());
    wchar_t argument[16] = {};
    size_t length = 0;
    while (arguments[length] != L'\0' && wcschr(L" \t\"", arguments[length]) == nullptr) {
        if (length + 1 >= sizeof(argument) / sizeof(argument[0]))
            return kExitUsage;
        argument[length] = arguments[length];
        ++length;
    }
    const wchar_t* rest = arguments + length;
    while (*rest == L' ' || *rest == L'\t')
        ++rest;
    if (length == 0 || *rest != L'\0')
        return kExitUsage;
    return RunSwitch(argument);
}

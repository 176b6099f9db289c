// REriDezaz.exe, the RAID manager's service tool: "-i" installs and starts its monitoring
// service, "-k" stops it, "-u" deletes it. Each ends with 0 on success, 1 on failure and 2 for an
// unknown switch. The service manager starts the same program with "-service" as the service.
#include "service_control.h"
#include "service_main.h"
#include "service_names.h"

#include <windows.h>
#include <shellapi.h>

#include <cwchar>

namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

int ExitCodeOf(bool succeeded) {
    return succeeded ? kExitSuccess : kExitFailure;
}

int RunSwitch(const wchar_t* toolSwitch) {
    if (wcscmp(toolSwitch, L"-i") == 0)
        return ExitCodeOf(InstallAndStartService());
    if (wcscmp(toolSwitch, L"-k") == 0)
        return ExitCodeOf(StopService());
    if (wcscmp(toolSwitch, L"-u") == 0)
        return ExitCodeOf(DeleteServiceEntry());
    if (wcscmp(toolSwitch, kServiceModeSwitch) == 0)
        return RunAsService();
    return kExitUsage;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr)
        return kExitFailure;
    // The switch is the whole argument: exactly one.
    const int exitCode = count == 2 ? RunSwitch(arguments[1]) : kExitUsage;
    LocalFree(arguments);
    return exitCode;
}

// Runs one engine operation from the command line, for end-to-end checks that look at its effect
// from outside (lnkinfo, the 64-bit registry view, the service manager). Failure boxes are off;
// the exit code is 0 on success, 1 when the operation reported failure, 2 for a bad command.
//
//   engine_probe desktop-link TARGET NAME
//   engine_probe programs-link FOLDER TARGET NAME [ARGUMENTS]
//   engine_probe register SETUP-FOLDER        (WriteRegistration with the setup.ini of that folder,
//                                           given with a trailing backslash)
//   engine_probe unregister SETUP-FOLDER
//   engine_probe install-service INSTALL-FOLDER
//   engine_probe remove-service INSTALL-FOLDER
//   engine_probe close-app TITLE
#include "config/globals.h"
#include "config/install_config.h"
#include "config/system_facts.h"
#include "engine/setup_report.h"
#include "engine/install_undo.h"
#include "engine/process_runner.h"
#include "engine/registration.h"
#include "engine/shortcuts.h"

#include <windows.h>
#include <shellapi.h>

#include <cwchar>

namespace {

int Run(int count, wchar_t** arguments) {
    if (count < 3)
        return 2;
    const wchar_t* operation = arguments[1];
    if (wcscmp(operation, L"desktop-link") == 0 && count == 4) {
        CreateDesktopShortcut(arguments[2], arguments[3]);
        return 0;
    }
    if (wcscmp(operation, L"programs-link") == 0 && (count == 5 || count == 6)) {
        CreateProgramsShortcut(arguments[2], arguments[3], arguments[4],
                               count == 6 ? arguments[5] : nullptr);
        return 0;
    }
    if (wcscmp(operation, L"register") == 0 || wcscmp(operation, L"unregister") == 0) {
        InstallConfig config;
        ReadSetupIni(arguments[2], &config);
        if (wcscmp(operation, L"unregister") == 0)
            return DeleteInstalledProgramsEntry(config.szAppFolderName) &&
                           DeleteRunValues({config.szAppName})
                       ? 0
                       : 1;
        InstallRecord record;
        record.installDir = config.szInstallDir;
        InstallUndo undo;
        SetupReport report(nullptr);
        const bool written = WriteRegistration(config, !g_bWinNT6, record, &undo, report);
        undo.Commit();
        return written ? 0 : 1;
    }
    if (wcscmp(operation, L"install-service") == 0)
        return InstallService(arguments[2]) ? 0 : 1;
    if (wcscmp(operation, L"remove-service") == 0)
        return StopAndRemoveService(arguments[2]) ? 0 : 1;
    if (wcscmp(operation, L"close-app") == 0)
        return CloseRunningApp(arguments[2]) ? 0 : 1;
    return 2;
}

} // namespace

int wmain() {
    g_bWow64 = IsRunningUnderWow64();
    g_bWinNT6 = IsWinNT6();
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr)
        return 2;
    const int exitCode = Run(count, arguments);
    LocalFree(arguments);
    return exitCode;
}

// The install sequence.
#include "config/globals.h"
#include "config/paths.h"
#include "config/system_facts.h"
#include "config/text.h"
#include "engine/failure_report.h"
#include "engine/file_table.h"
#include "engine/handles.h"
#include "engine/input_checks.h"
#include "engine/install_engine.h"
#include "engine/process_runner.h"
#include "engine/registration.h"
#include "engine/shortcuts.h"

namespace {

// The desktop shortcut and the Start menu folder with the application's and the uninstaller's.
void CreateShortcuts(const InstallConfig& config, const wchar_t* appPath) {
    // Each shortcut brackets its own work with COM; holding COM across the three keeps the shell's
    // libraries loaded between them instead of loading and unloading them three times.
    const ComInitialization com;
    wchar_t uninstallerPath[MAX_PATH] = {};
    FormatInto(uninstallerPath, L"%ls\\%ls\\%ls", config.szInstallDir, kUninstallFolderName,
               kUninstallerFileName);
    CreateDesktopShortcut(appPath, config.szAppName);
    CreateProgramsShortcut(config.szAppName, appPath, config.szAppName, nullptr);
    CreateProgramsShortcut(config.szAppName, uninstallerPath, kUninstallFolderName, L"delpkg");
}

} // namespace

BOOL RunInstall(const wchar_t* szSetupDir, const InstallConfig& config) {
    const bool serviceScheme = g_bWinNT6 != FALSE;
    wchar_t message[kCheckMessageLength] = {};
    if (!CheckInstallInputs(szSetupDir, config, serviceScheme, message)) {
        ReportFailure(message);
        return FALSE;
    }
    wchar_t appPath[MAX_PATH] = {};
    wchar_t installedTool[MAX_PATH] = {};
    // Both fit: the checks formed the same paths.
    FormatInto(appPath, L"%ls\\%ls", config.szInstallDir, config.szAppFileName);
    FormatInto(installedTool, L"%ls\\%ls", config.szInstallDir, kServiceToolFileName);

    // An earlier installation's service and application hold files that are about to be
    // replaced.
    if (serviceScheme && PathExists(installedTool))
        StopAndRemoveService(config.szInstallDir);
    CloseRunningApp(config.szAppName);

    BOOL succeeded = InstallFiles(szSetupDir, config);
    if (!WriteRegistration(config))
        succeeded = FALSE;

    // The tool registers and starts the service while the shortcuts are made: neither needs the
    // other, and both take a while (the tool is a process of its own, and so is the service it
    // starts). The install is done only once the tool has ended too.
    ScopedHandle serviceTool;
    if (serviceScheme) {
        serviceTool = StartServiceInstall(config.szInstallDir);
        if (!serviceTool) {
            ReportFailure(L"Fail to install the service!");
            return FALSE;
        }
    }
    CreateShortcuts(config, appPath);
    if (serviceScheme)
        MarkCompatibilityPersisted(appPath);
    WaitForServiceTool(serviceTool);
    return succeeded;
}

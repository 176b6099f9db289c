// The uninstall sequence.
#include "config/globals.h"
#include "engine/failure_report.h"
#include "engine/file_table.h"
#include "engine/input_checks.h"
#include "engine/install_engine.h"
#include "engine/process_runner.h"
#include "engine/registration.h"
#include "engine/shortcuts.h"

BOOL RunUninstall(const InstallConfig& config, BOOL* pRemovalRan) {
    if (pRemovalRan != nullptr)
        *pRemovalRan = FALSE;
    const bool serviceScheme = g_bWinNT6 != FALSE;
    wchar_t message[kCheckMessageLength] = {};
    if (!CheckRemovalInputs(config, serviceScheme, message)) {
        ReportFailure(message);
        return FALSE;
    }
    if (pRemovalRan != nullptr)
        *pRemovalRan = TRUE;

    // The service and the application hold the files that are about to go. A missing tool is
    // passed over by the runner.
    if (serviceScheme)
        StopAndRemoveService(config.szInstallDir);
    CloseRunningApp(config.szAppName);

    const BOOL succeeded = RemoveFiles(config);
    RemoveRegistration(config);
    DeleteDesktopShortcut(config.szAppName);
    DeleteProgramsShortcut(config.szAppName, config.szAppName, FALSE);
    DeleteProgramsShortcut(config.szAppName, kUninstallFolderName, TRUE);
    return succeeded;
}

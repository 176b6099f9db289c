// Silent install and removal: the same sequences as the wizard, without any window or box. The
// outcome goes into the exit code.
#include "app/exit_codes.h"
#include "app/run_modes.h"
#include "config/globals.h"
#include "config/text.h"
#include "engine/failure_report.h"
#include "engine/handles.h"
#include "engine/input_checks.h"
#include "engine/install_engine.h"
#include "engine/process_runner.h"
#include "engine/uninstall_script.h"

int RunSilentInstall(const wchar_t* szSetupDir) {
    SetFailureBoxesShown(false);
    InstallConfig config;
    ReadSetupIni(szSetupDir, &config);
    if (!RunInstall(szSetupDir, config))
        return kExitFailure;
    // Only a complete installation is started: after a failure there may be nothing to start.
    if (config.bLaunchInSilentMode)
        LaunchInstalledApp(szSetupDir, &config);
    return kExitSuccess;
}

int RunSilentRemoval(const InstallConfig& config, BOOL* pRemovalRan, HANDLE* pUninstallScript) {
    SetFailureBoxesShown(false);
    // The self-removal script waits for this program to end, so it is started as soon as the
    // removal is sure to run (it passes the very checks the removal starts with): the command
    // interpreter starts up while the service tool works, not after everything else.
    wchar_t message[kCheckMessageLength] = {};
    if (CheckRemovalInputs(config, g_bWinNT6 != FALSE, message))
        *pUninstallScript = WriteUninstallScript(config);
    return RunUninstall(config, pRemovalRan) ? kExitSuccess : kExitFailure;
}

void LaunchInstalledApp(const wchar_t* szSetupDir, const InstallConfig* config) {
    InstallConfig settings;
    if (config == nullptr)
        ReadSetupIni(szSetupDir, &settings);
    else
        settings = *config;
    // A program name from setup.ini that is not a plain name could start something else.
    if (FindNameProblem(settings.szAppFileName) != NameProblem::kNone ||
        !IsAbsoluteFolderPath(settings.szInstallDir))
        return;
    wchar_t commandLine[kCommandLineLength] = {};
    if (!FormatInto(commandLine, L"\"%ls\\%ls\"", settings.szInstallDir, settings.szAppFileName))
        return;
    // Nobody waits for the application: its handle is closed at once.
    ScopedHandle process(LaunchProcess(commandLine, TRUE));
}

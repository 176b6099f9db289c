// Silent install and removal: the same sequences as the wizard, without any window or box. The
// outcome goes into the exit code.
#include "app/exit_codes.h"
#include "app/run_modes.h"
#include "config/text.h"
#include "engine/failure_report.h"
#include "engine/handles.h"
#include "engine/input_checks.h"
#include "engine/install_engine.h"
#include "engine/process_runner.h"

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

int RunSilentRemoval(const wchar_t* szSetupDir, const InstallConfig& config) {
    SetFailureBoxesShown(false);
    return RunUninstall(szSetupDir, config) == RemovalOutcome::kRemoved ? kExitSuccess
                                                                        : kExitFailure;
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

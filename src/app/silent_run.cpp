// Silent install and removal: the same sequences as the wizard, without any window or box. The
// outcome goes into the exit code, the steps and the reason into the log.
#include "app/exit_codes.h"
#include "app/run_modes.h"
#include "config/text.h"
#include "config/handles.h"
#include "engine/input_checks.h"
#include "engine/install_engine.h"
#include "engine/process_runner.h"
#include "engine/setup_report.h"

int RunSilentInstall(const wchar_t* szSetupDir, const InstallConfig& config, RunLog* log) {
    SetupReport report(log);
    if (!RunInstall(szSetupDir, config, report))
        return kExitFailure;
    // Only a complete installation is started: after a failure there may be nothing to start.
    if (config.bLaunchInSilentMode)
        LaunchInstalledApp(szSetupDir, &config);
    return kExitSuccess;
}

int RunSilentRemoval(const wchar_t* szSetupDir, const InstallConfig& config, RunLog* log) {
    SetupReport report(log);
    return RunUninstall(szSetupDir, config, report) == RemovalOutcome::kRemoved ? kExitSuccess
                                                                                : kExitFailure;
}

void LaunchInstalledApp(const wchar_t* szSetupDir, const InstallConfig* config,
                        const wchar_t* installDir) {
    InstallConfig settings;
    if (config == nullptr) {
        ReadSetupIni(szSetupDir, &settings);
        if (installDir != nullptr && installDir[0] != L'\0')
            CopyInto(settings.szInstallDir, installDir);
    } else {
        settings = *config;
    }
    // A program name from setup.ini that is not a plain name could start something else.
    if (FindNameProblem(settings.szAppFileName) != NameProblem::kNone ||
        !IsAbsoluteFolderPath(settings.szInstallDir))
        return;
    wchar_t commandLine[kCommandLineLength] = {};
    if (!FormatInto(commandLine, L"\"%ls\\%ls\"", settings.szInstallDir, settings.szAppFileName))
        return;
    // Nobody waits for the application: its handle is closed at once.
    ScopedHandle process(LaunchProcess(commandLine, true));
}

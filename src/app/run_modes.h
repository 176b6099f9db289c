// The runs that a mode selects. Each returns the process exit code and writes its steps into
// the run's log (which may be null).
#pragma once

#include "config/install_config.h"

class RunLog;

// Install without any window or message box.
int RunSilentInstall(const wchar_t* szSetupDir, const InstallConfig& config, RunLog* log);

// Removal without any window or message box, of the installation that setup, running from
// szSetupDir with config, belongs to.
int RunSilentRemoval(const wchar_t* szSetupDir, const InstallConfig& config, RunLog* log);

// Shows the install or removal wizard (g_hLangDll holds its texts) and, after Finish, may start
// the installed application. installDir names an install folder from the command line, or is
// empty.
int RunWizard(const wchar_t* szSetupDir, BOOL bUninstall, const wchar_t* installDir, RunLog* log);

// Starts the installed application; config may be null, then setup.ini is read afresh (and
// installDir, when not empty, names the install folder).
void LaunchInstalledApp(const wchar_t* szSetupDir, const InstallConfig* config,
                        const wchar_t* installDir = nullptr);

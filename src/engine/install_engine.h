// The install and uninstall sequences.
#pragma once

#include "config/install_config.h"

// Installs from szSetupDir (ending with a backslash) with config. Checks its inputs before it
// changes anything. Returns TRUE when everything required succeeded.
BOOL RunInstall(const wchar_t* szSetupDir, const InstallConfig& config);

// Removes the installation that config describes. Deletes nothing when config's names are not
// safe. Returns TRUE when everything required succeeded.
BOOL RunUninstall(const InstallConfig& config);

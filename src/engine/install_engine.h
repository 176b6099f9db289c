// The install and uninstall sequences.
#pragma once

#include "config/install_config.h"

// Installs from szSetupDir (ending with a backslash) with config. Checks its inputs before it
// changes anything. Returns TRUE when everything required succeeded: every file of the
// distribution copied, the registration written and, on NT 6, the service tool started.
BOOL RunInstall(const wchar_t* szSetupDir, const InstallConfig& config);

// Removes the installation that config describes. Deletes nothing when config's names are not
// safe. Returns TRUE when everything required succeeded: no file of the installation is left
// that could not be deleted (files already gone count as deleted). *pRemovalRan, when given,
// tells whether the removal ran at all: only then may the uninstaller itself go.
BOOL RunUninstall(const InstallConfig& config, BOOL* pRemovalRan = nullptr);

// The install's file step: the install folder and its Uninstall folder, then every copy.
// Expects inputs that passed the install's checks. Returns FALSE when a folder could not be
// made or a file of the distribution could not be copied.
BOOL InstallFiles(const wchar_t* szSetupDir, const InstallConfig& config);

// The removal's file step: deletes the installed files of the application (not the Uninstall
// folder, which holds the running uninstaller). Expects inputs that passed the removal's checks.
// Returns FALSE when a file exists that could not be deleted.
BOOL RemoveFiles(const InstallConfig& config);

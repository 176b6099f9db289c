// The install and uninstall sequences.
#pragma once

#include "config/install_config.h"

class SetupReport;

// Installs from szSetupDir (ending with a backslash) with config. Checks every input before it
// changes anything, and takes back whatever it did when a step fails. Every step goes into the
// report. Returns true when the installation is complete; false (with the report's reason) when
// the machine is as it was.
bool RunInstall(const wchar_t* szSetupDir, const InstallConfig& config, SetupReport& report);

enum class RemovalOutcome {
    kRemoved, // everything of the installation is gone, or going with the self-removal script
    kFailed,  // a step failed: the entry and the uninstaller are left to run the removal again
    kRefused, // nothing vouched for an installation to remove: nothing was changed
};

// Removes the installation that setup, running from szSetupDir, belongs to: its own installation
// when it is an installed uninstaller, else the one named by config's APPFolderName. Only the
// installation's record decides what is deleted.
RemovalOutcome RunUninstall(const wchar_t* szSetupDir, const InstallConfig& config,
                            SetupReport& report);

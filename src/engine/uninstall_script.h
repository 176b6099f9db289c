// The self-removal script that deletes the uninstaller after the program has ended.
#pragma once

#include "config/install_config.h"

// Writes the script into the programs folder and starts it hidden.
void WriteUninstallScript(const InstallConfig& config);

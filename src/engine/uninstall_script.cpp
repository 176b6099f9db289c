#include "engine/uninstall_script.h"

void WriteUninstallScript(const InstallConfig&) {}

// The installed-programs entry and, below NT 6, the Run value.
#pragma once

#include "config/install_config.h"

// Writes the entries; a failure to write a required value is reported and gives FALSE.
BOOL WriteRegistration(const InstallConfig& config);

// Deletes the application's installed-programs key and, below NT 6, its Run value.
void RemoveRegistration(const InstallConfig& config);

// Which installation a removal removes. Only facts decide: where the running uninstaller lies,
// and the record in the installed-programs entry that this program wrote for that folder.
// Settings read from a setup.ini (perhaps missing or damaged, and then taking their defaults)
// never point a removal at a folder.
#pragma once

#include "config/install_config.h"
#include "engine/input_checks.h"
#include "engine/install_record.h"

struct Installation {
    InstallRecord record;
    std::wstring keyName; // its installed-programs entry
    bool runningInside;   // this program is the installation's own uninstaller
};

// An uninstaller (a setup folder named "Uninstall") removes the installation of the folder above
// it, when that folder's entry vouches for it. Any other copy of setup (a distribution) removes
// the installation that the entry named by its APPFolderName vouches for. False, with the reason,
// when nothing vouches: then nothing may be removed.
bool LocateInstallation(const wchar_t* szSetupDir, const InstallConfig& config, Installation* found,
                        wchar_t (&message)[kCheckMessageLength]);

// The installed-programs entry with the install's record and, below NT 6, the Run value.
#pragma once

#include "config/install_config.h"
#include "engine/install_record.h"

#include <string>
#include <vector>

class InstallUndo;
class SetupReport;

// Writes the Run value (withRunValue: the scheme of systems before NT 6), then the
// installed-programs entry with record (to which the Run value's name is added). undo learns how
// to put back what was there before. A failed write is reported and gives false, as does an
// entry that cannot be created.
bool WriteRegistration(const InstallConfig& config, bool withRunValue, InstallRecord record,
                       InstallUndo* undo, SetupReport& report);

// Deletes the installed-programs entry named keyName; true when it is gone.
bool DeleteInstalledProgramsEntry(const wchar_t* keyName);

// Deletes the Run values of these names; true when none of them is left.
bool DeleteRunValues(const std::vector<std::wstring>& names);

// Points the Run value of that name, when it starts a program in fromFolder, at the same program
// below toFolder (the value of an installation that goes, kept for another installation of the
// same name). True when it does not start anything in fromFolder afterwards.
bool MoveRunValueTarget(const std::wstring& name, const wchar_t* fromFolder,
                        const wchar_t* toFolder);

// The size of the installed files (relative to installDir), in kilobytes rounded up: the
// "EstimatedSize" of the installed-programs entry.
DWORD InstalledSizeInKilobytes(const wchar_t* installDir, const std::vector<std::wstring>& files);

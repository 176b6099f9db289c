// The steps the install and removal sequences are made of, each in the file of its OS area.
// Each step writes what it did into the report, and its failure (naming the first file or value
// at fault).
#pragma once

#include "config/install_config.h"
#include "engine/install_record.h"

#include <string>
#include <vector>

class InstallUndo;
class SetupReport;

// The install's file step: the install folder (with any missing folder above it) and its
// Uninstall folder, then every copy. Files that are replaced are kept aside by undo. Expects
// inputs that passed the install's checks. The installed files, relative to the install folder,
// and the folders made above it go into the record. False when a folder could not be made or a
// file could not be put in place. The service tool comes only withServiceTool.
bool InstallFiles(const wchar_t* szSetupDir, const InstallConfig& config, bool withServiceTool,
                  InstallUndo* undo, InstallRecord* record, SetupReport& report);

// The removal's file step: deletes the record's files of the application, and its own data file.
// The uninstaller's files stay. False when a file exists that could not be deleted (every file is
// tried; the first one is reported).
bool RemoveFiles(const InstallRecord& record, SetupReport& report);

// Deletes the uninstaller's files, then the Uninstall folder and the install folder, each only
// when that leaves it empty: for a removal that does not run from the uninstaller itself (which
// leaves this to its self-removal script). False when a file exists that could not be deleted.
bool RemoveUninstaller(const InstallRecord& record, SetupReport& report);

// Removes the folders that the install made above the install folder, each when it is empty.
void RemoveFoldersAbove(const InstallRecord& record);

// The names below the Uninstall folder that the record lists: the uninstaller's own files.
std::vector<std::wstring> UninstallerFilesOf(const InstallRecord& record);

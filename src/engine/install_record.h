// The record of one installation: what its install wrote, kept in its installed-programs entry.
// The entry is written last by the install and deleted last by the removal, so the record is
// there exactly as long as there is something of the installation to remove, also when its
// folder (and with it the uninstaller) is gone. The entry's mark, the install folder, says that
// the entry was written by this setup program for that folder: an entry without it belongs to
// another program and is never written into or deleted.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct InstallRecord {
    std::wstring installDir;               // the mark: the install folder, no trailing backslash
    std::wstring displayName;              // also the application's window title
    std::vector<std::wstring> files;       // below installDir: "name" or "Uninstall\name"
    std::vector<std::wstring> folders;     // folders above installDir that the install made
    std::vector<std::wstring> shortcuts;   // full paths of .lnk files
    std::vector<std::wstring> linkFolders; // full paths of Start menu folders made for them
    std::vector<std::wstring> runValues;   // names of values in the Run key
    std::vector<std::wstring> compatMarks; // compatibility-assistant entries of the current user
    std::wstring service;                  // the service the tool registered, or empty
    std::wstring serviceTakenFrom;         // its command line before this installation's tool
                                           // took it over from another installation, or empty
};

// What an installed-programs key of a given name is to this program.
enum class EntryOwner {
    kAbsent,  // no such key
    kOurs,    // ours, for the folder the record names
    kForeign, // written by another program (no mark), or a damaged record
};

// The installed-programs key of that name (in this process's registry view), below the base path.
bool FormatEntryPath(const wchar_t* keyName, wchar_t (&path)[1024]);

// Reads the key named keyName. kOurs fills record; the record then names a full folder, and only
// names that stay inside the places they belong to.
EntryOwner ReadInstallRecord(const wchar_t* keyName, InstallRecord* record);

// The entry of this program's that records installDir, whatever its name. False when there is
// none.
bool FindEntryOfFolder(const wchar_t* installDir, std::wstring* keyName, InstallRecord* record);

// Writes the record's values into an open installed-programs key, the mark last. ERROR_SUCCESS, or
// the registry's error for the first value that could not be written.
LONG WriteInstallRecord(HKEY key, const InstallRecord& record);

// Two installations in different folders share what is named after the application: its
// shortcuts, its Run value, and a compatibility mark of the distribution they came from. What the
// record of another of this program's installations (any entry but ownKeyName) also lists stays
// when one of them goes; these find that other installation's folder.
bool FindOtherInstallationWithMark(const std::wstring& mark, const wchar_t* ownKeyName,
                                   std::wstring* otherInstallDir);
bool FindOtherInstallationWithShortcut(const std::wstring& link, const wchar_t* ownKeyName,
                                       std::wstring* otherInstallDir);
bool FindOtherInstallationWithRunValue(const std::wstring& name, const wchar_t* ownKeyName,
                                       std::wstring* otherInstallDir);

// Adds text to list unless it is there already (letter case ignored).
void AddUnique(std::vector<std::wstring>* list, const std::wstring& text);

// Shortcuts on the current user's desktop and in the all-users Start menu.
#pragma once

#include <windows.h>

// Link and folder names must each name one entry (no path separator, no ":", not "." or
// ".."): any other name, or a path that does not fit, leaves everything as it is.

// Saves <desktop>\<linkName>.lnk pointing at target, replacing an older one.
void CreateDesktopShortcut(const wchar_t* target, const wchar_t* linkName);
void DeleteDesktopShortcut(const wchar_t* linkName);

// Saves <Programs>\<folderName>\<linkName>.lnk pointing at target with the given arguments
// (may be null); creates the folder when missing and replaces an older link.
void CreateProgramsShortcut(const wchar_t* folderName, const wchar_t* target,
                            const wchar_t* linkName, const wchar_t* arguments);
// Deletes the link; with bRemoveFolder also the folder, when it is then empty.
void DeleteProgramsShortcut(const wchar_t* folderName, const wchar_t* linkName, BOOL bRemoveFolder);

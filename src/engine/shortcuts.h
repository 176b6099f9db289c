// Shortcuts on the current user's desktop and in the all-users Start menu.
#pragma once

#include <windows.h>

// Link and folder names must each name one entry (no path separator, no ":", not "." or
// ".."): any other name, or a path that does not fit, leaves everything as it is.

// The file name of a link for a display name: every character that Windows does not allow in a
// file name, and a dot or blank at its end (which Windows would drop), becomes "_", and a name
// Windows keeps for a device gets "_" after it. "Manager: Pro" gives "Manager_ Pro". False when
// the name does not fit.
bool MakeLinkName(const wchar_t* displayName, wchar_t (&linkName)[MAX_PATH]);

// Where the links go: <desktop>\<linkName>.lnk, and <Programs>\<folderName> with
// <Programs>\<folderName>\<linkName>.lnk. False when a name is not plain, the shell gives no such
// folder, or a path does not fit.
bool FormatDesktopLinkPath(const wchar_t* linkName, wchar_t (&linkPath)[MAX_PATH]);
bool FormatProgramsPaths(const wchar_t* folderName, const wchar_t* linkName,
                         wchar_t (&folderPath)[MAX_PATH], wchar_t (&linkPath)[MAX_PATH]);

// Saves <desktop>\<linkName>.lnk pointing at target, replacing an older one. True when saved.
bool CreateDesktopShortcut(const wchar_t* target, const wchar_t* linkName);
void DeleteDesktopShortcut(const wchar_t* linkName);

// Saves <Programs>\<folderName>\<linkName>.lnk pointing at target with the given arguments
// (may be null); creates the folder when missing and replaces an older link. True when saved.
bool CreateProgramsShortcut(const wchar_t* folderName, const wchar_t* target,
                            const wchar_t* linkName, const wchar_t* arguments);
// Deletes the link; with removeFolder also the folder, when it is then empty.
void DeleteProgramsShortcut(const wchar_t* folderName, const wchar_t* linkName, bool removeFolder);

// Points a link whose target lies in fromFolder at the same place below toFolder (the link of an
// installation that goes, kept for another installation of the same name). True when the link
// does not point into fromFolder afterwards.
bool MoveShortcutTarget(const wchar_t* linkPath, const wchar_t* fromFolder,
                        const wchar_t* toFolder);

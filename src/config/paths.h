// Path helpers of the program's own: paths are plain fixed buffers.
#pragma once

#include <windows.h>

// Writes path cut after its last backslash (the backslash kept) into folder; an empty text when
// path has no backslash or does not fit. folder holds MAX_PATH characters.
void GetFolderOfPath(const wchar_t* path, wchar_t (&folder)[MAX_PATH]);

// True when a file or folder of that exact name exists.
bool PathExists(const wchar_t* path);

// True when path names an existing folder, or an existing file that is no folder.
bool IsExistingFolder(const wchar_t* path);
bool IsExistingFile(const wchar_t* path);

#include "config/paths.h"

#include "config/text.h"

void GetFolderOfPath(const wchar_t* path, wchar_t (&folder)[MAX_PATH]) {
    // A path too long for the buffer gives no folder at all rather than the folder of a cut path.
    CopyInto(folder, path);
    size_t length = wcslen(folder);
    while (length > 0 && folder[length - 1] != L'\\')
        --length;
    folder[length] = L'\0';
}

bool PathExists(const wchar_t* path) {
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

bool IsExistingFolder(const wchar_t* path) {
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsExistingFile(const wchar_t* path) {
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

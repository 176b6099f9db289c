// The removal's file step.
#include "config/globals.h"
#include "config/text.h"
#include "engine/failure_report.h"
#include "engine/file_table.h"
#include "engine/install_engine.h"

#include <vector>

namespace {

bool IsGone(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// True when the file is gone afterwards, also when it was never there.
bool DeleteOne(const wchar_t* path) {
    if (DeleteFileW(path))
        return true;
    DWORD error = GetLastError();
    if (IsGone(error))
        return true;
    // A file copied from a read-only medium keeps that mark; it is ours to delete all the same.
    const DWORD attributes = GetFileAttributesW(path);
    if (error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
        SetFileAttributesW(path, attributes & ~FILE_ATTRIBUTE_READONLY)) {
        if (DeleteFileW(path))
            return true;
        error = GetLastError();
    }
    return IsGone(error);
}

} // namespace

BOOL RemoveFiles(const InstallConfig& config) {
    std::vector<FilePath> files;
    if (!ListRemovedFiles(config, g_bWinNT6 != FALSE, &files, nullptr))
        return FALSE;
    // Every file is tried; the first one that stays is the one reported.
    bool allGone = true;
    for (const FilePath& file : files) {
        if (DeleteOne(file.szPath))
            continue;
        if (allGone)
            ReportPathFailure(L"Fail to delete the file \"%ls\"!", file.szPath);
        allGone = false;
    }
    return allGone ? TRUE : FALSE;
}

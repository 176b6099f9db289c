// The install's file step.
#include "config/globals.h"
#include "config/paths.h"
#include "config/text.h"
#include "engine/failure_report.h"
#include "engine/file_table.h"
#include "engine/install_engine.h"

#include <vector>

namespace {

// Creates the last level of path when it is missing. Its parent is expected to exist.
bool EnsureFolder(const wchar_t* path) {
    if (IsExistingFolder(path))
        return true;
    if (CreateDirectoryW(path, nullptr))
        return true;
    const bool made = IsExistingFolder(path);
    if (!made)
        ReportPathFailure(L"Fail to create the folder \"%ls\"!", path);
    return made;
}

// A file copied from a read-only medium stays read-only, and a read-only file can neither be
// replaced by the next install nor deleted by the removal.
void ClearReadOnly(const wchar_t* path) {
    const DWORD attributes = GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        SetFileAttributesW(path, attributes & ~FILE_ATTRIBUTE_READONLY);
}

bool CopyOne(const FileCopy& copy) {
    ClearReadOnly(copy.szTarget);
    if (!CopyFileW(copy.szSource, copy.szTarget, FALSE))
        return false;
    ClearReadOnly(copy.szTarget);
    return true;
}

// Carries out one copy by its rule; false when a file that should land did not.
bool Carry(const FileCopy& copy) {
    switch (copy.rule) {
    case CopyRule::kRequired:
        return CopyOne(copy);
    case CopyRule::kIfPresent:
        return !PathExists(copy.szSource) || CopyOne(copy);
    case CopyRule::kReplaceOrRemove:
        if (PathExists(copy.szSource))
            return CopyOne(copy);
        // An older copy must not run in place of the missing one.
        ClearReadOnly(copy.szTarget);
        return DeleteFileW(copy.szTarget) || !PathExists(copy.szTarget);
    }
    return false;
}

} // namespace

BOOL InstallFiles(const wchar_t* szSetupDir, const InstallConfig& config) {
    std::vector<FileCopy> copies;
    PathOverflow overflow;
    wchar_t uninstallDir[MAX_PATH] = {};
    if (!ListInstallCopies(szSetupDir, config, g_bWinNT6 != FALSE, &copies, &overflow) ||
        !FormatInto(uninstallDir, L"%ls\\%ls", config.szInstallDir, kUninstallFolderName))
        return FALSE;

    if (!EnsureFolder(config.szInstallDir) || !EnsureFolder(uninstallDir))
        return FALSE;

    // Every copy is tried, so that as much as possible is in place; the first failure is the
    // one reported.
    bool allCopied = true;
    for (const FileCopy& copy : copies) {
        if (Carry(copy))
            continue;
        if (allCopied)
            ReportPathFailure(L"Fail to copy the file \"%ls\"!", copy.szTarget);
        allCopied = false;
    }
    return allCopied ? TRUE : FALSE;
}

// The install's file step.
#include "config/globals.h"
#include "config/paths.h"
#include "config/text.h"
#include "engine/failure_report.h"
#include "engine/file_table.h"
#include "engine/install_undo.h"
#include "engine/sequence_steps.h"

#include <cwchar>
#include <vector>

namespace {

// Creates the last level of path when it is missing; its parent is expected to exist. A folder
// made here is one the undo removes again.
bool EnsureFolder(const wchar_t* path, InstallUndo* undo) {
    if (IsExistingFolder(path))
        return true;
    if (CreateDirectoryW(path, nullptr) || IsExistingFolder(path)) {
        undo->NoteNewFolder(path);
        return true;
    }
    ReportPathFailure(L"Fail to create the folder \"%ls\"!", path);
    return false;
}

// A file copied from a read-only medium stays read-only, and a read-only file can neither be
// replaced by the next install nor deleted by the removal.
void ClearReadOnly(const wchar_t* path) {
    const DWORD attributes = GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        SetFileAttributesW(path, attributes & ~FILE_ATTRIBUTE_READONLY);
}

// Puts one file in place; an older file there is kept aside first, and a file in use (which can
// be neither moved nor replaced) fails the copy before anything changed.
bool CopyOne(const FileCopy& copy, InstallUndo* undo) {
    if (!undo->MakeRoom(copy.szTarget) || !CopyFileW(copy.szSource, copy.szTarget, FALSE))
        return false;
    ClearReadOnly(copy.szTarget);
    return true;
}

} // namespace

bool InstallFiles(const wchar_t* szSetupDir, const InstallConfig& config, InstallUndo* undo,
                  std::vector<std::wstring>* installed) {
    std::vector<FileCopy> copies;
    PathOverflow overflow;
    wchar_t uninstallDir[MAX_PATH] = {};
    if (!ListInstallCopies(szSetupDir, config, g_bWinNT6 != FALSE, &copies, &overflow) ||
        !FormatInto(uninstallDir, L"%ls\\%ls", config.szInstallDir, kUninstallFolderName))
        return false;
    if (!EnsureFolder(config.szInstallDir, undo) || !EnsureFolder(uninstallDir, undo))
        return false;

    // The first file that cannot be put in place ends the step: the undo takes back the rest.
    const size_t prefixLength = wcslen(config.szInstallDir) + 1;
    for (const FileCopy& copy : copies) {
        if (copy.rule == CopyRule::kIfPresent && !PathExists(copy.szSource))
            continue;
        if (!CopyOne(copy, undo)) {
            ReportPathFailure(L"Fail to copy the file \"%ls\"!", copy.szTarget);
            return false;
        }
        installed->push_back(copy.szTarget + prefixLength);
    }
    return true;
}

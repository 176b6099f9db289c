// The install's file step.
#include "config/paths.h"
#include "config/text.h"
#include "engine/file_table.h"
#include "engine/install_undo.h"
#include "engine/sequence_steps.h"
#include "engine/setup_report.h"

#include <cwchar>
#include <vector>

namespace {

// Creates the last level of path when it is missing; its parent is expected to exist. A folder
// made here is one the undo removes again.
bool EnsureFolder(const wchar_t* path, InstallUndo* undo, SetupReport& report) {
    if (IsExistingFolder(path))
        return true;
    if (CreateDirectoryW(path, nullptr)) {
        undo->NoteNewFolder(path);
        report.Step(L"created the folder \"%ls\"", path);
        return true;
    }
    report.Fail(GetLastError(), L"Fail to create the folder \"%ls\"!", path);
    return false;
}

// The folders above installDir that do not exist yet (an install folder named on the command
// line may lie anywhere), made from the top down and kept in the record.
bool EnsureFoldersAbove(const wchar_t* installDir, InstallUndo* undo, InstallRecord* record,
                        SetupReport& report) {
    const std::wstring dir = installDir;
    // Past the root: "C:\" or "\\server\share\".
    size_t at =
        dir.compare(0, 2, L"\\\\") == 0 ? dir.find(L'\\', dir.find(L'\\', 2) + 1) : dir.find(L'\\');
    while (at != std::wstring::npos && (at = dir.find(L'\\', at + 1)) != std::wstring::npos) {
        const std::wstring folder = dir.substr(0, at);
        if (IsExistingFolder(folder.c_str()))
            continue;
        if (!EnsureFolder(folder.c_str(), undo, report))
            return false;
        record->folders.push_back(folder);
    }
    return true;
}

// A file copied from a read-only medium stays read-only, and a read-only file can neither be
// replaced by the next install nor deleted by the removal.
void ClearReadOnly(const wchar_t* path) {
    const DWORD attributes = GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        SetFileAttributesW(path, attributes & ~FILE_ATTRIBUTE_READONLY);
}

// Puts one file in place; an older file there is kept aside first, and a file in use (which can
// be neither moved nor replaced) fails the copy before anything changed. Returns the system's
// error, or ERROR_SUCCESS.
DWORD CopyOne(const FileCopy& copy, InstallUndo* undo) {
    if (!undo->MakeRoom(copy.szTarget) || !CopyFileW(copy.szSource, copy.szTarget, FALSE)) {
        const DWORD error = GetLastError();
        return error != ERROR_SUCCESS ? error : ERROR_GEN_FAILURE;
    }
    ClearReadOnly(copy.szTarget);
    return ERROR_SUCCESS;
}

} // namespace

bool InstallFiles(const wchar_t* szSetupDir, const InstallConfig& config, bool withServiceTool,
                  InstallUndo* undo, InstallRecord* record, SetupReport& report) {
    std::vector<FileCopy> copies;
    PathOverflow overflow;
    wchar_t uninstallDir[MAX_PATH] = {};
    if (!ListInstallCopies(szSetupDir, config, withServiceTool, &copies, &overflow) ||
        !FormatInto(uninstallDir, L"%ls\\%ls", config.szInstallDir, kUninstallFolderName))
        return false;
    if (!EnsureFoldersAbove(config.szInstallDir, undo, record, report) ||
        !EnsureFolder(config.szInstallDir, undo, report) ||
        !EnsureFolder(uninstallDir, undo, report))
        return false;

    // The first file that cannot be put in place ends the step: the undo takes back the rest.
    const size_t prefixLength = wcslen(config.szInstallDir) + 1;
    for (const FileCopy& copy : copies) {
        if (copy.rule == CopyRule::kIfPresent && !PathExists(copy.szSource))
            continue;
        const DWORD error = CopyOne(copy, undo);
        if (error != ERROR_SUCCESS) {
            report.Fail(error, L"Fail to copy the file \"%ls\"!", copy.szTarget);
            return false;
        }
        report.Step(L"copied \"%ls\" to \"%ls\"", copy.szSource, copy.szTarget);
        record->files.push_back(copy.szTarget + prefixLength);
    }
    return true;
}

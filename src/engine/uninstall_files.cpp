// The removal's file step.
#include "config/paths.h"
#include "config/text.h"
#include "engine/file_table.h"
#include "engine/sequence_steps.h"
#include "engine/setup_report.h"

#include <cwchar>

namespace {

bool IsGone(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// ERROR_SUCCESS when the file is gone afterwards, also when it was never there; otherwise the
// system's error.
DWORD DeleteOne(const wchar_t* path) {
    if (DeleteFileW(path))
        return ERROR_SUCCESS;
    DWORD error = GetLastError();
    if (IsGone(error))
        return ERROR_SUCCESS;
    // A file copied from a read-only medium keeps that mark; it is ours to delete all the same.
    const DWORD attributes = GetFileAttributesW(path);
    if (error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
        SetFileAttributesW(path, attributes & ~FILE_ATTRIBUTE_READONLY)) {
        if (DeleteFileW(path))
            return ERROR_SUCCESS;
        error = GetLastError();
    }
    return IsGone(error) ? ERROR_SUCCESS : error;
}

// "Uninstall\name": one of the uninstaller's files.
bool IsUninstallerFile(const std::wstring& relative, std::wstring* name) {
    const size_t separator = relative.find(L'\\');
    if (separator == std::wstring::npos)
        return false;
    *name = relative.substr(separator + 1);
    return true;
}

} // namespace

std::vector<std::wstring> UninstallerFilesOf(const InstallRecord& record) {
    std::vector<std::wstring> names;
    std::wstring name;
    for (const std::wstring& file : record.files) {
        if (IsUninstallerFile(file, &name))
            names.push_back(name);
    }
    return names;
}

namespace {

// Deletes the files (relative to installDir); each that stays is reported, the first is the
// reason.
bool DeleteAll(const std::wstring& installDir, const std::vector<std::wstring>& files,
               SetupReport& report) {
    bool allGone = true;
    for (const std::wstring& file : files) {
        wchar_t path[MAX_PATH] = {};
        const bool formed = FormatInto(path, L"%ls\\%ls", installDir.c_str(), file.c_str());
        const bool there = formed && PathExists(path);
        const DWORD error =
            formed ? DeleteOne(path) : static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE);
        if (error == ERROR_SUCCESS) {
            report.Step(there ? L"deleted \"%ls\"" : L"\"%ls\" was not there", path);
            continue;
        }
        report.Fail(error, L"Fail to delete the file \"%ls\"!", path[0] ? path : file.c_str());
        allGone = false;
    }
    return allGone;
}

} // namespace

bool RemoveFiles(const InstallRecord& record, SetupReport& report) {
    std::vector<std::wstring> files;
    std::wstring name;
    for (const std::wstring& file : record.files) {
        if (!IsUninstallerFile(file, &name))
            files.push_back(file);
    }
    files.push_back(kAppDataFileName);
    return DeleteAll(record.installDir, files, report);
}

bool RemoveUninstaller(const InstallRecord& record, SetupReport& report) {
    std::vector<std::wstring> files;
    for (const std::wstring& name : UninstallerFilesOf(record))
        files.push_back(std::wstring(kUninstallFolderName) + L"\\" + name);
    if (!DeleteAll(record.installDir, files, report))
        return false;
    // Each only when empty: whatever else lies there is not ours.
    wchar_t uninstallDir[MAX_PATH] = {};
    if (FormatInto(uninstallDir, L"%ls\\%ls", record.installDir.c_str(), kUninstallFolderName))
        RemoveDirectoryW(uninstallDir);
    RemoveDirectoryW(record.installDir.c_str());
    RemoveFoldersAbove(record);
    return true;
}

void RemoveFoldersAbove(const InstallRecord& record) {
    // Deepest first, each only when empty.
    for (auto folder = record.folders.rbegin(); folder != record.folders.rend(); ++folder)
        RemoveDirectoryW(folder->c_str());
}

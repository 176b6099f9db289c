#include "engine/registration.h"

#include "config/globals.h"
#include "config/text.h"
#include "engine/failure_report.h"
#include "engine/file_table.h"
#include "engine/handles.h"
#include "engine/input_checks.h"

#include <cwchar>

namespace {

// Registry key paths and the values' data live in buffers of this size.
constexpr size_t kRegistryTextLength = 1024;

RegistryValueWriter writeValue = RegSetValueExW;

bool WriteString(HKEY key, const wchar_t* name, const wchar_t* data) {
    const DWORD size = static_cast<DWORD>((wcslen(data) + 1) * sizeof(wchar_t));
    return writeValue(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), size) ==
           ERROR_SUCCESS;
}

bool WriteDword(HKEY key, const wchar_t* name, DWORD data) {
    return writeValue(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                      sizeof(data)) == ERROR_SUCCESS;
}

// A value's data formed with a bounded format; a text that does not fit counts as a failed
// write of that value, never as a cut one.
template <typename... Args>
bool WriteFormattedString(HKEY key, const wchar_t* name, const wchar_t* format, Args... args) {
    wchar_t data[kRegistryTextLength] = {};
    return FormatInto(data, format, args...) && WriteString(key, name, data);
}

// A name that makes exactly one key (or value) below its parent, and one that the install
// accepts as a folder name.
bool IsSingleKeyName(const wchar_t* name) {
    return FindNameProblem(name) == NameProblem::kNone;
}

bool OpenKeyForWriting(const wchar_t* path, ScopedRegKey& key) {
    return RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_WRITE, key.Receive()) == ERROR_SUCCESS;
}

// The Run value that starts the application minimised at every logon (systems before NT 6).
// Returns false when the key opened but refused the value.
bool WriteRunValue(const InstallConfig& config) {
    // Without a name the write would replace the Run key's default value, which is not ours.
    if (config.szAppName[0] == L'\0')
        return true;
    wchar_t runKeyPath[kRegistryTextLength] = {};
    ScopedRegKey runKey;
    if (!FormatInto(runKeyPath, L"%lsRun", RegistryBasePath()) ||
        !OpenKeyForWriting(runKeyPath, runKey))
        return true;
    if (WriteFormattedString(runKey.Get(), config.szAppName, L"\"%ls\\%ls\" min",
                             config.szInstallDir, config.szAppFileName))
        return true;
    ReportFailure(L"Fail to write the Run registry key!");
    return false;
}

// The values that deployment tools read besides the list's own; their failures are not
// reported, like the publisher's.
void WriteDeploymentValues(HKEY key, const InstallConfig& config) {
    WriteFormattedString(key, L"QuietUninstallString", L"\"%ls\\%ls\\%ls\" SilentDel",
                         config.szInstallDir, kUninstallFolderName, kUninstallerFileName);
    WriteString(key, L"InstallLocation", config.szInstallDir);
    WriteDword(key, L"NoModify", 1);
    WriteDword(key, L"NoRepair", 1);
    WriteDword(key, L"EstimatedSize", InstalledSizeInKilobytes(config.szInstallDir));
}

// Adds the sizes of the files (not folders) directly in folder.
unsigned long long SizeOfFilesIn(const wchar_t* folder) {
    wchar_t pattern[MAX_PATH] = {};
    if (!FormatInto(pattern, L"%ls\\*", folder))
        return 0;
    WIN32_FIND_DATAW found = {};
    const ScopedFindHandle search(pattern, &found);
    if (!search)
        return 0;
    unsigned long long total = 0;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            total +=
                (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    } while (FindNextFileW(search.Get(), &found));
    return total;
}

} // namespace

DWORD InstalledSizeInKilobytes(const wchar_t* installDir) {
    unsigned long long bytes = SizeOfFilesIn(installDir);
    wchar_t uninstallDir[MAX_PATH] = {};
    if (FormatInto(uninstallDir, L"%ls\\%ls", installDir, kUninstallFolderName))
        bytes += SizeOfFilesIn(uninstallDir);
    const unsigned long long kilobytes = (bytes + 1023) / 1024;
    return kilobytes > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<DWORD>(kilobytes);
}

BOOL WriteRegistration(const InstallConfig& config) {
    const wchar_t* base = RegistryBasePath();
    bool succeeded = true;

    if (!g_bWinNT6)
        succeeded = WriteRunValue(config);

    wchar_t entryPath[kRegistryTextLength] = {};
    ScopedRegKey entry;
    if (!IsSingleKeyName(config.szAppFolderName) ||
        !FormatInto(entryPath, L"%lsUninstall\\%ls", base, config.szAppFolderName) ||
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, entryPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE, nullptr, entry.Receive(), nullptr) != ERROR_SUCCESS)
        return FALSE;

    if (!WriteFormattedString(entry.Get(), L"UninstallString", L"\"%ls\\%ls\\%ls\" delpkg",
                              config.szInstallDir, kUninstallFolderName, kUninstallerFileName)) {
        ReportFailure(L"Fail to write the UninstallString registry key!");
        return FALSE;
    }
    if (!WriteString(entry.Get(), L"DisplayName", config.szAppName)) {
        ReportFailure(L"Fail to write the DisplayName registry key!");
        return FALSE;
    }
    // The list shows the uninstaller's icon: a bare path, no quotes, no arguments.
    if (!WriteFormattedString(entry.Get(), L"DisplayIcon", L"%ls\\%ls\\%ls", config.szInstallDir,
                              kUninstallFolderName, kUninstallerFileName)) {
        ReportFailure(L"Fail to write the DisplayIcon registry key!");
        return FALSE;
    }
    WriteString(entry.Get(), L"Publisher", config.szCompanyName);
    if (!WriteString(entry.Get(), L"DisplayVersion", config.szVersion)) {
        ReportFailure(L"Fail to write the DisplayVersion registry key!");
        return FALSE;
    }
    WriteDeploymentValues(entry.Get(), config);
    return succeeded ? TRUE : FALSE;
}

void RemoveRegistration(const InstallConfig& config) {
    const wchar_t* base = RegistryBasePath();

    wchar_t parentPath[kRegistryTextLength] = {};
    ScopedRegKey parent;
    // An empty or compound name would delete the parent itself or another program's key.
    if (IsSingleKeyName(config.szAppFolderName) && FormatInto(parentPath, L"%lsUninstall", base) &&
        OpenKeyForWriting(parentPath, parent))
        RegDeleteKeyW(parent.Get(), config.szAppFolderName);

    if (g_bWinNT6 || config.szAppName[0] == L'\0')
        return;
    wchar_t runKeyPath[kRegistryTextLength] = {};
    ScopedRegKey runKey;
    if (FormatInto(runKeyPath, L"%lsRun", base) && OpenKeyForWriting(runKeyPath, runKey))
        RegDeleteValueW(runKey.Get(), config.szAppName);
}

void SetRegistryValueWriterForTesting(RegistryValueWriter writer) {
    writeValue = writer != nullptr ? writer : RegSetValueExW;
}

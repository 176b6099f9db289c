#include "engine/registration.h"

#include "config/text.h"
#include "engine/file_table.h"
#include "config/handles.h"
#include "engine/input_checks.h"
#include "engine/install_undo.h"
#include "engine/registry_values.h"
#include "engine/setup_report.h"

#include <cwchar>
#include <utility>

namespace {

// Registry key paths and the values' data live in buffers of this size.
constexpr size_t kRegistryTextLength = 1024;

// A value's data formed with a bounded format; a text that does not fit counts as a failed
// write of that value, never as a cut one.
template <typename... Args>
LONG WriteFormattedString(HKEY key, const wchar_t* name, const wchar_t* format, Args... args) {
    wchar_t data[kRegistryTextLength] = {};
    if (!FormatInto(data, format, args...))
        return ERROR_INSUFFICIENT_BUFFER;
    return WriteStringValue(key, name, data);
}

bool OpenRunKey(REGSAM access, ScopedRegKey& key) {
    wchar_t runKeyPath[kRegistryTextLength] = {};
    return FormatInto(runKeyPath, L"%lsRun", RegistryBasePath()) &&
           RegOpenKeyExW(HKEY_LOCAL_MACHINE, runKeyPath, 0, access, key.Receive()) == ERROR_SUCCESS;
}

// The Run value that starts the application minimised at every logon (systems before NT 6).
// Returns false when the key opened but refused the value. Its name goes into the record when
// it was written.
bool WriteRunValue(const InstallConfig& config, InstallUndo* undo, InstallRecord* record,
                   SetupReport& report) {
    // Without a name the write would replace the Run key's default value, which is not ours.
    if (config.szAppName[0] == L'\0')
        return true;
    ScopedRegKey runKey;
    if (!OpenRunKey(KEY_WRITE | KEY_QUERY_VALUE, runKey))
        return true;

    // What was there before: put back on undo (another program may own a value of that name).
    std::vector<SavedValue> everything;
    SaveValues(runKey.Get(), &everything);
    const std::wstring name = config.szAppName;
    std::vector<SavedValue> before;
    for (SavedValue& value : everything) {
        if (EqualsNameNoCase(value.name.c_str(), name.c_str()))
            before.push_back(std::move(value));
    }
    undo->OnRollback([name, before] {
        ScopedRegKey key;
        if (!OpenRunKey(KEY_WRITE, key))
            return;
        RegDeleteValueW(key.Get(), name.c_str());
        for (const SavedValue& value : before)
            RegSetValueExW(key.Get(), value.name.c_str(), 0, value.type, value.data.data(),
                           static_cast<DWORD>(value.data.size()));
    });
    const LONG written = WriteFormattedString(runKey.Get(), config.szAppName, L"\"%ls\\%ls\" min",
                                              config.szInstallDir, config.szAppFileName);
    if (written != ERROR_SUCCESS) {
        report.Fail(static_cast<DWORD>(written), L"Fail to write the Run registry key!");
        return false;
    }
    report.Step(L"wrote the Run value \"%ls\"", config.szAppName);
    AddUnique(&record->runValues, name);
    return true;
}

// The installed-programs key, created or opened for writing; undo learns how to put it back as
// it was (deleted, or its earlier values).
LONG OpenEntryForWriting(const wchar_t* keyName, InstallUndo* undo, ScopedRegKey& entry) {
    wchar_t entryPath[1024] = {};
    DWORD disposition = 0;
    if (FindNameProblem(keyName) != NameProblem::kNone || !FormatEntryPath(keyName, entryPath))
        return ERROR_INVALID_NAME;
    const LONG created =
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, entryPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE | KEY_QUERY_VALUE, nullptr, entry.Receive(), &disposition);
    if (created != ERROR_SUCCESS)
        return created;
    const std::wstring name = keyName;
    if (disposition == REG_CREATED_NEW_KEY) {
        undo->OnRollback([name] { DeleteInstalledProgramsEntry(name.c_str()); });
        return ERROR_SUCCESS;
    }
    std::vector<SavedValue> before;
    if (!SaveValues(entry.Get(), &before))
        return ERROR_CANTREAD;
    const std::wstring path = entryPath;
    undo->OnRollback([path, before] {
        ScopedRegKey key;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_WRITE | KEY_QUERY_VALUE,
                          key.Receive()) == ERROR_SUCCESS)
            RestoreValues(key.Get(), before);
    });
    return ERROR_SUCCESS;
}

// The values that deployment tools read besides the list's own; their failures are not
// reported, like the publisher's.
void WriteDeploymentValues(HKEY key, const InstallConfig& config, const InstallRecord& record) {
    WriteFormattedString(key, L"QuietUninstallString", L"\"%ls\\%ls\\%ls\" SilentDel",
                         config.szInstallDir, kUninstallFolderName, kUninstallerFileName);
    WriteDwordValue(key, L"NoModify", 1);
    WriteDwordValue(key, L"NoRepair", 1);
    WriteDwordValue(key, L"EstimatedSize",
                    InstalledSizeInKilobytes(config.szInstallDir, record.files));
}

// Writes the list's values in their order; the first failure among those whose result is
// examined is reported and ends the step.
bool WriteEntryValues(HKEY key, const InstallConfig& config, SetupReport& report) {
    LONG written =
        WriteFormattedString(key, L"UninstallString", L"\"%ls\\%ls\\%ls\" delpkg",
                             config.szInstallDir, kUninstallFolderName, kUninstallerFileName);
    if (written != ERROR_SUCCESS) {
        report.Fail(static_cast<DWORD>(written),
                    L"Fail to write the UninstallString registry key!");
        return false;
    }
    written = WriteStringValue(key, L"DisplayName", config.szAppName);
    if (written != ERROR_SUCCESS) {
        report.Fail(static_cast<DWORD>(written), L"Fail to write the DisplayName registry key!");
        return false;
    }
    // The list shows the uninstaller's icon: a bare path, no quotes, no arguments.
    written = WriteFormattedString(key, L"DisplayIcon", L"%ls\\%ls\\%ls", config.szInstallDir,
                                   kUninstallFolderName, kUninstallerFileName);
    if (written != ERROR_SUCCESS) {
        report.Fail(static_cast<DWORD>(written), L"Fail to write the DisplayIcon registry key!");
        return false;
    }
    WriteStringValue(key, L"Publisher", config.szCompanyName);
    written = WriteStringValue(key, L"DisplayVersion", config.szVersion);
    if (written != ERROR_SUCCESS) {
        report.Fail(static_cast<DWORD>(written), L"Fail to write the DisplayVersion registry key!");
        return false;
    }
    return true;
}

} // namespace

DWORD InstalledSizeInKilobytes(const wchar_t* installDir, const std::vector<std::wstring>& files) {
    unsigned long long bytes = 0;
    for (const std::wstring& file : files) {
        wchar_t path[MAX_PATH] = {};
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        if (FormatInto(path, L"%ls\\%ls", installDir, file.c_str()) &&
            GetFileAttributesExW(path, GetFileExInfoStandard, &data))
            bytes +=
                (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    const unsigned long long kilobytes = (bytes + 1023) / 1024;
    return kilobytes > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<DWORD>(kilobytes);
}

bool WriteRegistration(const InstallConfig& config, bool withRunValue, InstallRecord record,
                       InstallUndo* undo, SetupReport& report) {
    if (withRunValue && !WriteRunValue(config, undo, &record, report))
        return false;

    ScopedRegKey entry;
    const LONG opened = OpenEntryForWriting(config.szAppFolderName, undo, entry);
    if (opened != ERROR_SUCCESS) {
        report.Fail(static_cast<DWORD>(opened), L"Fail to write the UninstallString registry key!");
        return false;
    }
    if (!WriteEntryValues(entry.Get(), config, report))
        return false;
    WriteDeploymentValues(entry.Get(), config, record);
    // The install folder, in the list's own value and in the mark, is what tells a removal that
    // the entry is this program's: without it, nothing could ever remove the installation.
    LONG written = WriteStringValue(entry.Get(), L"InstallLocation", config.szInstallDir);
    if (written == ERROR_SUCCESS)
        written = WriteInstallRecord(entry.Get(), record);
    if (written != ERROR_SUCCESS) {
        report.Fail(static_cast<DWORD>(written),
                    L"Fail to write the installation's record into the registry!");
        return false;
    }
    report.Step(L"wrote the installed-programs entry \"%ls\" with the record of %u files, %u "
                L"shortcuts, service \"%ls\"",
                config.szAppFolderName, static_cast<unsigned>(record.files.size()),
                static_cast<unsigned>(record.shortcuts.size()), record.service.c_str());
    return true;
}

bool DeleteInstalledProgramsEntry(const wchar_t* keyName) {
    wchar_t parentPath[kRegistryTextLength] = {};
    ScopedRegKey parent;
    // An empty or compound name would delete the parent itself or another program's key.
    if (FindNameProblem(keyName) != NameProblem::kNone ||
        !FormatInto(parentPath, L"%lsUninstall", RegistryBasePath()) ||
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, parentPath, 0, KEY_WRITE, parent.Receive()) !=
            ERROR_SUCCESS)
        return false;
    const LONG deleted = RegDeleteKeyW(parent.Get(), keyName);
    return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}

bool DeleteRunValues(const std::vector<std::wstring>& names) {
    if (names.empty())
        return true;
    ScopedRegKey runKey;
    if (!OpenRunKey(KEY_WRITE, runKey))
        return true; // no Run key: no value in it either
    bool allGone = true;
    for (const std::wstring& name : names) {
        const LONG deleted = RegDeleteValueW(runKey.Get(), name.c_str());
        allGone = allGone && (deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND);
    }
    return allGone;
}

bool MoveRunValueTarget(const std::wstring& name, const wchar_t* fromFolder,
                        const wchar_t* toFolder) {
    ScopedRegKey runKey;
    std::wstring data;
    if (!OpenRunKey(KEY_WRITE | KEY_QUERY_VALUE, runKey) ||
        !ReadStringValue(runKey.Get(), name.c_str(), &data))
        return true;
    // "<folder>\<program>" min: the folder follows the opening quote.
    const std::wstring from = std::wstring(L"\"") + fromFolder + L"\\";
    if (data.size() <= from.size() ||
        !EqualsNameNoCase(data.substr(0, from.size()).c_str(), from.c_str()))
        return true;
    const std::wstring moved = std::wstring(L"\"") + toFolder + data.substr(from.size() - 1);
    return WriteStringValue(runKey.Get(), name.c_str(), moved.c_str()) == ERROR_SUCCESS;
}

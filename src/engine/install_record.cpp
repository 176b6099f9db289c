#include "engine/install_record.h"

#include "config/install_config.h"
#include "config/text.h"
#include "engine/file_table.h"
#include "config/handles.h"
#include "engine/input_checks.h"
#include "engine/registry_values.h"

#include <cwchar>

namespace {

// The record's values, next to the list's own. The names carry this program's name, so that no
// other program's entry can carry them by chance.
const wchar_t kMarkValue[] = L"Tessar Setup: Install Folder";
const wchar_t kFilesValue[] = L"Tessar Setup: Files";
const wchar_t kFoldersValue[] = L"Tessar Setup: Folders";
const wchar_t kShortcutsValue[] = L"Tessar Setup: Shortcuts";
const wchar_t kLinkFoldersValue[] = L"Tessar Setup: Shortcut Folders";
const wchar_t kRunValuesValue[] = L"Tessar Setup: Run Values";
const wchar_t kCompatMarksValue[] = L"Tessar Setup: Compatibility Marks";
const wchar_t kServiceValue[] = L"Tessar Setup: Service";
const wchar_t kServiceTakenFromValue[] = L"Tessar Setup: Service Taken Over From";

bool EndsWithNoCase(const std::wstring& text, const wchar_t* ending) {
    const size_t length = wcslen(ending);
    return text.size() >= length && EqualsNameNoCase(text.c_str() + text.size() - length, ending);
}

// "name" or "Uninstall\name": a file of the install folder or of its uninstaller.
bool IsInstalledFileName(const std::wstring& relative) {
    const size_t separator = relative.find(L'\\');
    if (separator == std::wstring::npos)
        return FindNameProblem(relative.c_str()) == NameProblem::kNone;
    const std::wstring folder = relative.substr(0, separator);
    const std::wstring name = relative.substr(separator + 1);
    return EqualsNameNoCase(folder.c_str(), kUninstallFolderName) &&
           FindNameProblem(name.c_str()) == NameProblem::kNone;
}

// Everything the removal would act on stays where it belongs: files below the install folder,
// links as .lnk files, no empty names.
bool IsSound(const InstallRecord& record) {
    if (!IsAbsoluteFolderPath(record.installDir.c_str()))
        return false;
    for (const std::wstring& file : record.files) {
        if (!IsInstalledFileName(file))
            return false;
    }
    for (const std::wstring& link : record.shortcuts) {
        if (!IsAbsoluteFolderPath(link.c_str()) || !EndsWithNoCase(link, L".lnk"))
            return false;
    }
    for (const std::wstring& folder : record.linkFolders) {
        if (!IsAbsoluteFolderPath(folder.c_str()))
            return false;
    }
    // Made above the install folder: each one of the install folder's own ancestors.
    for (const std::wstring& folder : record.folders) {
        if (!IsAbsoluteFolderPath(folder.c_str()) || folder.size() >= record.installDir.size() ||
            record.installDir[folder.size()] != L'\\' ||
            !EqualsNameNoCase(record.installDir.substr(0, folder.size()).c_str(), folder.c_str()))
            return false;
    }
    for (const std::vector<std::wstring>* names : {&record.runValues, &record.compatMarks}) {
        for (const std::wstring& name : *names) {
            if (name.empty())
                return false;
        }
    }
    return record.service.find_first_of(L"\\/") == std::wstring::npos;
}

} // namespace

bool FormatEntryPath(const wchar_t* keyName, wchar_t (&path)[1024]) {
    return FormatInto(path, L"%lsUninstall\\%ls", RegistryBasePath(), keyName);
}

EntryOwner ReadInstallRecord(const wchar_t* keyName, InstallRecord* record) {
    *record = InstallRecord();
    wchar_t path[1024] = {};
    if (FindNameProblem(keyName) != NameProblem::kNone || !FormatEntryPath(keyName, path))
        return EntryOwner::kAbsent;
    ScopedRegKey key;
    const LONG opened = RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE, key.Receive());
    if (opened == ERROR_FILE_NOT_FOUND)
        return EntryOwner::kAbsent;
    if (opened != ERROR_SUCCESS)
        return EntryOwner::kForeign;

    // The mark, and the list's own InstallLocation saying the same.
    std::wstring location;
    if (!ReadStringValue(key.Get(), kMarkValue, &record->installDir) ||
        !ReadStringValue(key.Get(), L"InstallLocation", &location) ||
        !EqualsNameNoCase(location.c_str(), record->installDir.c_str()))
        return EntryOwner::kForeign;
    ReadStringValue(key.Get(), L"DisplayName", &record->displayName);
    ReadMultiStringValue(key.Get(), kFilesValue, &record->files);
    ReadMultiStringValue(key.Get(), kFoldersValue, &record->folders);
    ReadMultiStringValue(key.Get(), kShortcutsValue, &record->shortcuts);
    ReadMultiStringValue(key.Get(), kLinkFoldersValue, &record->linkFolders);
    ReadMultiStringValue(key.Get(), kRunValuesValue, &record->runValues);
    ReadMultiStringValue(key.Get(), kCompatMarksValue, &record->compatMarks);
    ReadStringValue(key.Get(), kServiceValue, &record->service);
    ReadStringValue(key.Get(), kServiceTakenFromValue, &record->serviceTakenFrom);
    return IsSound(*record) ? EntryOwner::kOurs : EntryOwner::kForeign;
}

LONG WriteInstallRecord(HKEY key, const InstallRecord& record) {
    const std::pair<const wchar_t*, const std::vector<std::wstring>*> lists[] = {
        {kFilesValue, &record.files},         {kFoldersValue, &record.folders},
        {kShortcutsValue, &record.shortcuts}, {kLinkFoldersValue, &record.linkFolders},
        {kRunValuesValue, &record.runValues}, {kCompatMarksValue, &record.compatMarks},
    };
    for (const auto& list : lists) {
        const LONG result = WriteMultiStringValue(key, list.first, *list.second);
        if (result != ERROR_SUCCESS)
            return result;
    }
    const std::pair<const wchar_t*, const std::wstring*> texts[] = {
        {kServiceValue, &record.service},
        {kServiceTakenFromValue, &record.serviceTakenFrom},
        {kMarkValue, &record.installDir}, // last: without it, the entry is not ours
    };
    for (const auto& text : texts) {
        const LONG result = WriteStringValue(key, text.first, text.second->c_str());
        if (result != ERROR_SUCCESS)
            return result;
    }
    return ERROR_SUCCESS;
}

namespace {

// Calls visit(name, key) for each installed-programs entry until it returns true; true then.
template <typename Visit> bool FindEntry(Visit visit) {
    wchar_t parentPath[1024] = {};
    ScopedRegKey parent;
    if (!FormatInto(parentPath, L"%lsUninstall", RegistryBasePath()) ||
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, parentPath, 0, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE,
                      parent.Receive()) != ERROR_SUCCESS)
        return false;
    // Key names are at most 255 characters.
    wchar_t name[256] = {};
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        if (RegEnumKeyExW(parent.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            return false;
        ScopedRegKey entry;
        if (RegOpenKeyExW(parent.Get(), name, 0, KEY_QUERY_VALUE, entry.Receive()) ==
                ERROR_SUCCESS &&
            visit(name, entry.Get()))
            return true;
    }
}

// The first entry but ownKeyName whose record lists item in the list value listName.
bool FindOtherInstallationListing(const wchar_t* listName, const std::wstring& item,
                                  const wchar_t* ownKeyName, std::wstring* otherInstallDir) {
    return FindEntry([&](const wchar_t* name, HKEY entry) {
        std::vector<std::wstring> list;
        if (EqualsNameNoCase(name, ownKeyName) || !ReadMultiStringValue(entry, listName, &list) ||
            !ReadStringValue(entry, kMarkValue, otherInstallDir))
            return false;
        for (const std::wstring& other : list) {
            if (EqualsNameNoCase(other.c_str(), item.c_str()))
                return true;
        }
        return false;
    });
}

} // namespace

bool FindEntryOfFolder(const wchar_t* installDir, std::wstring* keyName, InstallRecord* record) {
    return FindEntry([&](const wchar_t* name, HKEY entry) {
        std::wstring mark;
        if (!ReadStringValue(entry, kMarkValue, &mark) ||
            !EqualsNameNoCase(mark.c_str(), installDir) ||
            ReadInstallRecord(name, record) != EntryOwner::kOurs)
            return false;
        *keyName = name;
        return true;
    });
}

bool FindOtherInstallationWithMark(const std::wstring& mark, const wchar_t* ownKeyName,
                                   std::wstring* otherInstallDir) {
    return FindOtherInstallationListing(kCompatMarksValue, mark, ownKeyName, otherInstallDir);
}

bool FindOtherInstallationWithShortcut(const std::wstring& link, const wchar_t* ownKeyName,
                                       std::wstring* otherInstallDir) {
    return FindOtherInstallationListing(kShortcutsValue, link, ownKeyName, otherInstallDir);
}

bool FindOtherInstallationWithRunValue(const std::wstring& name, const wchar_t* ownKeyName,
                                       std::wstring* otherInstallDir) {
    return FindOtherInstallationListing(kRunValuesValue, name, ownKeyName, otherInstallDir);
}

void AddUnique(std::vector<std::wstring>* list, const std::wstring& text) {
    for (const std::wstring& item : *list) {
        if (EqualsNameNoCase(item.c_str(), text.c_str()))
            return;
    }
    list->push_back(text);
}

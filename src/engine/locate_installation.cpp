#include "engine/locate_installation.h"

#include "config/text.h"
#include "engine/file_table.h"

namespace {

// The folder without its trailing backslash, and its last part.
std::wstring WithoutTrailingBackslash(const wchar_t* folder) {
    std::wstring text = folder;
    while (!text.empty() && text.back() == L'\\')
        text.pop_back();
    return text;
}

std::wstring LastPartOf(const std::wstring& folder) {
    const size_t separator = folder.find_last_of(L'\\');
    return separator == std::wstring::npos ? folder : folder.substr(separator + 1);
}

std::wstring ParentOf(const std::wstring& folder) {
    const size_t separator = folder.find_last_of(L'\\');
    return separator == std::wstring::npos ? std::wstring() : folder.substr(0, separator);
}

// The entry keyName vouches for installDir (or, with an empty installDir, for whatever folder
// it names). False with the reason otherwise.
bool ReadVouchingEntry(const std::wstring& keyName, const std::wstring& installDir,
                       Installation* found, wchar_t (&message)[kCheckMessageLength]) {
    found->keyName = keyName;
    switch (ReadInstallRecord(keyName.c_str(), &found->record)) {
    case EntryOwner::kAbsent:
        FormatInto(message,
                   L"No installation is registered under \"%ls\" in the installed-programs list: "
                   L"nothing was removed.",
                   keyName.c_str());
        return false;
    case EntryOwner::kForeign:
        FormatInto(message,
                   L"The installed-programs entry \"%ls\" was not written by this setup: nothing "
                   L"was removed.",
                   keyName.c_str());
        return false;
    case EntryOwner::kOurs:
        break;
    }
    if (!installDir.empty() &&
        !EqualsNameNoCase(found->record.installDir.c_str(), installDir.c_str())) {
        FormatInto(message,
                   L"The installed-programs entry \"%ls\" belongs to \"%ls\", not to \"%ls\": "
                   L"nothing was removed.",
                   keyName.c_str(), found->record.installDir.c_str(), installDir.c_str());
        return false;
    }
    return true;
}

} // namespace

bool LocateInstallation(const wchar_t* szSetupDir, const InstallConfig& config, Installation* found,
                        wchar_t (&message)[kCheckMessageLength]) {
    message[0] = L'\0';
    *found = Installation();
    const std::wstring setupDir = WithoutTrailingBackslash(szSetupDir);

    if (EqualsNameNoCase(LastPartOf(setupDir).c_str(), kUninstallFolderName)) {
        // The entry is named after the settings' APPFolderName, which a damaged settings file
        // cannot tell: the entry whose record names this folder is the one.
        const std::wstring installDir = ParentOf(setupDir);
        found->runningInside = true;
        if (FindEntryOfFolder(installDir.c_str(), &found->keyName, &found->record))
            return true;
        FormatInto(message,
                   L"No installed-programs entry of this setup vouches for \"%ls\": nothing was "
                   L"removed.",
                   installDir.c_str());
        return false;
    }

    if (!CheckSettingName(L"APPFolderName", config.szAppFolderName, L"an installation", message) ||
        !ReadVouchingEntry(config.szAppFolderName, std::wstring(), found, message))
        return false;
    found->runningInside = false;
    return true;
}

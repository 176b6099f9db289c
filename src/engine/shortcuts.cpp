#include "engine/shortcuts.h"

#include "config/paths.h"
#include "config/system_libraries.h"
#include "config/text.h"
#include "config/handles.h"
#include "engine/com.h"
#include "engine/input_checks.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <cwchar>

namespace {

// A link or folder name must name one entry inside its shell folder: nothing that climbs out of
// it, reaches into a subfolder, opens a stream or names a device.
bool IsPlainName(const wchar_t* name) {
    return name != nullptr && FindNameProblem(name) == NameProblem::kNone;
}

bool GetShellFolder(int csidl, wchar_t (&folder)[MAX_PATH]) {
    return GetShellFolderPath(csidl, folder) != FALSE;
}

// The shell's link object with its target set, and its file interface to save it through. Lives
// inside one ComInitialization.
class ShellLinkFile {
public:
    // False leaves nothing behind: no object, no link file.
    bool Create(const wchar_t* target) {
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                    m_link.ReceiveVoid())))
            return false;
        if (FAILED(m_link->QueryInterface(IID_IPersistFile, m_file.ReceiveVoid())))
            return false;
        // S_FALSE (a target that does not exist yet) still makes a good link.
        return SUCCEEDED(m_link->SetPath(target));
    }

    void SetArguments(const wchar_t* arguments) { m_link->SetArguments(arguments); }

    bool Save(const wchar_t* linkPath) { return SUCCEEDED(m_file->Save(linkPath, TRUE)); }

    // Reads an existing link; false leaves nothing to save.
    bool Load(const wchar_t* linkPath) {
        return SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                          IID_IShellLinkW, m_link.ReceiveVoid())) &&
               SUCCEEDED(m_link->QueryInterface(IID_IPersistFile, m_file.ReceiveVoid())) &&
               SUCCEEDED(m_file->Load(linkPath, STGM_READ));
    }

    bool GetTarget(wchar_t (&target)[MAX_PATH]) {
        return m_link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH) == S_OK;
    }

    bool SetTarget(const wchar_t* target) { return SUCCEEDED(m_link->SetPath(target)); }

private:
    // Released in reverse order: the file interface, then the link.
    ComPtr<IShellLinkW> m_link;
    ComPtr<IPersistFile> m_file;
};

} // namespace

bool MakeLinkName(const wchar_t* displayName, wchar_t (&linkName)[MAX_PATH]) {
    if (!CopyInto(linkName, displayName) || linkName[0] == L'\0')
        return false;
    for (wchar_t* c = linkName; *c != L'\0'; ++c) {
        if (*c < 0x20 || wcschr(L"<>:\"/\\|?*", *c) != nullptr)
            *c = L'_';
    }
    for (size_t at = wcslen(linkName);
         at > 0 && (linkName[at - 1] == L'.' || linkName[at - 1] == L' '); --at)
        linkName[at - 1] = L'_';
    if (FindNameProblem(linkName) == NameProblem::kReservedDevice)
        return AppendText(linkName, MAX_PATH, L"_");
    return true;
}

bool FormatDesktopLinkPath(const wchar_t* linkName, wchar_t (&linkPath)[MAX_PATH]) {
    wchar_t desktop[MAX_PATH] = {};
    return IsPlainName(linkName) && GetShellFolder(CSIDL_DESKTOPDIRECTORY, desktop) &&
           FormatInto(linkPath, L"%ls\\%ls.lnk", desktop, linkName);
}

bool FormatProgramsPaths(const wchar_t* folderName, const wchar_t* linkName,
                         wchar_t (&folderPath)[MAX_PATH], wchar_t (&linkPath)[MAX_PATH]) {
    wchar_t programs[MAX_PATH] = {};
    return IsPlainName(folderName) && IsPlainName(linkName) &&
           GetShellFolder(CSIDL_COMMON_PROGRAMS, programs) &&
           FormatInto(folderPath, L"%ls\\%ls", programs, folderName) &&
           FormatInto(linkPath, L"%ls\\%ls.lnk", folderPath, linkName);
}

bool CreateDesktopShortcut(const wchar_t* target, const wchar_t* linkName) {
    ComInitialization com;
    ShellLinkFile link;
    if (!link.Create(target))
        return false;
    wchar_t linkPath[MAX_PATH] = {};
    if (!FormatDesktopLinkPath(linkName, linkPath))
        return false;
    if (PathExists(linkPath))
        DeleteDesktopShortcut(linkName);
    return link.Save(linkPath);
}

void DeleteDesktopShortcut(const wchar_t* linkName) {
    wchar_t linkPath[MAX_PATH] = {};
    if (FormatDesktopLinkPath(linkName, linkPath))
        DeleteFileW(linkPath);
}

bool CreateProgramsShortcut(const wchar_t* folderName, const wchar_t* target,
                            const wchar_t* linkName, const wchar_t* arguments) {
    ComInitialization com;
    ShellLinkFile link;
    if (!link.Create(target))
        return false;
    if (arguments != nullptr)
        link.SetArguments(arguments);
    wchar_t folderPath[MAX_PATH] = {};
    wchar_t linkPath[MAX_PATH] = {};
    if (!FormatProgramsPaths(folderName, linkName, folderPath, linkPath))
        return false;
    if (!PathExists(folderPath))
        CreateDirectoryW(folderPath, nullptr);
    else if (PathExists(linkPath))
        DeleteProgramsShortcut(folderName, linkName, false);
    return link.Save(linkPath);
}

void DeleteProgramsShortcut(const wchar_t* folderName, const wchar_t* linkName, bool removeFolder) {
    wchar_t folderPath[MAX_PATH] = {};
    wchar_t linkPath[MAX_PATH] = {};
    if (!FormatProgramsPaths(folderName, linkName, folderPath, linkPath))
        return;
    DeleteFileW(linkPath);
    // Succeeds only when the folder is empty: whatever else lies there keeps it.
    if (removeFolder)
        RemoveDirectoryW(folderPath);
}

bool MoveShortcutTarget(const wchar_t* linkPath, const wchar_t* fromFolder,
                        const wchar_t* toFolder) {
    ComInitialization com;
    ShellLinkFile link;
    wchar_t target[MAX_PATH] = {};
    if (!link.Load(linkPath) || !link.GetTarget(target))
        return !PathExists(linkPath);
    const size_t prefixLength = wcslen(fromFolder);
    wchar_t prefix[MAX_PATH] = {};
    if (wcslen(target) <= prefixLength || target[prefixLength] != L'\\' ||
        !CopyInto(prefix, target))
        return true;
    prefix[prefixLength] = L'\0';
    if (!EqualsNameNoCase(prefix, fromFolder))
        return true;
    wchar_t moved[MAX_PATH] = {};
    return FormatInto(moved, L"%ls%ls", toFolder, target + prefixLength) && link.SetTarget(moved) &&
           link.Save(linkPath);
}

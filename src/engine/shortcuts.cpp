#include "engine/shortcuts.h"

#include "config/paths.h"
#include "config/text.h"
#include "engine/handles.h"
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
    return SHGetSpecialFolderPathW(nullptr, folder, csidl, FALSE) != FALSE;
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

    void Save(const wchar_t* linkPath) { m_file->Save(linkPath, TRUE); }

private:
    // Released in reverse order: the file interface, then the link.
    ComPtr<IShellLinkW> m_link;
    ComPtr<IPersistFile> m_file;
};

} // namespace

void CreateDesktopShortcut(const wchar_t* target, const wchar_t* linkName) {
    ComInitialization com;
    ShellLinkFile link;
    if (!link.Create(target))
        return;
    wchar_t linkPath[MAX_PATH] = {};
    if (!FormatDesktopLinkPath(linkName, linkPath))
        return;
    if (PathExists(linkPath))
        DeleteDesktopShortcut(linkName);
    link.Save(linkPath);
}

void DeleteDesktopShortcut(const wchar_t* linkName) {
    wchar_t linkPath[MAX_PATH] = {};
    if (FormatDesktopLinkPath(linkName, linkPath))
        DeleteFileW(linkPath);
}

void CreateProgramsShortcut(const wchar_t* folderName, const wchar_t* target,
                            const wchar_t* linkName, const wchar_t* arguments) {
    ComInitialization com;
    ShellLinkFile link;
    if (!link.Create(target))
        return;
    if (arguments != nullptr)
        link.SetArguments(arguments);
    wchar_t folderPath[MAX_PATH] = {};
    wchar_t linkPath[MAX_PATH] = {};
    if (!FormatProgramsPaths(folderName, linkName, folderPath, linkPath))
        return;
    if (!PathExists(folderPath))
        CreateDirectoryW(folderPath, nullptr);
    else if (PathExists(linkPath))
        DeleteProgramsShortcut(folderName, linkName, FALSE);
    link.Save(linkPath);
}

void DeleteProgramsShortcut(const wchar_t* folderName, const wchar_t* linkName,
                            BOOL bRemoveFolder) {
    wchar_t folderPath[MAX_PATH] = {};
    wchar_t linkPath[MAX_PATH] = {};
    if (!FormatProgramsPaths(folderName, linkName, folderPath, linkPath))
        return;
    DeleteFileW(linkPath);
    // Succeeds only when the folder is empty: whatever else lies there keeps it.
    if (bRemoveFolder)
        RemoveDirectoryW(folderPath);
}

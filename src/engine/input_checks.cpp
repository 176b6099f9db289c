#include "engine/input_checks.h"

#include "config/paths.h"
#include "config/system_libraries.h"
#include "config/text.h"
#include "engine/file_table.h"
#include "engine/shortcuts.h"

#include <shlobj.h>

#include <cwchar>
#include <vector>

namespace {

const wchar_t kForbiddenInNames[] = L"<>:\"|?*";

// Names the system keeps for devices: "NUL" or "nul.txt" opens the device, not a file.
const wchar_t* const kReservedDeviceNames[] = {
    L"CON",  L"PRN",  L"AUX",  L"NUL",       L"CONIN$",    L"CONOUT$",
    L"COM1", L"COM2", L"COM3", L"COM4",      L"COM5",      L"COM6",
    L"COM7", L"COM8", L"COM9", L"COM\u00B9", L"COM\u00B2", L"COM\u00B3",
    L"LPT1", L"LPT2", L"LPT3", L"LPT4",      L"LPT5",      L"LPT6",
    L"LPT7", L"LPT8", L"LPT9", L"LPT\u00B9", L"LPT\u00B2", L"LPT\u00B3",
};

bool IsForbiddenCharacter(wchar_t c) {
    return c < 0x20 || wcschr(kForbiddenInNames, c) != nullptr;
}

// The part before the first dot, without the blanks before that dot: "con .txt" is CON too.
bool IsReservedDeviceName(const wchar_t* name) {
    size_t baseLength = wcscspn(name, L".");
    while (baseLength > 0 && name[baseLength - 1] == L' ')
        --baseLength;
    wchar_t base[16] = {};
    if (baseLength == 0 || baseLength >= 16)
        return false;
    wmemcpy(base, name, baseLength);
    for (const wchar_t* reserved : kReservedDeviceNames) {
        if (EqualsAsciiNoCase(base, reserved))
            return true;
    }
    return false;
}

// One part of a path between backslashes, [begin, end).
bool IsUsablePathPart(const wchar_t* begin, const wchar_t* end) {
    const size_t length = static_cast<size_t>(end - begin);
    if (length == 0)
        return false;
    if ((length == 1 && begin[0] == L'.') || (length == 2 && begin[0] == L'.' && begin[1] == L'.'))
        return false;
    for (const wchar_t* c = begin; c != end; ++c) {
        if (*c == L'/' || IsForbiddenCharacter(*c))
            return false;
    }
    return true;
}

// Checks the parts of path from start on: one or more usable parts separated by backslashes.
bool AreUsablePathParts(const wchar_t* start) {
    const wchar_t* begin = start;
    for (;;) {
        const wchar_t* end = wcschr(begin, L'\\');
        if (end == nullptr)
            return IsUsablePathPart(begin, begin + wcslen(begin));
        if (!IsUsablePathPart(begin, end))
            return false;
        begin = end + 1;
    }
}

bool IsDriveLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// The names and the install folder. AppName is a display name, used as written; only the
// shortcuts' file names are made from it, and made legal (MakeLinkName).
bool CheckNamesAndFolder(const InstallConfig& config, wchar_t (&message)[kCheckMessageLength]) {
    if (!CheckSettingName(L"APPFolderName", config.szAppFolderName, L"the installed-programs entry",
                          message) ||
        !CheckSettingName(L"APPFileName", config.szAppFileName, L"the application's program",
                          message))
        return false;
    if (config.szAppName[0] == L'\0') {
        CopyInto(message, L"AppName in setup.ini is empty: it must name the application.");
        return false;
    }

    if (config.szInstallDir[0] == L'\0') {
        // The settings reader leaves the folder empty when it would not fit its buffer.
        FormatInto(message,
                   L"The install folder for APPFolderName \"%ls\" would be longer than %d "
                   L"characters.",
                   config.szAppFolderName, MAX_PATH - 1);
        return false;
    }
    // A full path of a folder below a drive or share: everything installed or removed lies
    // below it.
    if (!IsAbsoluteFolderPath(config.szInstallDir)) {
        FormatInto(message, L"The install folder \"%ls\" is not a full path of a folder.",
                   config.szInstallDir);
        return false;
    }
    return true;
}

bool ReportOverflow(const PathOverflow& overflow, wchar_t (&message)[kCheckMessageLength]) {
    FormatInto(message, L"The path of %ls in \"%ls\" would be longer than %d characters.",
               overflow.name, overflow.folder, MAX_PATH - 1);
    return false;
}

// The shortcuts' paths: <desktop>\<AppName>.lnk, <Programs>\<AppName>\<AppName>.lnk and
// <Programs>\<AppName>\Uninstall.lnk. A shell folder the system does not give is not ours to
// check: the shortcut operations pass over it.
bool CheckShortcutPaths(const wchar_t* appName, wchar_t (&message)[kCheckMessageLength]) {
    wchar_t linkName[MAX_PATH] = {};
    if (!MakeLinkName(appName, linkName)) {
        FormatInto(message, L"AppName \"%ls\" is too long for the shortcuts' names.", appName);
        return false;
    }
    appName = linkName;
    wchar_t desktop[MAX_PATH] = {};
    wchar_t programs[MAX_PATH] = {};
    wchar_t path[MAX_PATH] = {};
    const wchar_t* uninstallLink = kUninstallFolderName;
    if (GetShellFolderPath(CSIDL_DESKTOPDIRECTORY, desktop) &&
        !FormatInto(path, L"%ls\\%ls.lnk", desktop, appName))
        return ReportOverflow(PathOverflow{desktop, appName}, message);
    if (GetShellFolderPath(CSIDL_COMMON_PROGRAMS, programs)) {
        const wchar_t* longerLink =
            wcslen(appName) > wcslen(uninstallLink) ? appName : uninstallLink;
        if (!FormatInto(path, L"%ls\\%ls\\%ls.lnk", programs, appName, longerLink))
            return ReportOverflow(PathOverflow{programs, appName}, message);
    }
    return true;
}

} // namespace

NameProblem FindNameProblem(const wchar_t* name) {
    if (name == nullptr || name[0] == L'\0')
        return NameProblem::kEmpty;
    if (wcspbrk(name, L"\\/") != nullptr)
        return NameProblem::kSeparator;
    if (wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0)
        return NameProblem::kDotName;
    for (const wchar_t* c = name; *c != L'\0'; ++c) {
        if (IsForbiddenCharacter(*c))
            return NameProblem::kForbiddenCharacter;
    }
    const wchar_t last = name[wcslen(name) - 1];
    if (last == L'.' || last == L' ')
        return NameProblem::kTrailingDotOrSpace;
    if (IsReservedDeviceName(name))
        return NameProblem::kReservedDevice;
    return NameProblem::kNone;
}

const wchar_t* DescribeNameProblem(NameProblem problem) {
    switch (problem) {
    case NameProblem::kNone:
        return L"it is a plain name";
    case NameProblem::kEmpty:
        return L"it is empty";
    case NameProblem::kSeparator:
        return L"it holds a path separator, \\ or /";
    case NameProblem::kDotName:
        return L"\".\" and \"..\" name no folder of their own";
    case NameProblem::kReservedDevice:
        return L"Windows keeps that name for a device";
    case NameProblem::kForbiddenCharacter:
        return L"it holds a character that Windows does not allow in names";
    case NameProblem::kTrailingDotOrSpace:
        return L"it ends with a dot or a space, which Windows drops";
    }
    return L"";
}

bool IsAbsoluteFolderPath(const wchar_t* path) {
    if (path == nullptr)
        return false;
    if (IsDriveLetter(path[0]) && path[1] == L':' && path[2] == L'\\')
        return AreUsablePathParts(path + 3);
    if (path[0] == L'\\' && path[1] == L'\\') {
        // \\server\share\name: two parts of the network name, then the folder's own parts.
        // "\\?\" and "\\.\" name the device space, not a server.
        const wchar_t* server = path + 2;
        const wchar_t* share = wcschr(server, L'\\');
        if (share == nullptr || !IsUsablePathPart(server, share) ||
            (share - server == 1 && (server[0] == L'?' || server[0] == L'.')))
            return false;
        ++share;
        const wchar_t* rest = wcschr(share, L'\\');
        if (rest == nullptr || !IsUsablePathPart(share, rest))
            return false;
        return AreUsablePathParts(rest + 1);
    }
    return false;
}

bool CheckInstallInputs(const wchar_t* szSetupDir, const InstallConfig& config,
                        bool withServiceTool, wchar_t (&message)[kCheckMessageLength]) {
    message[0] = L'\0';
    if (!CheckNamesAndFolder(config, message))
        return false;

    std::vector<FileCopy> copies;
    PathOverflow overflow;
    if (!ListInstallCopies(szSetupDir, config, withServiceTool, &copies, &overflow))
        return ReportOverflow(overflow, message);
    if (!CheckShortcutPaths(config.szAppName, message))
        return false;

    for (const FileCopy& copy : copies) {
        if (copy.rule == CopyRule::kRequired && !IsExistingFile(copy.szSource)) {
            FormatInto(message, L"The distribution is incomplete: \"%ls\" is missing.",
                       copy.szSource);
            return false;
        }
    }
    return true;
}

bool CheckSettingName(const wchar_t* key, const wchar_t* value, const wchar_t* use,
                      wchar_t (&message)[kCheckMessageLength]) {
    const NameProblem problem = FindNameProblem(value);
    if (problem == NameProblem::kNone)
        return true;
    if (problem == NameProblem::kEmpty)
        FormatInto(message, L"%ls in setup.ini is empty: it must name %ls.", key, use);
    else
        FormatInto(message, L"%ls \"%ls\" in setup.ini cannot name %ls: %ls.", key, value, use,
                   DescribeNameProblem(problem));
    return false;
}

bool CheckInstallTarget(const InstallConfig& config, InstallRecord* previous,
                        wchar_t (&message)[kCheckMessageLength]) {
    message[0] = L'\0';
    if (PathExists(config.szInstallDir) && !IsExistingFolder(config.szInstallDir)) {
        FormatInto(message, L"\"%ls\" is a file, not a folder: nothing can be installed into it.",
                   config.szInstallDir);
        return false;
    }
    switch (ReadInstallRecord(config.szAppFolderName, previous)) {
    case EntryOwner::kAbsent:
        return true;
    case EntryOwner::kForeign:
        FormatInto(message,
                   L"The installed-programs entry \"%ls\" belongs to another program; setup "
                   L"leaves it as it is. Choose another APPFolderName.",
                   config.szAppFolderName);
        return false;
    case EntryOwner::kOurs:
        break;
    }
    if (!EqualsNameNoCase(previous->installDir.c_str(), config.szInstallDir)) {
        FormatInto(message, L"%ls is already installed in \"%ls\". Remove it there first.",
                   config.szAppName, previous->installDir.c_str());
        return false;
    }
    return true;
}

// Checks of what the install and the removal are given, made before either changes anything: a
// wrong setting must end in one clear message, never in files copied to, or deleted from, a
// place nobody meant.
#pragma once

#include "config/install_config.h"
#include "engine/install_record.h"

#include <cstddef>

// Why a text cannot serve as one file or folder name.
enum class NameProblem {
    kNone,
    kEmpty,
    kSeparator,          // holds \ or /
    kDotName,            // "." or ".."
    kReservedDevice,     // CON, NUL, COM1, LPT1 and the like, with or without an extension
    kForbiddenCharacter, // < > : " | ? * or a control character
    kTrailingDotOrSpace, // Windows would silently drop it
};

NameProblem FindNameProblem(const wchar_t* name);

// What the problem is, as the end of a sentence ("it is empty").
const wchar_t* DescribeNameProblem(NameProblem problem);

// True for a full path of a folder: a drive letter, a colon and a backslash, or a network path
// \\server\share, followed by at least one name; no empty, "." or ".." part, no character that
// Windows forbids in names, no trailing backslash.
bool IsAbsoluteFolderPath(const wchar_t* path);

// Messages of the checks fit a buffer of this many characters.
constexpr size_t kCheckMessageLength = 1024;

// The install's inputs: the names in setup.ini, the install folder, the length of every path
// the install forms, and the files of the distribution that the installed program cannot do
// without. False with a message naming the problem when one is wrong.
bool CheckInstallInputs(const wchar_t* szSetupDir, const InstallConfig& config,
                        bool withServiceTool, wchar_t (&message)[kCheckMessageLength]);

// Where the install goes: the install folder is a folder or nothing yet (never a file), and the
// installed-programs entry of its name is absent or this program's own for that same folder
// (an install over it is an upgrade; *previous then holds its record). False with a message
// otherwise: an entry of another program is never written into.
bool CheckInstallTarget(const InstallConfig& config, InstallRecord* previous,
                        wchar_t (&message)[kCheckMessageLength]);

// One setting from setup.ini that must name a single file or folder; false with its message.
bool CheckSettingName(const wchar_t* key, const wchar_t* value, const wchar_t* use,
                      wchar_t (&message)[kCheckMessageLength]);

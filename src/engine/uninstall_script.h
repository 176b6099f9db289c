// The self-removal script: the uninstaller cannot delete its own folder while it runs, so it
// leaves a small batch file in the programs folder that waits for it to end, removes the
// Uninstall folder and the then empty install folder, and deletes itself.
#pragma once

#include "config/handles.h"

#include <string>
#include <vector>

// The script waits this many rounds of about one second for the uninstaller to end, then
// gives up (and still deletes itself).
constexpr int kScriptWaitRounds = 60;

// What the self-removal script removes: the uninstaller's files (names in the install folder's
// Uninstall folder), then that folder, the install folder and the folders the install made above
// it (from the top down, as the record keeps them), each folder only when that leaves it empty.
struct UninstallerRemoval {
    std::wstring installDir;
    std::vector<std::wstring> files;
    std::vector<std::wstring> foldersAbove;
};

// Writes the self-removal script into the programs folder and starts it hidden. The script does
// nothing before this process has ended, so it may be started as soon as the removal is sure to
// run; it removes the uninstaller only when ConfirmUninstallScript was called before the end. The
// script is KvUninst.bat, or, when an older script of that name is held by another program and
// cannot be replaced, the first free of KvUninst1.bat to KvUninst9.bat. Returns the handle to
// confirm through, or null when no script was started. The handle is left open for the rest of
// the process on purpose: its closing, by the system as the process ends, is what the script
// waits for.
HANDLE StartUninstallScript(const UninstallerRemoval& removal);

// Tells a script started above that the removal is complete. Null is ignored.
void ConfirmUninstallScript(HANDLE script);

// The script's text for the removal and the script's own path, in the OEM code page that the
// command interpreter reads, lines ending in CR LF. A path that the code page cannot hold is
// written by its short name; false when there is none (both paths must then exist).
bool ComposeUninstallScript(const UninstallerRemoval& removal, const wchar_t* scriptPath,
                            int waitRounds, std::string* text);

// Writes the script at scriptPath and starts it hidden with workingDir as its current folder.
// The script first reads what is written through the handle it puts into *release, until that
// handle is closed; then, if "go" came first (ConfirmUninstallScript), it tries the removal round
// after round, else it only deletes itself. On any failure no script is left behind by this call.
bool WriteAndStartUninstallScript(const UninstallerRemoval& removal, const wchar_t* scriptPath,
                                  const wchar_t* workingDir, int waitRounds, ScopedHandle* release);

// Starting other programs, and getting the application and its service out of the way.
#pragma once

#include "engine/handles.h"

#include <windows.h>

// Command lines live in buffers of this size.
constexpr size_t kCommandLineLength = 1024;

// Starts commandLine (the program path in double quotes, then the arguments) at normal priority,
// window shown or hidden. Returns the new process's handle, which the caller closes, or null when
// the program could not be started. The thread handle is closed at once.
HANDLE LaunchProcess(wchar_t* commandLine, BOOL bShow);

// Runs the service tool of szInstallDir with "-k", then "-u", waiting for each run to end (at most
// 30 s each). A missing tool is passed over.
void StopAndRemoveService(const wchar_t* szInstallDir);

// Runs the service tool of szInstallDir with "-i" and waits for it to end (at most 30 s).
// Returns whether the tool was started.
BOOL InstallService(const wchar_t* szInstallDir);

// InstallService in two halves, for a caller with work of its own to do while the tool registers
// and starts the service: the first starts the tool and returns its running process (empty when
// it could not be started), the second waits for that process to end (at most 30 s).
ScopedHandle StartServiceInstall(const wchar_t* szInstallDir);
void WaitForServiceTool(const ScopedHandle& tool);

// Asks the top-level window titled exactly szAppName to close and waits (bounded) for its
// process to end. Returns at once when there is no such window.
void CloseRunningApp(const wchar_t* szAppName);

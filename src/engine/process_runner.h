// Starting other programs, and getting the application and its service out of the way.
#pragma once

#include "config/handles.h"

#include <windows.h>

// Command lines live in buffers of this size.
constexpr size_t kCommandLineLength = 1024;

// Starts commandLine (the program path in double quotes, then the arguments) at normal priority,
// window shown or hidden. Returns the new process's handle, which the caller closes, or null when
// the program could not be started. The thread handle is closed at once.
HANDLE LaunchProcess(wchar_t* commandLine, bool show);

// How one run of the service tool ended.
enum class ToolRun {
    kNotStarted, // no such program, or it could not be started
    kEnded,      // it ended by itself within its time
    kOverran,    // it did not end within its time, and setup ended it
};

class SetupReport;

// Runs the service tool of szInstallDir with one switch ("-i", "-k", "-u") and waits for it to
// end, at most 30 s; a run that takes longer is ended by setup. With a report, the run and its
// exit code go into the log, and a run that overran is the report's failure. The exit code is
// not acted on: the service manager, not the tool, tells what the tool achieved.
ToolRun RunServiceTool(const wchar_t* szInstallDir, const wchar_t* toolSwitch,
                       SetupReport* report = nullptr);

// Runs the service tool of szInstallDir with "-k", then "-u", as above. A missing tool is passed
// over. False when a run did not end by itself.
bool StopAndRemoveService(const wchar_t* szInstallDir);

// Runs the service tool of szInstallDir with "-i" as above. Returns whether the tool was started.
bool InstallService(const wchar_t* szInstallDir);

// "-i" in two halves, for a caller with work of its own to do while the tool registers and
// starts the service: the first starts the tool and returns its running process (empty when it
// could not be started), the second waits for that process as above and tells how it ended.
ScopedHandle StartServiceInstall(const wchar_t* szInstallDir);
ToolRun WaitForServiceTool(ScopedHandle* tool, const wchar_t* toolSwitch,
                           SetupReport* report = nullptr);

// Asks the top-level window titled exactly szAppName to close and waits (bounded) for its
// process to end. Returns at once when there is no such window. False when the window's program
// did not end within its time (it ignores the request, or hangs): its files are still in use.
bool CloseRunningApp(const wchar_t* szAppName);

// The worker thread that runs the install or uninstall sequence for the wizard. It knows the
// engine and the progress messages, not the dialog: it talks to the window it is given only by
// posting WM_SETUP_PROGRESS, a begin code before its sequence and an end code with the sequence's
// outcome after it. The reason of a failure is written where the parameters say before the end
// code is posted; a failure is also shown in a box owned by that window.
#pragma once

#include <windows.h>

class RunLog;

struct WorkerParams {
    wchar_t szSetupDir[MAX_PATH];   // the setup folder, with its trailing backslash
    wchar_t szInstallDir[MAX_PATH]; // an install folder from the command line, or empty
    HWND hNotifyWnd;                // receives every WM_SETUP_PROGRESS, owns the failure box
    BOOL bUninstall;                // nonzero: the uninstall sequence
    RunLog* pLog;                   // the run's log, or null
    wchar_t* pszReason;             // receives a failure's reason (kReasonLength characters)
};

// Room for a reason, terminator included.
constexpr size_t kReasonLength = 1024;

// Starts the worker with a copy of params. Returns the thread's handle (the caller may close it;
// nothing waits on it), or null when the thread could not be started.
HANDLE StartSetupWorker(const WorkerParams& params);

// The thread routine: reads setup.ini afresh, posts the begin code, runs the sequence, writes the
// reason of a failure, posts the end code with lParam 1 on success, 0 on failure, and 2 when a
// removal found nothing to remove and changed nothing. Always returns 1.
DWORD WINAPI SetupWorkerProc(LPVOID param);

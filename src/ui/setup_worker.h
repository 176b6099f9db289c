// The worker thread that runs the install or uninstall sequence for the wizard. It talks to the
// dialog only by posting WM_SETUP_PROGRESS: a begin code before its sequence and an end code with
// the sequence's outcome after it.
#pragma once

#include <windows.h>

class WizardDialog;

struct WorkerParams {
    wchar_t szSetupDir[MAX_PATH]; // the setup folder, with its trailing backslash
    HWND hNotifyWnd;              // receives every WM_SETUP_PROGRESS
    BOOL bUninstall;              // nonzero: the uninstall sequence
};

// Filled just before the thread starts; the worker copies it as its first act.
extern WorkerParams g_workerParams;

// Starts the worker for the dialog's setup folder and window. Returns the thread's handle (the
// caller may close it; nothing waits on it), or null when the thread could not be started.
HANDLE StartSetupWorker(WizardDialog* dialog, BOOL bUninstall);

// The thread routine: reads setup.ini afresh, posts the begin code, runs the sequence, posts the
// end code with lParam 1 on success, 0 on failure, and 2 when a removal refused its settings and
// removed nothing. Always returns 1.
DWORD WINAPI SetupWorkerProc(LPVOID param);

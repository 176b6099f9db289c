// The application object: one static instance derived from CWinApp; the entry point runs its
// InitInstance and ExitInstance and ends the process with the exit code it set.
#pragma once

#include "framework/command_line_info.h"

#include <windows.h>

class CWnd;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Returns TRUE to enter the application's own message loop, FALSE to end at once.
    virtual BOOL InitInstance() { return FALSE; }
    // Returns the process exit code.
    virtual int ExitInstance() { return m_nExitCode; }

    void ParseCommandLine(CCommandLineInfo& info) const;
    int Run();

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;

protected:
    void SetExitCode(int exitCode) { m_nExitCode = exitCode; }
    int GetExitCode() const { return m_nExitCode; }

private:
    int m_nExitCode = 0;
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();

// Runs the one application object; called by the entry point.
int AfxWinMain(HINSTANCE instance);

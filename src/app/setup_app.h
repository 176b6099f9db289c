// The setup program's application object: start-up, run mode and exit.
#pragma once

#include "app/setup_command_line.h"
#include "config/install_config.h"
#include "config/run_log.h"
#include "framework/win_app.h"

class SetupApp : public CWinApp {
public:
    SetupApp() = default;
    ~SetupApp() override = default;

    BOOL InitInstance() override;
    int ExitInstance() override;

    HANDLE m_hMutex = nullptr;   // keeps a second copy of setup out
    InstallConfig m_config = {}; // settings read at start-up
    BOOL m_bUninstall = FALSE;   // 0 install, 1 removal (wizard or silent)

private:
    void OpenLog(const SetupCommandLineInfo& commandLine);
    bool AnswerWithoutRunning(RunMode mode, const SetupCommandLineInfo& commandLine);
    bool TakeSingleInstance();
    void LogSettings();
    void RunChosenMode(RunMode mode);

    wchar_t m_szSetupDir[MAX_PATH] = {};    // folder of the running program, trailing backslash
    wchar_t m_szProgramPath[MAX_PATH] = {}; // the running program, lower case
    wchar_t m_szInstallDir[MAX_PATH] = {};  // the install folder named on the command line
    bool m_bOwnMarkCreated = false;         // start-up made this program's compatibility mark
    RunLog m_log;                           // the log of this run
};

#include "app/setup_app.h"

#include "app/exit_codes.h"
#include "app/language.h"
#include "app/run_modes.h"
#include "config/globals.h"
#include "config/paths.h"
#include "config/system_facts.h"
#include "config/text.h"

namespace {
const wchar_t kMutexName[] = L"TESSAR_INSTALL";
}

BOOL SetupApp::InitInstance() {
    // Setup runs elevated from a download folder: libraries it loads by name must never come
    // from the current folder.
    SetDllDirectoryW(L"");

    HANDLE running = OpenMutexW(MUTEX_ALL_ACCESS, FALSE, kMutexName);
    if (running != nullptr) {
        CloseHandle(running);
        SetExitCode(kExitAlreadyRunning);
        return FALSE;
    }
    // Two copies started at the same moment can both pass the look above: the one that did not
    // create the mutex ends too.
    m_hMutex = CreateMutexW(nullptr, FALSE, kMutexName);
    if (m_hMutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
        SetExitCode(kExitAlreadyRunning);
        return FALSE;
    }

    const DWORD length = GetModuleFileNameW(nullptr, m_szProgramPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        // Without its own folder setup cannot find anything it is to install.
        m_szProgramPath[0] = L'\0';
        SetExitCode(kExitFailure);
        return FALSE;
    }
    GetFolderOfPath(m_szProgramPath, m_szSetupDir);
    LowerAsciiInPlace(m_szProgramPath);

    SetupCommandLineInfo commandLine;
    ParseCommandLine(commandLine);

    g_bWow64 = IsRunningUnderWow64();
    g_bWinNT6 = IsWinNT6();
    if (g_bWinNT6)
        m_bOwnMarkCreated = MarkCompatibilityPersisted(m_szProgramPath);

    ReadSetupIni(m_szSetupDir, &m_config);
    RunChosenMode(commandLine, m_szProgramPath);
    return FALSE;
}

void SetupApp::RunChosenMode(const SetupCommandLineInfo& commandLine,
                             const wchar_t* lowerProgramPath) {
    m_bUninstall = FALSE;
    const RunMode mode = ChooseRunMode(commandLine);
    switch (mode) {
    case RunMode::SilentInstall:
        SetExitCode(RunSilentInstall(m_szSetupDir));
        return;
    case RunMode::SilentRemoval:
        m_bUninstall = TRUE;
        SetExitCode(RunSilentRemoval(m_szSetupDir, m_config));
        return;
    case RunMode::UninstallWizard:
        m_bUninstall = TRUE;
        break;
    case RunMode::InstallWizard:
        break;
    }

    g_hLangDll = LoadLanguageDll(lowerProgramPath);
    if (g_hLangDll == nullptr) {
        // Nothing to show the user in any language: end without a word.
        SetExitCode(kExitFailure);
        return;
    }
    SetExitCode(RunWizard(m_szSetupDir, m_bUninstall));
}

int SetupApp::ExitInstance() {
    if (m_hMutex != nullptr) {
        CloseHandle(m_hMutex);
        m_hMutex = nullptr;
    }
    if (g_hLangDll != nullptr) {
        FreeLibrary(g_hLangDll);
        g_hLangDll = nullptr;
    }
    // The compatibility mark that start-up made for this program stays only with an installation
    // that records it (a completed install); a failed or refused run, or an uninstaller that is
    // about to go, takes it back.
    const bool installed = !m_bUninstall && GetExitCode() == kExitSuccess;
    if (m_bOwnMarkCreated && !installed)
        RemoveCompatibilityMark(m_szProgramPath);
    return CWinApp::ExitInstance();
}

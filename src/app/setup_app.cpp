#include "app/setup_app.h"

#include "app/exit_codes.h"
#include "app/language.h"
#include "app/run_modes.h"
#include "app/usage.h"
#include "config/globals.h"
#include "config/paths.h"
#include "config/system_facts.h"
#include "config/system_libraries.h"
#include "config/text.h"
#include "engine/input_checks.h"
#include "res/version.h"

namespace {

const wchar_t kMutexName[] = L"TESSAR_INSTALL";

const wchar_t* NameOf(RunMode mode) {
    switch (mode) {
    case RunMode::kInstallWizard:
        return L"install wizard";
    case RunMode::kUninstallWizard:
        return L"removal wizard";
    case RunMode::kSilentInstall:
        return L"silent install";
    case RunMode::kSilentRemoval:
        return L"silent removal";
    case RunMode::kHelp:
        return L"help";
    case RunMode::kBadCommandLine:
        return L"none: the command line is not understood";
    }
    return L"";
}

// A folder named on the command line, without the trailing backslashes people type.
void TrimTrailingBackslashes(wchar_t* folder) {
    size_t length = wcslen(folder);
    while (length > 3 && folder[length - 1] == L'\\')
        folder[--length] = L'\0';
}

} // namespace

BOOL SetupApp::InitInstance() {
    // Before any library is loaded by name: never from setup's own (download) folder.
    RestrictLibrarySearch();

    SetupCommandLineInfo commandLine;
    ParseCommandLine(commandLine);
    RunMode mode = ChooseRunMode(commandLine);
    CopyInto(m_szInstallDir, commandLine.m_szInstallDir);
    TrimTrailingBackslashes(m_szInstallDir);
    if (m_szInstallDir[0] != L'\0' && !IsAbsoluteFolderPath(m_szInstallDir) &&
        mode != RunMode::kBadCommandLine && mode != RunMode::kHelp) {
        FormatInto(commandLine.m_szProblem, L"\"/D=%ls\" does not name a full path of a folder.",
                   commandLine.m_szInstallDir);
        mode = RunMode::kBadCommandLine;
    }
    OpenLog(commandLine);
    m_log.Format(L"mode: %ls", NameOf(mode));
    // Help and a bad command line change nothing: they are answered even while another copy
    // runs.
    if (AnswerWithoutRunning(mode, commandLine))
        return FALSE;
    if (!TakeSingleInstance())
        return FALSE;

    const DWORD length = GetModuleFileNameW(nullptr, m_szProgramPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        // Without its own folder setup cannot find anything it is to install.
        m_szProgramPath[0] = L'\0';
        m_log.Line(L"the program's own path is longer than 259 characters");
        SetExitCode(kExitFailure);
        return FALSE;
    }
    GetFolderOfPath(m_szProgramPath, m_szSetupDir);
    LowerAsciiInPlace(m_szProgramPath);

    g_bWow64 = IsRunningUnderWow64();
    g_bWinNT6 = IsWinNT6();
    if (g_bWinNT6)
        m_bOwnMarkCreated = MarkCompatibilityPersisted(m_szProgramPath);

    ReadSetupIni(m_szSetupDir, &m_config);
    if (m_szInstallDir[0] != L'\0')
        CopyInto(m_config.szInstallDir, m_szInstallDir);
    LogSettings();
    RunChosenMode(mode);
    return FALSE;
}

void SetupApp::OpenLog(const SetupCommandLineInfo& commandLine) {
    wchar_t path[MAX_PATH] = {};
    if (commandLine.m_szLogPath[0] != L'\0')
        CopyInto(path, commandLine.m_szLogPath);
    else
        DefaultLogPath(path);
    // A log that cannot be written never stops a run.
    m_log.Open(path);
    m_log.Format(L"setup %hs started: %ls", SETUP_VERSION_TEXT, GetCommandLineW());
}

bool SetupApp::AnswerWithoutRunning(RunMode mode, const SetupCommandLineInfo& commandLine) {
    if (mode == RunMode::kHelp) {
        // Where there is no console, a box; but never where nobody could close it.
        if (!WriteToStartingConsole(UsageText()) && IsInteractiveSession())
            MessageBoxW(nullptr, UsageText(), L"Setup", MB_OK | MB_ICONINFORMATION);
        SetExitCode(kExitSuccess);
        return true;
    }
    if (mode != RunMode::kBadCommandLine)
        return false;
    wchar_t problem[320] = {};
    DescribeBadCommandLine(commandLine, problem);
    m_log.Line(problem);
    m_log.Line(UsageText());
    wchar_t text[2048] = {};
    FormatInto(text, L"%ls\r\n\r\n%ls", problem, UsageText());
    WriteToStartingConsole(text);
    SetExitCode(kExitBadCommandLine);
    return true;
}

bool SetupApp::TakeSingleInstance() {
    HANDLE running = OpenMutexW(MUTEX_ALL_ACCESS, FALSE, kMutexName);
    if (running != nullptr) {
        CloseHandle(running);
        m_log.Line(L"another copy of setup is running");
        SetExitCode(kExitAlreadyRunning);
        return false;
    }
    // Two copies started at the same moment can both pass the look above: the one that did not
    // create the mutex ends too. So does one that may not open the mutex another copy holds.
    m_hMutex = CreateMutexW(nullptr, FALSE, kMutexName);
    const DWORD error = GetLastError();
    if ((m_hMutex != nullptr && error == ERROR_ALREADY_EXISTS) ||
        (m_hMutex == nullptr && error == ERROR_ACCESS_DENIED)) {
        m_log.Line(L"another copy of setup is running");
        SetExitCode(kExitAlreadyRunning);
        return false;
    }
    return true;
}

void SetupApp::LogSettings() {
    m_log.Format(L"program: %ls", m_szProgramPath);
    m_log.Format(L"settings: AppName \"%ls\", CompanyName \"%ls\", Version \"%ls\", APPFolderName "
                 L"\"%ls\", APPFileName \"%ls\", LaunchAPInSilentMode %d",
                 m_config.szAppName, m_config.szCompanyName, m_config.szVersion,
                 m_config.szAppFolderName, m_config.szAppFileName, m_config.bLaunchInSilentMode);
    m_log.Format(L"install folder: %ls%ls", m_config.szInstallDir,
                 m_szInstallDir[0] != L'\0' ? L" (from the command line)" : L"");
    m_log.Format(L"system: %ls, %ls", g_bWinNT6 ? L"NT 6 (service)" : L"not NT 6 (Run value)",
                 g_bWow64 ? L"64-bit" : L"32-bit");
}

void SetupApp::RunChosenMode(RunMode mode) {
    m_bUninstall = FALSE;
    switch (mode) {
    case RunMode::kSilentInstall:
        SetExitCode(RunSilentInstall(m_szSetupDir, m_config, &m_log));
        return;
    case RunMode::kSilentRemoval:
        m_bUninstall = TRUE;
        SetExitCode(RunSilentRemoval(m_szSetupDir, m_config, &m_log));
        return;
    case RunMode::kUninstallWizard:
        m_bUninstall = TRUE;
        break;
    case RunMode::kInstallWizard:
        break;
    case RunMode::kHelp:
    case RunMode::kBadCommandLine:
        return;
    }

    // A wizard where nobody sees windows would wait for ever: a deployment tool running setup
    // as a service or as the system account learns it at once.
    if (!IsInteractiveSession()) {
        m_log.Line(L"no one can see a window here (the window station is not interactive): the "
                   L"wizard does not start");
        SetExitCode(kExitNoScreen);
        return;
    }
    g_hLangDll = LoadLanguageDll(m_szProgramPath);
    if (g_hLangDll == nullptr) {
        m_log.Line(L"no language library was found beside the program");
        MessageBoxW(nullptr,
                    L"Setup cannot show its wizard: no language library (such as setupENU.dll) "
                    L"was found beside it.",
                    L"Setup", MB_OK | MB_ICONERROR);
        SetExitCode(kExitFailure);
        return;
    }
    SetExitCode(RunWizard(m_szSetupDir, m_bUninstall, m_szInstallDir, &m_log));
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
    m_log.Format(L"exit code %d", GetExitCode());
    return CWinApp::ExitInstance();
}

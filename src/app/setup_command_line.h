// The arguments setup understands, and the run mode they select. The command line is strict:
// deployment tools pass switches that setup might not know, and a switch that is not understood
// must end the run at once, never open a window that nobody sees.
#pragma once

#include "framework/command_line_info.h"

class SetupCommandLineInfo : public CCommandLineInfo {
public:
    ~SetupCommandLineInfo() override = default;
    void ParseParam(const wchar_t* pszParam, BOOL bFlag, BOOL bLast) override;

    BOOL m_bDelPkg = FALSE;    // "delpkg": the removal wizard
    BOOL m_bSilentDel = FALSE; // "SilentDel": removal without any window
    BOOL m_bSilent = FALSE;    // "s": install without any window
    int m_nParamCount = 0;     // arguments seen, matching or not

    BOOL m_bHelp = FALSE;                  // "/?", "/h", "/help"
    wchar_t m_szLogPath[MAX_PATH] = {};    // "/log <path>" or "/log=<path>"
    wchar_t m_szInstallDir[MAX_PATH] = {}; // "/D=<folder>" or "/DIR=<folder>"
    wchar_t m_szProblem[320] = {};         // why the command line is not understood, or empty

private:
    void Refuse(const wchar_t* format, const wchar_t* argument);

    BOOL m_bLogPathNext = FALSE;
};

enum class RunMode {
    kInstallWizard,
    kUninstallWizard,
    kSilentInstall,
    kSilentRemoval,
    kHelp,           // the usage text, nothing else
    kBadCommandLine, // an argument not understood, or two modes at once: nothing runs
};

// The mode the arguments ask for. Two modes at once (any two of "s", "delpkg", "SilentDel") are a
// bad command line, and so is an install folder given to a removal.
RunMode ChooseRunMode(const SetupCommandLineInfo& info);

// Why a command line is bad, in one sentence.
void DescribeBadCommandLine(const SetupCommandLineInfo& info, wchar_t (&text)[320]);

// The arguments setup understands, and the run mode they select.
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
};

enum class RunMode { InstallWizard, UninstallWizard, SilentInstall, SilentRemoval };

// A silent switch always wins over a wizard: an unattended deployment must never see a window.
RunMode ChooseRunMode(const SetupCommandLineInfo& info);

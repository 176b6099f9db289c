#include "app/setup_command_line.h"

#include "config/text.h"

void SetupCommandLineInfo::ParseParam(const wchar_t* pszParam, BOOL, BOOL) {
    // Switch or plain word does not matter: delpkg, /delpkg and -DELPKG all count.
    if (EqualsAsciiNoCase(pszParam, L"delpkg"))
        m_bDelPkg = TRUE;
    else if (EqualsAsciiNoCase(pszParam, L"SilentDel"))
        m_bSilentDel = TRUE;
    else if (EqualsAsciiNoCase(pszParam, L"s"))
        m_bSilent = TRUE;
    ++m_nParamCount;
}

RunMode ChooseRunMode(const SetupCommandLineInfo& info) {
    if (info.m_nParamCount == 0)
        return RunMode::InstallWizard;
    if (info.m_bSilentDel)
        return RunMode::SilentRemoval;
    if (info.m_bDelPkg)
        return RunMode::UninstallWizard;
    if (info.m_bSilent)
        return RunMode::SilentInstall;
    return RunMode::InstallWizard;
}

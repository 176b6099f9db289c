#include "app/setup_command_line.h"

#include "config/text.h"

#include <cwchar>

namespace {

// The value of "name=value" when text starts with name and "=" (letter case ignored), or null.
const wchar_t* ValueOf(const wchar_t* text, const wchar_t* name) {
    const size_t length = std::wcslen(name);
    if (std::wcslen(text) <= length || text[length] != L'=')
        return nullptr;
    wchar_t head[16] = {};
    if (length >= 16)
        return nullptr;
    std::wmemcpy(head, text, length);
    return EqualsAsciiNoCase(head, name) ? text + length + 1 : nullptr;
}

} // namespace

void SetupCommandLineInfo::Refuse(const wchar_t* format, const wchar_t* argument) {
    // The first problem is the one told.
    if (m_szProblem[0] == L'\0' && !FormatInto(m_szProblem, format, argument))
        CopyInto(m_szProblem, L"An argument is too long.");
}

void SetupCommandLineInfo::ParseParam(const wchar_t* pszParam, BOOL bFlag, BOOL bLast) {
    ++m_nParamCount;
    if (m_bLogPathNext) {
        m_bLogPathNext = FALSE;
        if (pszParam[0] == L'\0' || bFlag || !CopyInto(m_szLogPath, pszParam))
            Refuse(L"\"/log\" needs the path of a file after it, not \"%ls\".", pszParam);
        return;
    }
    // Switch or plain word does not matter: delpkg, /delpkg and -DELPKG all count.
    const wchar_t* value = nullptr;
    if (EqualsAsciiNoCase(pszParam, L"delpkg")) {
        m_bDelPkg = TRUE;
    } else if (EqualsAsciiNoCase(pszParam, L"SilentDel")) {
        m_bSilentDel = TRUE;
    } else if (EqualsAsciiNoCase(pszParam, L"s")) {
        m_bSilent = TRUE;
    } else if (EqualsAsciiNoCase(pszParam, L"?") || EqualsAsciiNoCase(pszParam, L"h") ||
               EqualsAsciiNoCase(pszParam, L"help")) {
        m_bHelp = TRUE;
    } else if (EqualsAsciiNoCase(pszParam, L"log")) {
        if (bLast)
            Refuse(L"\"/%ls\" needs the path of a file after it.", pszParam);
        m_bLogPathNext = TRUE;
    } else if ((value = ValueOf(pszParam, L"log")) != nullptr) {
        if (value[0] == L'\0' || !CopyInto(m_szLogPath, value))
            Refuse(L"\"/%ls\" needs the path of a file after the \"=\".", pszParam);
    } else if ((value = ValueOf(pszParam, L"D")) != nullptr ||
               (value = ValueOf(pszParam, L"DIR")) != nullptr) {
        if (value[0] == L'\0' || !CopyInto(m_szInstallDir, value))
            Refuse(L"\"/%ls\" needs a folder after the \"=\".", pszParam);
    } else {
        Refuse(L"\"%ls\" is not an argument of setup.", pszParam);
    }
}

RunMode ChooseRunMode(const SetupCommandLineInfo& info) {
    if (info.m_szProblem[0] != L'\0')
        return RunMode::kBadCommandLine;
    if (info.m_bHelp)
        return RunMode::kHelp;
    const int modes =
        (info.m_bDelPkg ? 1 : 0) + (info.m_bSilentDel ? 1 : 0) + (info.m_bSilent ? 1 : 0);
    if (modes > 1)
        return RunMode::kBadCommandLine;
    const bool removal = info.m_bDelPkg || info.m_bSilentDel;
    // A removal finds its installation itself.
    if (removal && info.m_szInstallDir[0] != L'\0')
        return RunMode::kBadCommandLine;
    if (info.m_bSilentDel)
        return RunMode::kSilentRemoval;
    if (info.m_bDelPkg)
        return RunMode::kUninstallWizard;
    if (info.m_bSilent)
        return RunMode::kSilentInstall;
    return RunMode::kInstallWizard;
}

void DescribeBadCommandLine(const SetupCommandLineInfo& info, wchar_t (&text)[320]) {
    if (info.m_szProblem[0] != L'\0')
        CopyInto(text, info.m_szProblem);
    else if (info.m_szInstallDir[0] != L'\0' && (info.m_bDelPkg || info.m_bSilentDel))
        CopyInto(text, L"A removal finds its installation itself: \"/D=\" is only for an install.");
    else
        CopyInto(text, L"Only one of \"s\", \"delpkg\" and \"SilentDel\" can be given.");
}

// The command-line parser: splits by the Windows rules and hands each argument to ParseParam.
#pragma once

#include <windows.h>

class CCommandLineInfo {
public:
    CCommandLineInfo() = default;
    virtual ~CCommandLineInfo() = default;
    CCommandLineInfo(const CCommandLineInfo&) = delete;
    CCommandLineInfo& operator=(const CCommandLineInfo&) = delete;

    // Called once per argument after the program name. bFlag is TRUE when one leading "-" or "/"
    // was removed from pszParam; bLast is TRUE for the last argument.
    virtual void ParseParam(const wchar_t* pszParam, BOOL bFlag, BOOL bLast) = 0;
};

// Splits commandLine (program name first) by the Windows rules: blanks separate, double quotes
// group, and feeds every argument after the program name to info.
void ParseCommandLineInto(const wchar_t* commandLine, CCommandLineInfo& info);

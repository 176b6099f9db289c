#include "framework/command_line_info.h"

#include "config/system_libraries.h"

void ParseCommandLineInto(const wchar_t* commandLine, CCommandLineInfo& info) {
    int count = 0;
    LPWSTR* arguments = SplitCommandLine(commandLine, &count);
    if (arguments == nullptr)
        return;
    for (int i = 1; i < count; ++i) {
        const wchar_t* argument = arguments[i];
        BOOL isFlag = FALSE;
        if (argument[0] == L'-' || argument[0] == L'/') {
            isFlag = TRUE;
            ++argument;
        }
        info.ParseParam(argument, isFlag, i == count - 1);
    }
    LocalFree(arguments);
}

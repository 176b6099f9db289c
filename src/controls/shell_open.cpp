#include "controls/shell_open.h"

#include "config/system_libraries.h"

namespace {

void ShellExecuteOpen(const wchar_t* verb, const wchar_t* target) {
    OpenWithShell(verb, target);
}

ShellOpenFunction g_open = ShellExecuteOpen;

} // namespace

void ShellOpen(const wchar_t* verb, const wchar_t* target) {
    g_open(verb, target);
}

ShellOpenFunction SetShellOpenFunction(ShellOpenFunction function) {
    ShellOpenFunction previous = g_open;
    g_open = function ? function : ShellExecuteOpen;
    return previous;
}

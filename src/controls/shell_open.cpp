#include "controls/shell_open.h"

#include <shellapi.h>

namespace {

void ShellExecuteOpen(const wchar_t* verb, const wchar_t* target) {
    ShellExecuteW(nullptr, verb, target, nullptr, nullptr, SW_SHOWNORMAL);
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

// The RAID manager application as the setup program sees it: one window titled with the
// application name of the distribution it was installed from (the setup.ini that the installer
// left in the Uninstall folder beside it). "min" starts it minimised, as the logon entry does.
#include "main_window.h"

#include "config/install_config.h"
#include "config/paths.h"
#include "config/text.h"

#include <shellapi.h>

namespace {

// The application name: [Startup] AppName of <own folder>\Uninstall\setup.ini, or the default.
void ReadApplicationName(wchar_t (&name)[MAX_PATH]) {
    wchar_t programPath[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, programPath, MAX_PATH);
    wchar_t programFolder[MAX_PATH] = {};
    if (length > 0 && length < MAX_PATH)
        GetFolderOfPath(programPath, programFolder);
    wchar_t settingsFolder[MAX_PATH] = {};
    // Without a folder that fits, the name that cannot exist makes the default apply.
    if (programFolder[0] == L'\0' || !FormatInto(settingsFolder, L"%lsUninstall\\", programFolder))
        CopyInto(settingsFolder, L"\\\\?\\nul\\");
    InstallConfig config;
    ReadSetupIni(settingsFolder, &config);
    CopyInto(name, config.szAppName);
}

bool StartsMinimised() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr)
        return false;
    bool minimised = false;
    for (int i = 1; i < count; ++i)
        minimised = minimised || EqualsAsciiNoCase(arguments[i], L"min");
    LocalFree(arguments);
    return minimised;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    wchar_t title[MAX_PATH] = {};
    ReadApplicationName(title);
    const HWND window =
        CreateMainWindow(instance, title, StartsMinimised() ? SW_SHOWMINNOACTIVE : showCommand);
    if (window == nullptr)
        return 1;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

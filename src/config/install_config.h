// The settings of one run, read from setup.ini beside the program.
#pragma once

#include <windows.h>

struct InstallConfig {
    wchar_t szInstallDir[MAX_PATH];    // install folder, no trailing backslash
    wchar_t szAppFileName[MAX_PATH];   // file name of the application's program
    wchar_t szAppName[MAX_PATH];       // display name, window title, shortcut and Run value name
    wchar_t szCompanyName[MAX_PATH];   // publisher in the installed-programs list
    wchar_t szAppFolderName[MAX_PATH]; // last part of the install folder, installed-programs key
    wchar_t szVersion[MAX_PATH];       // version in the installed-programs list
    int bLaunchInSilentMode;           // start the application after a silent install
};

extern const wchar_t kSettingsFileName[]; // "setup.ini"
extern const wchar_t kDefaultAppName[];   // also the wizard's caption default
extern const wchar_t kStartupSection[];
extern const wchar_t kAppNameKey[];

// Fills config from "setup.ini" in szSetupDir (which ends with a backslash). A missing file or key
// gives the default; a key present with an empty value gives an empty field.
void ReadSetupIni(const wchar_t* szSetupDir, InstallConfig* config);

// The programs folder of this system below the root of the Windows folder, followed by
// folderName: C:\Program Files\BRONDL, or C:\Program Files (x86)\BRONDL under WOW64.
// False (and an empty buffer) when it does not fit.
bool FormatInstallDir(const wchar_t* folderName, wchar_t* installDir, size_t capacity);

// HKLM path of ...\Windows\CurrentVersion\ in this process's registry view, with a trailing
// backslash.
const wchar_t* RegistryBasePath();

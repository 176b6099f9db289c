// The files that the install copies and the removal deletes, and the lists of paths formed from
// them for one installation.
#pragma once

#include "config/install_config.h"

#include <vector>

// Twenty names, each a zero-padded array of 50 characters: rows 0 to 12 the language libraries,
// rows 13 to 19 the application's optional images.
constexpr int kFileTableRows = 20;
constexpr int kFileTableNameLength = 50;
extern const wchar_t SetupFileTable[kFileTableRows][kFileTableNameLength];

// The language libraries that go with the uninstaller (English, both Chinese, Japanese): rows
// kFirstUninstallLanguageRow up to, not including, kEndUninstallLanguageRow.
constexpr int kFirstUninstallLanguageRow = 0;
constexpr int kEndUninstallLanguageRow = 4;
// The application's optional images.
constexpr int kFirstImageRow = 13;
constexpr int kEndImageRow = 20;

extern const wchar_t kUninstallFolderName[];   // "Uninstall"
extern const wchar_t kUninstallerFileName[];   // "setup.exe"
extern const wchar_t kApplicationFolderName[]; // "Application", in the distribution
extern const wchar_t kAppLibraryFileName[];    // "mingwm10.dll"
extern const wchar_t kServiceToolFileName[];   // "REriDezaz.exe"
extern const wchar_t kAppDataFileName[];       // "Cfg.KV", written by the application itself

// What the install does when a file is missing from the distribution.
enum class CopyRule {
    kRequired,  // checked before anything changes: the install cannot do without it
    kIfPresent, // optional: copied only when the distribution has it
};

// One copy of the install.
struct FileCopy {
    wchar_t szSource[MAX_PATH];
    wchar_t szTarget[MAX_PATH];
    CopyRule rule;
};

// The first path that did not fit its buffer: a file name and the folder it was to go below.
// Both point into the inputs of the list.
struct PathOverflow {
    const wchar_t* folder = nullptr;
    const wchar_t* name = nullptr;
};

// The install's copies from szSetupDir (ending with a backslash) into config.szInstallDir, in
// their order; the service tool only when withServiceTool. False when a path does not fit its
// buffer; overflow then tells which.
bool ListInstallCopies(const wchar_t* szSetupDir, const InstallConfig& config, bool withServiceTool,
                       std::vector<FileCopy>* copies, PathOverflow* overflow);

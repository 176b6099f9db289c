#include "config/install_config.h"

#include "config/globals.h"
#include "config/paths.h"
#include "config/text.h"

#include <cstring>

const wchar_t kSettingsFileName[] = L"setup.ini";
const wchar_t kDefaultAppName[] = L"Korvane HW RAID Manager";
const wchar_t kStartupSection[] = L"Startup";
const wchar_t kAppNameKey[] = L"AppName";

namespace {

const wchar_t kCustomSection[] = L"Customized_Setting";
const wchar_t kNoSettingsFile[] = L"\\\\?\\nul\\setup.ini";

// Reads one text into field. Returns true when the read yielded at least one character, in
// which case field holds it; otherwise field keeps its empty text.
bool ReadText(const wchar_t* iniPath, const wchar_t* section, const wchar_t* key,
              const wchar_t* defaultValue, wchar_t (&field)[MAX_PATH]) {
    wchar_t value[MAX_PATH] = {};
    const DWORD length =
        GetPrivateProfileStringW(section, key, defaultValue, value, MAX_PATH, iniPath);
    if (length == 0)
        return false;
    return CopyInto(field, value);
}

} // namespace

bool FormatInstallDir(const wchar_t* folderName, wchar_t* installDir, size_t capacity) {
    wchar_t windowsDir[MAX_PATH] = {};
    wchar_t systemRoot[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryW(windowsDir, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        installDir[0] = L'\0';
        return false;
    }
    GetFolderOfPath(windowsDir, systemRoot);
    const wchar_t* programsFolder = g_bWow64 ? L"Program Files (x86)" : L"Program Files";
    return FormatText(installDir, capacity, L"%ls%ls\\%ls", systemRoot, programsFolder, folderName);
}

void ReadSetupIni(const wchar_t* szSetupDir, InstallConfig* config) {
    std::memset(config, 0, sizeof(*config));

    // Without a path that fits, the file counts as absent: a name that cannot exist makes every
    // setting take its default.
    wchar_t iniPath[MAX_PATH] = {};
    if (!FormatInto(iniPath, L"%ls%ls", szSetupDir, kSettingsFileName))
        CopyInto(iniPath, kNoSettingsFile);

    if (ReadText(iniPath, kCustomSection, L"APPFolderName", L"BRONDL", config->szAppFolderName))
        FormatInstallDir(config->szAppFolderName, config->szInstallDir, MAX_PATH);
    ReadText(iniPath, kCustomSection, L"APPFileName", L"DIVodeZivar.exe", config->szAppFileName);
    ReadText(iniPath, kStartupSection, kAppNameKey, kDefaultAppName, config->szAppName);
    ReadText(iniPath, kStartupSection, L"CompanyName", L"Korvane Technology Corp.",
             config->szCompanyName);
    ReadText(iniPath, kStartupSection, L"Version", L"1.00.00", config->szVersion);

    const UINT launch = GetPrivateProfileIntW(kCustomSection, L"LaunchAPInSilentMode", 0, iniPath);
    config->bLaunchInSilentMode = launch != 0 ? 1 : 0;
}

const wchar_t* RegistryBasePath() {
    return g_bWow64 ? L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\"
                    : L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\";
}

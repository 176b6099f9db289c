#include "engine/file_table.h"

#include "config/text.h"

#include <cwchar>

const wchar_t SetupFileTable[kFileTableRows][kFileTableNameLength] = {
    L"setupENU.dll",    L"setupCHT.dll", L"setupCHS.dll",    L"setupJPN.dll", L"setupKOR.dll",
    L"setupFRA.dll",    L"setupDEU.dll", L"setupITA.dll",    L"setupRUS.dll", L"setupESN.dll",
    L"setupSVE.dll",    L"setupNLD.dll", L"setupPTB.dll",    L"center.gif",   L"speed_left.gif",
    L"speed_right.gif", L"Company.bmp",  L"RaidAPTitle.bmp", L"Raidlogo.png", L"aboutTitle.bmp",
};

const wchar_t kUninstallFolderName[] = L"Uninstall";
const wchar_t kUninstallerFileName[] = L"setup.exe";
const wchar_t kApplicationFolderName[] = L"Application";
const wchar_t kAppLibraryFileName[] = L"mingwm10.dll";
const wchar_t kServiceToolFileName[] = L"REriDezaz.exe";
const wchar_t kAppDataFileName[] = L"Cfg.KV";

namespace {

// Remembers the first path that did not fit.
class OverflowRecord {
public:
    explicit OverflowRecord(PathOverflow* overflow) : m_overflow(overflow) {
        if (m_overflow != nullptr)
            *m_overflow = PathOverflow();
    }

    void Check(bool fits, const wchar_t* folder, const wchar_t* name) {
        if (fits || !m_allFit)
            return;
        m_allFit = false;
        if (m_overflow != nullptr)
            *m_overflow = PathOverflow{folder, name};
    }

    bool AllFit() const { return m_allFit; }

private:
    PathOverflow* m_overflow;
    bool m_allFit = true;
};

// Forms the paths of the install's copies into the list.
class CopyListBuilder {
public:
    CopyListBuilder(const wchar_t* setupDir, const wchar_t* installDir,
                    std::vector<FileCopy>* copies, OverflowRecord* overflow)
        : m_setupDir(setupDir), m_installDir(installDir), m_copies(copies), m_overflow(overflow) {}

    // <setup folder>name (or sourceName) -> <install folder>\Uninstall\name
    void ToUninstaller(const wchar_t* name, CopyRule rule, const wchar_t* sourceName = nullptr) {
        FileCopy copy = {};
        copy.rule = rule;
        sourceName = sourceName != nullptr ? sourceName : name;
        m_overflow->Check(FormatInto(copy.szSource, L"%ls%ls", m_setupDir, sourceName), m_setupDir,
                          sourceName);
        m_overflow->Check(
            FormatInto(copy.szTarget, L"%ls\\%ls\\%ls", m_installDir, kUninstallFolderName, name),
            m_installDir, name);
        m_copies->push_back(copy);
    }

    // <setup folder>Application\name -> <install folder>\name
    void ToInstallDir(const wchar_t* name, CopyRule rule) {
        FileCopy copy = {};
        copy.rule = rule;
        m_overflow->Check(
            FormatInto(copy.szSource, L"%ls%ls\\%ls", m_setupDir, kApplicationFolderName, name),
            m_setupDir, name);
        m_overflow->Check(FormatInto(copy.szTarget, L"%ls\\%ls", m_installDir, name), m_installDir,
                          name);
        m_copies->push_back(copy);
    }

private:
    const wchar_t* m_setupDir;
    const wchar_t* m_installDir;
    std::vector<FileCopy>* m_copies;
    OverflowRecord* m_overflow;
};

// The file name of the running program when it lies in folder (which ends with a backslash).
bool RunningProgramIn(const wchar_t* folder, wchar_t (&name)[MAX_PATH]) {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    const size_t folderLength = wcslen(folder);
    if (length == 0 || length >= MAX_PATH || length <= folderLength ||
        wcschr(path + folderLength, L'\\') != nullptr)
        return false;
    wchar_t ownFolder[MAX_PATH] = {};
    CopyInto(ownFolder, path);
    ownFolder[folderLength] = L'\0';
    return EqualsNameNoCase(ownFolder, folder) && CopyInto(name, path + folderLength);
}

} // namespace

bool ListInstallCopies(const wchar_t* szSetupDir, const InstallConfig& config, bool withServiceTool,
                       std::vector<FileCopy>* copies, PathOverflow* overflow) {
    copies->clear();
    OverflowRecord record(overflow);
    CopyListBuilder list(szSetupDir, config.szInstallDir, copies, &record);

    // The uninstaller: the setup program, its settings and the libraries of its wizard. Settings
    // are not needed (missing ones take their defaults, and the removal goes by the record), nor
    // are the libraries for the silent removal.
    // The uninstaller is a copy of the running setup program, whatever it was called on the way
    // (a browser saves a second download as "setup (1).exe"); always "setup.exe" when installed.
    wchar_t ownName[MAX_PATH] = {};
    list.ToUninstaller(kUninstallerFileName, CopyRule::kRequired,
                       RunningProgramIn(szSetupDir, ownName) ? ownName : nullptr);
    list.ToUninstaller(kSettingsFileName, CopyRule::kIfPresent);
    for (int row = kFirstUninstallLanguageRow; row < kEndUninstallLanguageRow; ++row)
        list.ToUninstaller(SetupFileTable[row], CopyRule::kIfPresent);

    // The application.
    list.ToInstallDir(kAppLibraryFileName, CopyRule::kRequired);
    list.ToInstallDir(config.szAppFileName, CopyRule::kRequired);
    for (int row = kFirstImageRow; row < kEndImageRow; ++row)
        list.ToInstallDir(SetupFileTable[row], CopyRule::kIfPresent);
    if (withServiceTool)
        list.ToInstallDir(kServiceToolFileName, CopyRule::kRequired);
    return record.AllFit();
}

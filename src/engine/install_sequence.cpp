// The install sequence: every input checked first, then the files, the shortcuts and the service,
// and the installed-programs entry with the install's record last. Any failure takes back what
// this run did: a first install leaves nothing behind, an install over an earlier one leaves that
// one as it was.
#include "config/globals.h"
#include "config/paths.h"
#include "config/system_facts.h"
#include "config/text.h"
#include "engine/file_table.h"
#include "config/handles.h"
#include "engine/com.h"
#include "engine/input_checks.h"
#include "engine/install_engine.h"
#include "engine/install_undo.h"
#include "engine/process_runner.h"
#include "engine/registration.h"
#include "engine/sequence_steps.h"
#include "engine/service_manager.h"
#include "engine/setup_report.h"
#include "engine/shortcuts.h"

#include <vector>

namespace {

// The service manager's bounds: a service that the tool has registered gets this long to come
// up, and one that setup removes itself this long to stop and go.
constexpr DWORD kServiceStartWaitMs = 10000;
constexpr DWORD kServiceRemoveWaitMs = 30000;

// One of the application's three links, and where it goes.
struct LinkPlan {
    wchar_t szPath[MAX_PATH];
    wchar_t szFolder[MAX_PATH]; // the Start menu folder, or empty for the desktop
};

// The desktop link and the Start menu folder with the application's and the uninstaller's,
// each put in place of an older one kept aside by undo. Their paths go into the record.
bool CreateShortcuts(const InstallConfig& config, InstallUndo* undo, InstallRecord* record,
                     SetupReport& report) {
    wchar_t appPath[MAX_PATH] = {};
    wchar_t uninstallerPath[MAX_PATH] = {};
    LinkPlan desktop = {};
    LinkPlan program = {};
    LinkPlan uninstaller = {};
    // The paths were checked before the first change; the shell gives none only for a folder it
    // does not have, and such a link is passed over.
    FormatInto(appPath, L"%ls\\%ls", config.szInstallDir, config.szAppFileName);
    FormatInto(uninstallerPath, L"%ls\\%ls\\%ls", config.szInstallDir, kUninstallFolderName,
               kUninstallerFileName);
    // The links' file names are the display name, made legal as a file name.
    wchar_t name[MAX_PATH] = {};
    MakeLinkName(config.szAppName, name);
    const bool onDesktop = FormatDesktopLinkPath(name, desktop.szPath);
    const bool inPrograms =
        FormatProgramsPaths(name, name, program.szFolder, program.szPath) &&
        FormatProgramsPaths(name, kUninstallFolderName, uninstaller.szFolder, uninstaller.szPath);

    // Each shortcut brackets its own work with COM; holding COM across the three keeps the shell's
    // libraries loaded between them instead of loading and unloading them three times.
    const ComInitialization com;
    const auto made = [&](bool saved, const wchar_t* linkPath) {
        if (!saved) {
            report.Fail(GetLastError(), L"Fail to create the shortcut \"%ls\"!", linkPath);
            return false;
        }
        report.Step(L"created the shortcut \"%ls\"", linkPath);
        AddUnique(&record->shortcuts, linkPath);
        return true;
    };
    if (onDesktop && !made(undo->MakeRoom(desktop.szPath) && CreateDesktopShortcut(appPath, name),
                           desktop.szPath))
        return false;
    if (!inPrograms)
        return true;
    if (!IsExistingFolder(program.szFolder)) {
        if (!CreateDirectoryW(program.szFolder, nullptr)) {
            report.Fail(GetLastError(), L"Fail to create the folder \"%ls\"!", program.szFolder);
            return false;
        }
        undo->NoteNewFolder(program.szFolder);
    }
    AddUnique(&record->linkFolders, program.szFolder);
    return made(undo->MakeRoom(program.szPath) &&
                    CreateProgramsShortcut(name, appPath, name, nullptr),
                program.szPath) &&
           made(undo->MakeRoom(uninstaller.szPath) &&
                    CreateProgramsShortcut(name, uninstallerPath, kUninstallFolderName, L"delpkg"),
                uninstaller.szPath);
}

// An earlier installation's service holds its program, which is about to be replaced: the tool
// stops and deletes it, and undo installs it again from the tool that undo puts back.
// A service that another installation's copy of the tool has taken over is that installation's:
// it is left alone.
bool RemovePreviousService(const wchar_t* installDir, const wchar_t* toolPath, InstallUndo* undo,
                           SetupReport& report) {
    ToolService previous;
    if (!FindServiceOfProgram(FindToolServices(kServiceToolFileName), toolPath, &previous))
        return true;
    const std::wstring dir = installDir;
    if (QueryServiceState(previous.name.c_str()) == ServiceState::kRunning)
        undo->OnRollback([dir] { RunServiceTool(dir.c_str(), L"-i"); });
    for (const wchar_t* toolSwitch : {L"-k", L"-u"}) {
        if (RunServiceTool(installDir, toolSwitch, &report) == ToolRun::kOverran)
            return false;
    }
    if (!StopAndDeleteService(previous.name.c_str(), kServiceRemoveWaitMs)) {
        report.Fail(GetLastError(), L"The service \"%ls\" could not be removed.",
                    previous.name.c_str());
        return false;
    }
    report.Step(L"removed the earlier installation's service \"%ls\"", previous.name.c_str());
    return true;
}

// After the tool's "-i": the service manager must know a service of the installed tool, and it
// must run. A service that another installation's copy of the tool had registered is given back
// to it by undo; one that this run made is deleted by undo.
bool CheckInstalledService(const wchar_t* toolPath, const std::vector<ToolService>& before,
                           ToolRun run, InstallUndo* undo, InstallRecord* record,
                           SetupReport& report) {
    ToolService service;
    if (FindServiceOfProgram(FindToolServices(kServiceToolFileName), toolPath, &service)) {
        ToolService earlier;
        bool takenOver = false;
        for (const ToolService& candidate : before) {
            if (candidate.name == service.name) {
                earlier = candidate;
                takenOver = true;
            }
        }
        const std::wstring name = service.name;
        if (takenOver && !EqualsNameNoCase(earlier.program.c_str(), toolPath)) {
            // The removal gives it back too, as long as that installation is there.
            const std::wstring commandLine = earlier.commandLine;
            record->serviceTakenFrom = commandLine;
            undo->OnRollback([name, commandLine] {
                RestoreServiceCommandLine(name.c_str(), commandLine.c_str(), true);
            });
        } else {
            undo->OnRollback([name] { StopAndDeleteService(name.c_str(), kServiceRemoveWaitMs); });
        }
        record->service = name;
    }
    if (run == ToolRun::kOverran)
        return false;
    if (record->service.empty() ||
        !WaitForServiceRunning(record->service.c_str(), kServiceStartWaitMs)) {
        report.Fail(0, L"Fail to install the service!");
        return false;
    }
    report.Step(L"the service \"%ls\" runs \"%ls\"%ls", record->service.c_str(), toolPath,
                record->serviceTakenFrom.empty() ? L""
                                                 : L" (taken over from another installation)");
    return true;
}

// The compatibility-assistant entries this installation stands for: the installed program's,
// made here on NT 6, and the running setup program's own, made at its start.
void MarkCompatibility(const wchar_t* appPath, bool serviceScheme, InstallUndo* undo,
                       InstallRecord* record, SetupReport& report) {
    if (serviceScheme) {
        const std::wstring app = appPath;
        if (MarkCompatibilityPersisted(appPath))
            undo->OnRollback([app] { RemoveCompatibilityMark(app.c_str()); });
        if (IsCompatibilityMarked(appPath)) {
            AddUnique(&record->compatMarks, app);
            report.Step(L"marked \"%ls\" for the compatibility assistant", appPath);
        }
    }
    wchar_t ownPath[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, ownPath, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        LowerAsciiInPlace(ownPath);
        if (IsCompatibilityMarked(ownPath))
            AddUnique(&record->compatMarks, ownPath);
    }
}

// The record of the earlier installation that this one replaces keeps what is still there of
// it: files and links it had and this install did not write again stay the installation's.
void KeepWhatRemainsOf(const InstallRecord& previous, InstallRecord* record) {
    for (const std::wstring& file : previous.files) {
        wchar_t path[MAX_PATH] = {};
        if (FormatInto(path, L"%ls\\%ls", record->installDir.c_str(), file.c_str()) &&
            PathExists(path))
            AddUnique(&record->files, file);
    }
    for (const std::wstring& link : previous.shortcuts) {
        if (PathExists(link.c_str()))
            AddUnique(&record->shortcuts, link);
    }
    for (const std::wstring& folder : previous.linkFolders) {
        if (PathExists(folder.c_str()))
            AddUnique(&record->linkFolders, folder);
    }
    for (const std::wstring& folder : previous.folders)
        AddUnique(&record->folders, folder);
    for (const std::wstring& name : previous.runValues)
        AddUnique(&record->runValues, name);
    for (const std::wstring& mark : previous.compatMarks)
        AddUnique(&record->compatMarks, mark);
    if (record->service.empty())
        record->service = previous.service;
    if (record->serviceTakenFrom.empty() &&
        EqualsNameNoCase(record->service.c_str(), previous.service.c_str()))
        record->serviceTakenFrom = previous.serviceTakenFrom;
}

// The install's steps after its checks. serviceScheme: NT 6 registers the service through the
// tool and marks the program for the compatibility assistant; other systems get the Run value.
bool InstallSteps(const wchar_t* szSetupDir, const InstallConfig& config, bool serviceScheme,
                  const InstallRecord& previous, InstallUndo* undo, SetupReport& report) {
    wchar_t appPath[MAX_PATH] = {};
    wchar_t toolPath[MAX_PATH] = {};
    // Both fit: the checks formed the same paths.
    FormatInto(appPath, L"%ls\\%ls", config.szInstallDir, config.szAppFileName);
    FormatInto(toolPath, L"%ls\\%ls", config.szInstallDir, kServiceToolFileName);
    InstallRecord record;
    record.installDir = config.szInstallDir;

    // The running application and an earlier installation's service hold files that are about
    // to be replaced.
    if (!CloseRunningApp(config.szAppName)) {
        report.Fail(ERROR_TIMEOUT,
                    L"The application \"%ls\" did not close. Close it, then run setup again.",
                    config.szAppName);
        return false;
    }
    if (serviceScheme && PathExists(toolPath) &&
        !RemovePreviousService(config.szInstallDir, toolPath, undo, report))
        return false;

    if (!InstallFiles(szSetupDir, config, serviceScheme, undo, &record, report))
        return false;

    // The tool registers and starts the service while the shortcuts are made: neither needs the
    // other, and both take a while (the tool is a process of its own, and so is the service it
    // starts). The install goes on only once the tool has ended.
    std::vector<ToolService> servicesBefore;
    ScopedHandle serviceTool;
    if (serviceScheme) {
        servicesBefore = FindToolServices(kServiceToolFileName);
        serviceTool = StartServiceInstall(config.szInstallDir);
        if (!serviceTool) {
            report.Fail(GetLastError(), L"Fail to install the service!");
            return false;
        }
    }
    const bool linked = CreateShortcuts(config, undo, &record, report);
    if (serviceScheme) {
        const ToolRun run = WaitForServiceTool(&serviceTool, L"-i", &report);
        if (!CheckInstalledService(toolPath, servicesBefore, run, undo, &record, report))
            return false;
    }
    if (!linked)
        return false;

    MarkCompatibility(appPath, serviceScheme, undo, &record, report);
    KeepWhatRemainsOf(previous, &record);
    return WriteRegistration(config, !serviceScheme, record, undo, report);
}

} // namespace

bool RunInstall(const wchar_t* szSetupDir, const InstallConfig& config, SetupReport& report) {
    const bool serviceScheme = g_bWinNT6 != FALSE;
    wchar_t message[kCheckMessageLength] = {};
    InstallRecord previous;
    if (!CheckInstallInputs(szSetupDir, config, serviceScheme, message) ||
        !CheckInstallTarget(config, &previous, message)) {
        report.Fail(0, L"%ls", message);
        return false;
    }
    report.Step(L"install into \"%ls\" from \"%ls\" (%ls%ls)", config.szInstallDir, szSetupDir,
                serviceScheme ? L"with the service" : L"with the Run value",
                previous.installDir.empty() ? L"" : L", over the installation there");
    InstallUndo undo;
    if (!InstallSteps(szSetupDir, config, serviceScheme, previous, &undo, report)) {
        report.Step(L"taking back what this install did");
        undo.Rollback();
        report.Step(L"the machine is as it was before the install");
        return false;
    }
    undo.Commit();
    report.Step(L"install complete");
    return true;
}

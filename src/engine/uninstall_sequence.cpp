// The uninstall sequence: it removes what the installation's record names, in an order that keeps
// the way back open. The service and the running application go first, then the files, then the
// shortcuts and registry values; the installed-programs entry, the uninstaller's shortcut and the
// uninstaller itself go only once everything else is gone. A step that fails ends the removal:
// what was removed stays removed, and the entry and the uninstaller are still there to run it
// again.
#include "config/paths.h"
#include "config/system_facts.h"
#include "config/text.h"
#include "engine/file_table.h"
#include "engine/install_engine.h"
#include "engine/locate_installation.h"
#include "engine/process_runner.h"
#include "engine/registration.h"
#include "engine/sequence_steps.h"
#include "engine/service_manager.h"
#include "engine/setup_report.h"
#include "engine/shortcuts.h"
#include "engine/uninstall_script.h"

#include <cwchar>

namespace {

// A service that setup removes itself gets this long to stop and go.
constexpr DWORD kServiceRemoveWaitMs = 30000;

// The service tool registers one service for every installation: the latest install's copy of
// the tool runs it. A service that another installation's copy has taken over stays, for that
// installation uses it. One that this installation took over from another, still present, is
// given back to it. Otherwise the tool stops and deletes it, and what the tool leaves (or a
// service whose tool went with the install folder) is removed through the service manager.
bool RemoveService(const InstallRecord& record, SetupReport& report) {
    std::wstring program;
    if (record.service.empty() || !QueryServiceProgram(record.service.c_str(), &program))
        return true;
    wchar_t toolPath[MAX_PATH] = {};
    if (!FormatInto(toolPath, L"%ls\\%ls", record.installDir.c_str(), kServiceToolFileName) ||
        !EqualsNameNoCase(program.c_str(), toolPath)) {
        report.Step(L"the service \"%ls\" runs another installation's \"%ls\": it stays",
                    record.service.c_str(), program.c_str());
        return true;
    }
    const bool toolThere = PathExists(toolPath);
    const bool giveBack = !record.serviceTakenFrom.empty() &&
                          IsExistingFile(ProgramOfCommandLine(record.serviceTakenFrom).c_str());
    const wchar_t* dir = record.installDir.c_str();
    if (toolThere && (RunServiceTool(dir, L"-k", &report) == ToolRun::kOverran ||
                      (!giveBack && RunServiceTool(dir, L"-u", &report) == ToolRun::kOverran)))
        return false;
    if (giveBack) {
        if (StopService(record.service.c_str(), kServiceRemoveWaitMs) &&
            RestoreServiceCommandLine(record.service.c_str(), record.serviceTakenFrom.c_str(),
                                      true)) {
            report.Step(L"gave the service \"%ls\" back to \"%ls\"", record.service.c_str(),
                        record.serviceTakenFrom.c_str());
            return true;
        }
        report.Fail(GetLastError(),
                    L"The service \"%ls\" could not be given back to the installation that uses "
                    L"it.",
                    record.service.c_str());
        return false;
    }
    if (!StopAndDeleteService(record.service.c_str(), kServiceRemoveWaitMs)) {
        report.Fail(GetLastError(), L"The service \"%ls\" could not be removed.",
                    record.service.c_str());
        return false;
    }
    report.Step(L"the service \"%ls\" is gone", record.service.c_str());
    return true;
}

bool IsUninstallerLink(const std::wstring& link) {
    const size_t separator = link.find_last_of(L'\\');
    const std::wstring name = link.substr(separator == std::wstring::npos ? 0 : separator + 1);
    wchar_t expected[MAX_PATH] = {};
    return FormatInto(expected, L"%ls.lnk", kUninstallFolderName) &&
           EqualsNameNoCase(name.c_str(), expected);
}

// Deletes the record's links, all but the uninstaller's or only the uninstaller's. A link that
// another installation of the same name records too stays, pointing into that installation.
bool DeleteLinks(const Installation& found, bool uninstallerLinks, SetupReport& report) {
    const wchar_t* installDir = found.record.installDir.c_str();
    bool allGone = true;
    for (const std::wstring& link : found.record.shortcuts) {
        if (IsUninstallerLink(link) != uninstallerLinks)
            continue;
        std::wstring other;
        if (FindOtherInstallationWithShortcut(link, found.keyName.c_str(), &other)) {
            if (MoveShortcutTarget(link.c_str(), installDir, other.c_str())) {
                report.Step(L"the shortcut \"%ls\" stays for \"%ls\"", link.c_str(), other.c_str());
                continue;
            }
        } else if (DeleteFileW(link.c_str()) || !PathExists(link.c_str())) {
            report.Step(L"deleted the shortcut \"%ls\"", link.c_str());
            continue;
        }
        report.Fail(GetLastError(), L"Fail to delete the shortcut \"%ls\"!", link.c_str());
        allGone = false;
    }
    return allGone;
}

// The shortcuts (the uninstaller's excepted), the Run values and the compatibility marks. A mark
// that another installation records too (both installed from one distribution) stays for it.
bool RemoveLinksAndValues(const Installation& found, SetupReport& report) {
    if (!DeleteLinks(found, false, report))
        return false;
    std::vector<std::wstring> ownRunValues;
    std::wstring other;
    for (const std::wstring& name : found.record.runValues) {
        if (!FindOtherInstallationWithRunValue(name, found.keyName.c_str(), &other))
            ownRunValues.push_back(name);
        else if (!MoveRunValueTarget(name, found.record.installDir.c_str(), other.c_str()))
            ownRunValues.push_back(name); // it cannot stay pointing here
    }
    if (!DeleteRunValues(ownRunValues)) {
        report.Fail(0, L"Fail to delete the Run registry value!");
        return false;
    }
    for (const std::wstring& name : ownRunValues)
        report.Step(L"deleted the Run value \"%ls\"", name.c_str());
    for (const std::wstring& mark : found.record.compatMarks) {
        if (!FindOtherInstallationWithMark(mark, found.keyName.c_str(), &other) &&
            RemoveCompatibilityMark(mark.c_str()))
            report.Step(L"removed the compatibility mark of \"%ls\"", mark.c_str());
    }
    return true;
}

// Last: the uninstaller's shortcut, the then empty Start menu folders, the uninstaller (unless it
// is the running program, which leaves that to its script), and the entry itself.
bool RemoveEntry(const Installation& found, SetupReport& report) {
    if (!DeleteLinks(found, true, report))
        return false;
    if (!found.runningInside && !RemoveUninstaller(found.record, report))
        return false;
    for (const std::wstring& folder : found.record.linkFolders)
        RemoveDirectoryW(folder.c_str()); // only when empty: other links keep it
    if (!DeleteInstalledProgramsEntry(found.keyName.c_str())) {
        report.Fail(0, L"Fail to delete the installed-programs entry \"%ls\"!",
                    found.keyName.c_str());
        return false;
    }
    report.Step(L"deleted the installed-programs entry \"%ls\"", found.keyName.c_str());
    return true;
}

// The running application holds its files.
bool CloseApplication(const wchar_t* appName, SetupReport& report) {
    if (CloseRunningApp(appName))
        return true;
    report.Fail(ERROR_TIMEOUT,
                L"The application \"%ls\" did not close. Close it, then run the removal again.",
                appName);
    return false;
}

} // namespace

RemovalOutcome RunUninstall(const wchar_t* szSetupDir, const InstallConfig& config,
                            SetupReport& report) {
    Installation found;
    wchar_t message[kCheckMessageLength] = {};
    if (!LocateInstallation(szSetupDir, config, &found, message)) {
        report.Fail(0, L"%ls", message);
        return RemovalOutcome::kRefused;
    }
    report.Step(L"remove the installation in \"%ls\" (installed-programs entry \"%ls\", %u "
                L"files, %u shortcuts, service \"%ls\")",
                found.record.installDir.c_str(), found.keyName.c_str(),
                static_cast<unsigned>(found.record.files.size()),
                static_cast<unsigned>(found.record.shortcuts.size()), found.record.service.c_str());

    // The uninstaller cannot delete itself: a script does that once it has ended. It is started
    // now, so that the command interpreter starts up while the service tool works; it acts only
    // when told that the removal is complete.
    HANDLE script = nullptr;
    if (found.runningInside) {
        script = StartUninstallScript(UninstallerRemoval{
            found.record.installDir, UninstallerFilesOf(found.record), found.record.folders});
        if (script == nullptr) {
            report.Fail(GetLastError(), L"The self-removal script could not be written into the "
                                        L"programs folder: nothing was removed.");
            return RemovalOutcome::kRefused;
        }
        report.Step(L"started the self-removal script");
    }

    if (!RemoveService(found.record, report) ||
        !CloseApplication(found.record.displayName.c_str(), report) ||
        !RemoveFiles(found.record, report) || !RemoveLinksAndValues(found, report) ||
        !RemoveEntry(found, report)) {
        report.Step(L"the removal stopped: its entry and its uninstaller stay to run it again");
        return RemovalOutcome::kFailed;
    }
    ConfirmUninstallScript(script);
    report.Step(L"removal complete");
    return RemovalOutcome::kRemoved;
}

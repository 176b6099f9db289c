#include "ui/setup_worker.h"

#include "config/install_config.h"
#include "config/text.h"
#include "engine/install_engine.h"
#include "engine/setup_report.h"
#include "framework/message_box.h"
#include "ui/setup_progress.h"

namespace {

// Written just before the thread starts, copied by the worker as its first act.
WorkerParams g_workerParams = {};

// The wizard's report: a failure is shown in a box that belongs to the wizard, and logged.
class WizardReport : public SetupReport {
public:
    WizardReport(RunLog* log, HWND owner) : SetupReport(log), m_owner(owner) {}

protected:
    void Show(const wchar_t* reason) override {
        ShowMessageBox(m_owner, reason, L"Fail", MB_OK | MB_ICONEXCLAMATION);
    }

private:
    HWND m_owner;
};

} // namespace

HANDLE StartSetupWorker(const WorkerParams& params) {
    g_workerParams = params;
    DWORD threadId = 0;
    return CreateThread(nullptr, 0, SetupWorkerProc, &g_workerParams, 0, &threadId);
}

DWORD WINAPI SetupWorkerProc(LPVOID param) {
    const WorkerParams params = *static_cast<const WorkerParams*>(param);
    InstallConfig config = {};
    ReadSetupIni(params.szSetupDir, &config);
    if (params.szInstallDir[0] != L'\0')
        CopyInto(config.szInstallDir, params.szInstallDir);
    WizardReport report(params.pLog, params.hNotifyWnd);

    const WPARAM begin = params.bUninstall ? SP_REMOVE_BEGIN : SP_INSTALL_BEGIN;
    const WPARAM end = params.bUninstall ? SP_REMOVE_END : SP_INSTALL_END;
    PostMessageW(params.hNotifyWnd, WM_SETUP_PROGRESS, begin, 0);
    LPARAM outcome = kSetupFailed;
    if (params.bUninstall) {
        const RemovalOutcome removal = RunUninstall(params.szSetupDir, config, report);
        outcome = removal == RemovalOutcome::kRemoved
                      ? kSetupSucceeded
                      : (removal == RemovalOutcome::kFailed ? kSetupFailed : kSetupRefused);
    } else if (RunInstall(params.szSetupDir, config, report)) {
        outcome = kSetupSucceeded;
    }
    if (params.pszReason != nullptr)
        CopyTextCut(params.pszReason, kReasonLength, report.Reason());
    // The end message is the worker's last act: after it the dialog may end at any time.
    PostMessageW(params.hNotifyWnd, WM_SETUP_PROGRESS, end, outcome);
    return 1;
}

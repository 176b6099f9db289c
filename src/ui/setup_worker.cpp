#include "ui/setup_worker.h"

#include "config/install_config.h"
#include "config/text.h"
#include "engine/install_engine.h"
#include "ui/setup_progress.h"
#include "ui/wizard_dialog.h"

WorkerParams g_workerParams = {};

HANDLE StartSetupWorker(WizardDialog* dialog, BOOL bUninstall) {
    if (!CopyInto(g_workerParams.szSetupDir, dialog->GetSetupDir()))
        return nullptr;
    g_workerParams.hNotifyWnd = dialog->GetSafeHwnd();
    g_workerParams.bUninstall = bUninstall;
    DWORD threadId = 0;
    return CreateThread(nullptr, 0, SetupWorkerProc, &g_workerParams, 0, &threadId);
}

DWORD WINAPI SetupWorkerProc(LPVOID param) {
    const WorkerParams params = *static_cast<const WorkerParams*>(param);
    InstallConfig config = {};
    ReadSetupIni(params.szSetupDir, &config);

    if (params.bUninstall) {
        PostMessageW(params.hNotifyWnd, WM_SETUP_PROGRESS, SP_REMOVE_BEGIN, 0);
        const RemovalOutcome outcome = RunUninstall(params.szSetupDir, config);
        // The end message is the worker's last act: after it the dialog may end at any time.
        PostMessageW(params.hNotifyWnd, WM_SETUP_PROGRESS, SP_REMOVE_END,
                     outcome == RemovalOutcome::kRemoved
                         ? kSetupSucceeded
                         : (outcome == RemovalOutcome::kFailed ? kSetupFailed : kSetupRefused));
        return 1;
    }
    PostMessageW(params.hNotifyWnd, WM_SETUP_PROGRESS, SP_INSTALL_BEGIN, 0);
    const BOOL succeeded = RunInstall(params.szSetupDir, config);
    PostMessageW(params.hNotifyWnd, WM_SETUP_PROGRESS, SP_INSTALL_END,
                 succeeded ? kSetupSucceeded : kSetupFailed);
    return 1;
}

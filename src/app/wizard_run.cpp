// The wizard run of start-up: the dialog, then the application when the user asked for it.
#include "app/exit_codes.h"
#include "app/run_modes.h"
#include "config/globals.h"
#include "framework/win_app.h"
#include "ui/wizard_dialog.h"

namespace {

// Deployment tools read the outcome from the exit code, whichever button ended the wizard.
int ExitCodeOf(const WizardDialog& wizard, INT_PTR result) {
    if (result == -1)
        return kExitFailure; // the window could not be made
    switch (wizard.GetState()) {
    case WizardDialog::State::kFinished:
        return kExitSuccess;
    case WizardDialog::State::kReady:
        return kExitUserLeft;
    case WizardDialog::State::kInProgress:
    case WizardDialog::State::kFailed:
        break;
    }
    return kExitFailure;
}

} // namespace

int RunWizard(const wchar_t* szSetupDir, BOOL bUninstall, const wchar_t* installDir, RunLog* log) {
    WizardDialog wizard(szSetupDir, bUninstall, nullptr);
    wizard.SetRunOptions(installDir, log);
    CWinApp* app = AfxGetApp();
    if (app != nullptr)
        app->m_pMainWnd = &wizard;
    const INT_PTR result = wizard.DoModal();
    if (app != nullptr)
        app->m_pMainWnd = nullptr;

    if (result == IDOK && g_bLaunchApp)
        LaunchInstalledApp(szSetupDir, nullptr, installDir);
    return ExitCodeOf(wizard, result);
}

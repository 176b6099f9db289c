// The wizard's work: the action button starts the worker, whose messages move the dialog from
// ready through in progress to finished or failed; the timer moves the bar meanwhile.
#include "ui/wizard_dialog.h"

#include "res/resource.h"
#include "ui/setup_progress.h"
#include "ui/setup_worker.h"

namespace {
const UINT kProgressPeriodMs = 200;
const int kProgressStep = 5;
const int kProgressHold = 95; // the bar measures time: it waits here for the end code
} // namespace

void WizardDialog::OnActionButton() {
    if (m_bWorkerStarted || m_state != State::Ready)
        return;
    // Disabled at the click itself: a second click, or Cancel, before the worker's first
    // message would start a second worker or cut the first one off.
    DisableEndingButtons();
    HANDLE worker = StartSetupWorker(this, m_bUninstall);
    if (worker == nullptr) {
        m_btnAction.EnableWindow(TRUE);
        m_btnCancel.EnableWindow(TRUE);
        m_btnClose.EnableWindow(TRUE);
        return;
    }
    m_bWorkerStarted = TRUE;
    CloseHandle(worker); // nothing waits for the worker: its end message says it all
}

LRESULT WizardDialog::OnSetupProgress(WPARAM wParam, LPARAM lParam) {
    switch (wParam & 0xFF) {
    case SP_INSTALL_BEGIN:
        ShowWorkBegun(FALSE);
        break;
    case SP_REMOVE_BEGIN:
        ShowWorkBegun(TRUE);
        break;
    case SP_INSTALL_END:
        ShowWorkEnded(FALSE, lParam == kSetupSucceeded);
        break;
    case SP_REMOVE_END:
        ShowWorkEnded(TRUE, lParam == kSetupSucceeded);
        break;
    case SP_INSTALL_FAILED:
        ShowWorkFailed(FALSE);
        break;
    case SP_REMOVE_FAILED:
        ShowWorkFailed(TRUE);
        break;
    default:
        break;
    }
    return 0;
}

void WizardDialog::ShowWorkBegun(BOOL bRemoval) {
    m_progress.SetRange(0, 100);
    m_progress.SetStep(kProgressStep);
    m_progress.SetPos(0);
    m_progress.ShowWindow(SW_SHOW);
    DisableEndingButtons();
    SetStateTexts(bRemoval ? kTextRemoveRunning : kTextInstallRunning,
                  bRemoval ? kTextRemovingFiles : kTextCopyingFiles);
    SetTimer(IDT_PROGRESS, kProgressPeriodMs);
    m_state = State::InProgress;
}

void WizardDialog::ShowWorkEnded(BOOL bRemoval, BOOL bSucceeded) {
    KillTimer(IDT_PROGRESS);
    UINT heading = bRemoval ? kTextRemoveFailed : kTextInstallFailed;
    if (bSucceeded) {
        m_progress.SetPos(100);
        if (bRemoval) {
            heading = kTextRemoveDone;
        } else {
            m_bInstallDone = TRUE;
            m_progress.ShowWindow(SW_HIDE);
            m_chkLaunch.ShowWindow(SW_SHOW);
            m_chkLaunch.SetCheckState(1);
            heading = kTextInstallDone;
        }
    }
    SetStateTexts(heading, kTextClickFinish);
    ShowFinishingButtons();
    m_state = bSucceeded ? State::Finished : State::Failed;
}

// A failure code: the bar and its timer are left as they are.
void WizardDialog::ShowWorkFailed(BOOL bRemoval) {
    SetStateTexts(bRemoval ? kTextRemoveFailed : kTextInstallFailed, kTextClickFinish);
    ShowFinishingButtons();
    m_state = State::Failed;
}

void WizardDialog::SetStateTexts(UINT headingId, UINT descriptionId) {
    wchar_t heading[kLongTextLength] = {};
    wchar_t description[kLongTextLength] = {};
    LoadWizardText(headingId, heading);
    LoadWizardText(descriptionId, description);
    m_lblHeading.Caption(heading);
    m_lblDescription.Caption(description);
}

void WizardDialog::DisableEndingButtons() {
    m_btnAction.EnableWindow(FALSE);
    m_btnCancel.EnableWindow(FALSE);
    m_btnClose.EnableWindow(FALSE);
}

void WizardDialog::ShowFinishingButtons() {
    m_btnAction.ShowWindow(SW_HIDE);
    m_btnCancel.EnableWindow(FALSE);
    m_btnClose.EnableWindow(TRUE);
    wchar_t finish[kButtonTextLength] = {};
    LoadWizardText(kTextFinish, finish);
    m_btnFinish.SetWindowText(finish);
    m_btnFinish.ShowWindow(SW_SHOW);
}

void WizardDialog::OnTimer(UINT_PTR id) {
    if (id == IDT_PROGRESS && m_progress.GetPos() < kProgressHold)
        m_progress.StepIt();
    Default();
}

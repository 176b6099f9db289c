// The wizard's work: the action button starts the worker, whose messages move the dialog from
// ready through in progress to finished or failed; the timer moves the bar meanwhile.
#include "ui/wizard_dialog.h"

#include "config/text.h"
#include "res/resource.h"
#include "ui/setup_progress.h"
#include "ui/setup_worker.h"
#include "ui/text_fit.h"

namespace {
const UINT kProgressPeriodMs = 200;
const int kProgressStep = 5;
const int kProgressHold = 95; // the bar measures time: it waits here for the end code
} // namespace

void WizardDialog::OnActionButton() {
    if (m_bWorkerStarted || m_state != State::kReady)
        return;
    // Disabled at the click itself: a second click, or Cancel, before the worker's first
    // message would start a second worker or cut the first one off.
    DisableEndingButtons();
    WorkerParams params = {};
    CopyInto(params.szSetupDir, m_szSetupDir);
    CopyInto(params.szInstallDir, m_szInstallDir);
    params.hNotifyWnd = GetSafeHwnd();
    params.bUninstall = m_bUninstall;
    params.pLog = m_pLog;
    params.pszReason = m_szFailureReason;
    HANDLE worker = StartSetupWorker(params);
    if (worker == nullptr) {
        m_btnAction.EnableWindow(TRUE);
        m_btnCancel.EnableWindow(TRUE);
        m_btnClose.EnableWindow(TRUE);
        FocusDefaultButton(m_btnAction);
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
        ShowWorkEnded(FALSE, lParam == kSetupSucceeded, m_szFailureReason);
        break;
    case SP_REMOVE_END:
        ShowWorkEnded(TRUE, lParam == kSetupSucceeded, m_szFailureReason);
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
    m_state = State::kInProgress;
}

void WizardDialog::ShowWorkEnded(BOOL bRemoval, BOOL bSucceeded, const wchar_t* reason) {
    KillTimer(IDT_PROGRESS);
    if (bSucceeded) {
        m_progress.SetPos(100);
        UINT heading = kTextRemoveDone;
        if (!bRemoval) {
            m_bInstallDone = TRUE;
            m_progress.ShowWindow(SW_HIDE);
            m_chkLaunch.ShowWindow(SW_SHOW);
            m_chkLaunch.SetCheckState(1);
            heading = kTextInstallDone;
        }
        SetStateTexts(heading, kTextClickFinish);
    } else {
        m_progress.SetStopped(TRUE); // where the work stopped, in the colour of a failure
        SetFailedTexts(bRemoval, reason);
    }
    ShowFinishingButtons();
    m_state = bSucceeded ? State::kFinished : State::kFailed;
}

// A failure code: as a failed end, without a reason.
void WizardDialog::ShowWorkFailed(BOOL bRemoval) {
    KillTimer(IDT_PROGRESS);
    m_progress.SetStopped(TRUE);
    SetFailedTexts(bRemoval, nullptr);
    ShowFinishingButtons();
    m_state = State::kFailed;
}

// The failed heading, and in the description what failed: the reason, followed by the generic
// "Click Finish to close the wizard." where both fit the box; a reason too long for the box
// alone is cut with "...". Without a reason, the generic text alone.
void WizardDialog::SetFailedTexts(BOOL bRemoval, const wchar_t* reason) {
    if (reason == nullptr || reason[0] == L'\0') {
        SetStateTexts(bRemoval ? kTextRemoveFailed : kTextInstallFailed, kTextClickFinish);
        return;
    }
    wchar_t heading[kLongTextLength] = {};
    wchar_t clickFinish[kLongTextLength] = {};
    wchar_t description[kLongTextLength] = {};
    LoadWizardText(bRemoval ? kTextRemoveFailed : kTextInstallFailed, heading);
    LoadWizardText(kTextClickFinish, clickFinish);

    RECT client = {};
    m_lblDescription.GetClientRect(&client);
    const SIZE box = {client.right - client.left, client.bottom - client.top};
    CClientDC dc(m_lblDescription);
    CSelectGuard font(dc, m_lblDescription.GetLabelFont());
    const UINT format = m_lblDescription.TextFormat(reason);
    const bool fitted = FormatInto(description, L"%ls\r\n%ls", reason, clickFinish) &&
                        TextFitsBox(dc, box, m_lblDescription.TextFormat(description), description);
    if (!fitted) {
        CopyTextCut(description, kLongTextLength, reason);
        CutTextToBox(dc, box, format, description, kLongTextLength);
    }
    m_lblHeading.Caption(heading);
    m_lblDescription.Caption(description);
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
    FocusDefaultButton(m_btnFinish);
}

// Only while the work runs: a tick still queued when the end code came leaves the bar where the
// work stopped.
void WizardDialog::OnTimer(UINT_PTR id) {
    if (id == IDT_PROGRESS && m_state == State::kInProgress && m_progress.GetPos() < kProgressHold)
        m_progress.StepIt();
    Default();
}

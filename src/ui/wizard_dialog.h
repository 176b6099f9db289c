// WizardDialog: the setup program's one window, a captionless skinned popup that offers to
// install or to remove, runs the work on a worker thread and shows its outcome. States: ready,
// in progress, finished, failed. In each state the focus rests on the button that ends it
// (Install or Remove, then Finish), which is also the one Enter presses.
#pragma once

#include "controls/bmp_btn_ctrl.h"
#include "controls/stopped_progress_ctrl.h"
#include "controls/text_label_ctrl.h"
#include "framework/framework.h"
#include "ui/setup_worker.h"
#include "ui/wizard_texts.h"

class RunLog;

class WizardDialog : public CDialog {
public:
    enum class State { kReady, kInProgress, kFinished, kFailed };

    // setupDir ends with a backslash; bUninstall selects the removal texts and sequence.
    WizardDialog(const wchar_t* setupDir, BOOL bUninstall, CWnd* parent);
    ~WizardDialog() override;

    const wchar_t* GetSetupDir() const { return m_szSetupDir; }

    // What the worker gets besides the setup folder: an install folder named on the command line
    // (null or empty: the settings decide) and the run's log (may be null).
    void SetRunOptions(const wchar_t* installDir, RunLog* log);
    State GetState() const { return m_state; }

    // The end of the work on the screen, as an end code of the worker brings it: the finished
    // or the failed state. reason says what failed, in the description; null or empty shows
    // the language's generic text.
    void ShowWorkEnded(BOOL bRemoval, BOOL bSucceeded, const wchar_t* reason);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void OnPaint() override;
    HCURSOR OnQueryDragIcon() override;
    BOOL OnEraseBkgnd(HDC dc) override;
    void OnTimer(UINT_PTR id) override;
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnClose() override;

private:
    // Start-up of the window (wizard_dialog.cpp, wizard_skin.cpp).
    void LoadSkinBitmaps();
    void InitTexts();
    void BuildWindowShape();
    void LayoutControls();
    void CreateControlFont();
    void SetTabOrder();
    void FitTitle();
    // Makes the button the default one and gives it the focus.
    void FocusDefaultButton(CBmpBtnCtrl& button);

    // The buttons and the worker's messages (wizard_progress.cpp).
    void OnActionButton();
    void OnCloseButton();
    LRESULT OnSetupProgress(WPARAM wParam, LPARAM lParam);
    void ShowWorkBegun(BOOL bRemoval);
    void ShowWorkFailed(BOOL bRemoval);
    void ShowFinishingButtons();
    void SetStateTexts(UINT headingId, UINT descriptionId);
    void SetFailedTexts(BOOL bRemoval, const wchar_t* reason);
    void DisableEndingButtons();

    BITMAP m_bmBackground = {};
    CBitmap m_hBackground;
    wchar_t m_szSetupDir[MAX_PATH] = {};
    wchar_t m_szCaption[kCaptionLength] = {};
    size_t m_nNameLength = 0; // the application name's part of the caption
    BOOL m_bUninstall = FALSE;
    BOOL m_bInstallDone = FALSE;
    CBmpBtnCtrl m_chkLaunch;
    CBmpBtnCtrl m_btnClose;
    CTextLabelCtrl m_lblTitle;
    CStoppedProgressCtrl m_progress;
    CTextLabelCtrl m_lblDescription;
    CBmpBtnCtrl m_btnFinish;
    CBmpBtnCtrl m_btnCancel;
    CTextLabelCtrl m_lblHeading;
    CBmpBtnCtrl m_btnAction;
    HICON m_hIcon = nullptr;
    CFont m_fontControls; // the buttons' and the checkbox's font, answered to WM_GETFONT

    State m_state = State::kReady;
    BOOL m_bWorkerStarted = FALSE; // one worker per dialog, from the click on
    wchar_t m_szInstallDir[MAX_PATH] = {};
    RunLog* m_pLog = nullptr;
    wchar_t m_szFailureReason[kReasonLength] = {}; // the worker writes it before its end code
};

// WizardDialog: the setup program's one window, a captionless skinned popup that offers to
// install or to remove, runs the work on a worker thread and shows its outcome. States: ready,
// in progress, finished, failed.
#pragma once

#include "controls/bmp_btn_ctrl.h"
#include "controls/text_label_ctrl.h"
#include "framework/framework.h"
#include "ui/wizard_texts.h"

class WizardDialog : public CDialog {
public:
    enum class State { Ready, InProgress, Finished, Failed };

    // setupDir ends with a backslash; bUninstall selects the removal texts and sequence.
    WizardDialog(const wchar_t* setupDir, BOOL bUninstall, CWnd* parent);
    ~WizardDialog() override;

    const wchar_t* GetSetupDir() const { return m_szSetupDir; }
    State GetState() const { return m_state; }

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

private:
    // Start-up of the window (wizard_dialog.cpp, wizard_skin.cpp).
    void LoadSkinBitmaps();
    void InitTexts();
    void BuildWindowShape();
    void LayoutControls();

    // The buttons and the worker's messages (wizard_progress.cpp).
    void OnActionButton();
    void OnCloseButton();
    LRESULT OnSetupProgress(WPARAM wParam, LPARAM lParam);
    void ShowWorkBegun(BOOL bRemoval);
    void ShowWorkEnded(BOOL bRemoval, BOOL bSucceeded);
    void ShowWorkFailed(BOOL bRemoval);
    void ShowFinishingButtons();
    void SetStateTexts(UINT headingId, UINT descriptionId);
    void DisableEndingButtons();

    BITMAP m_bmBackground = {};
    CBitmap m_hBackground;
    wchar_t m_szSetupDir[MAX_PATH] = {};
    wchar_t m_szCaption[kCaptionLength] = {};
    BOOL m_bUninstall = FALSE;
    BOOL m_bInstallDone = FALSE;
    CBmpBtnCtrl m_chkLaunch;
    CBmpBtnCtrl m_btnClose;
    CTextLabelCtrl m_lblTitle;
    CProgressCtrl m_progress;
    CTextLabelCtrl m_lblDescription;
    CBmpBtnCtrl m_btnFinish;
    CBmpBtnCtrl m_btnCancel;
    CTextLabelCtrl m_lblHeading;
    CBmpBtnCtrl m_btnAction;
    HICON m_hIcon = nullptr;

    State m_state = State::Ready;
    BOOL m_bWorkerStarted = FALSE; // one worker per dialog, from the click on
};

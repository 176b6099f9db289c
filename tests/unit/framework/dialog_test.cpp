// CDialog: a modal run from the template, OnInitDialog binding controls with DDX_Control,
// commands by control id, private messages through WindowProc, OnOK and OnCancel.
#include "framework/common_controls_library.h"
#include "framework/framework.h"
#include "framework_test_ids.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <vector>

namespace {

const UINT WM_TEST_STEP = WM_USER + 100;
const UINT_PTR kSafetyTimer = 99; // ends a dialog that the test failed to drive

class BoundStatic : public CStatic {
public:
    int preSubclassCalls = 0;

protected:
    void PreSubclassWindow() override { ++preSubclassCalls; }
};

// Drives itself: each step posts the next one, so DoModal returns without user input.
class TestDialog : public CDialog {
public:
    enum class Ending { ClickOk, Close };
    explicit TestDialog(Ending ending) : CDialog(IDD_TEST_DIALOG), m_ending(ending) {}

    CButton m_btnGo;
    BoundStatic m_lblText;
    CProgressCtrl m_progress;
    std::vector<BOOL> exchanges;
    std::vector<WPARAM> steps;
    int goClicks = 0;
    int goCheckedInHandler = -1;
    int okCalls = 0;
    int cancelCalls = 0;
    int progressAfterSteps = -1;
    int progressPreviousFromSetPos = -1;
    bool boundInInitDialog = false;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        CDialog::DoDataExchange(pDX);
        exchanges.push_back(pDX->m_bSaveAndValidate);
        DDX_Control(pDX, IDC_TEST_GO, m_btnGo);
        DDX_Control(pDX, IDC_TEST_TEXT, m_lblText);
        DDX_Control(pDX, IDC_TEST_PROGRESS, m_progress);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        boundInInitDialog = m_btnGo.GetSafeHwnd() == GetDlgItem(IDC_TEST_GO) &&
                            m_lblText.GetSafeHwnd() == GetDlgItem(IDC_TEST_TEXT) &&
                            m_progress.GetSafeHwnd() == GetDlgItem(IDC_TEST_PROGRESS);
        m_progress.SetRange(0, 100);
        m_progress.SetStep(10);
        SetTimer(kSafetyTimer, 20000);
        PostMessage(WM_TEST_STEP, 1);
        return TRUE;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_TEST_STEP)
            return CDialog::WindowProc(message, wParam, lParam);
        steps.push_back(wParam);
        if (wParam == 1) {
            m_progress.StepIt();
            m_progress.StepIt();
            progressPreviousFromSetPos = m_progress.SetPos(m_progress.GetPos() + 5);
            progressAfterSteps = m_progress.GetPos();
            m_btnGo.PostMessage(BM_CLICK);
        } else if (m_ending == Ending::ClickOk) {
            ::PostMessageW(GetDlgItem(IDOK), BM_CLICK, 0, 0);
        } else {
            PostMessage(WM_CLOSE);
        }
        return 0;
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_TEST_GO) {
            ++goClicks;
            PostMessage(WM_TEST_STEP, 2);
            return TRUE;
        }
        return CDialog::OnCommand(wParam, lParam);
    }
    void OnTimer(UINT_PTR id) override {
        if (id == kSafetyTimer)
            EndDialog(-2);
    }
    void OnOK() override {
        ++okCalls;
        CDialog::OnOK();
    }
    void OnCancel() override {
        ++cancelCalls;
        CDialog::OnCancel();
    }

private:
    Ending m_ending;
};

class DialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(comctl::InitCommonControlClasses(ICC_PROGRESS_CLASS));
    }
};

TEST_F(DialogTest, OkButtonEndsTheModalRunWithIdOkAfterSavingData) {
    TestDialog dialog(TestDialog::Ending::ClickOk);
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_TRUE(dialog.boundInInitDialog);
    EXPECT_EQ(1, dialog.m_lblText.preSubclassCalls);
    EXPECT_EQ(1, dialog.goClicks);
    EXPECT_EQ(1, dialog.okCalls);
    EXPECT_EQ(0, dialog.cancelCalls);
    // Loaded into the controls at the start, saved from them by OnOK.
    ASSERT_EQ(2u, dialog.exchanges.size());
    EXPECT_FALSE(dialog.exchanges[0]);
    EXPECT_TRUE(dialog.exchanges[1]);
    ASSERT_EQ(2u, dialog.steps.size());
    // The window is gone and the members let go of it.
    EXPECT_EQ(nullptr, dialog.GetSafeHwnd());
    EXPECT_EQ(nullptr, dialog.m_btnGo.GetSafeHwnd());
}

TEST_F(DialogTest, ClosingTheWindowEndsWithIdCancel) {
    TestDialog dialog(TestDialog::Ending::Close);
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(1, dialog.cancelCalls);
    EXPECT_EQ(0, dialog.okCalls);
}

TEST_F(DialogTest, ProgressWrapperStepsAndSetsThePosition) {
    TestDialog dialog(TestDialog::Ending::Close);
    dialog.DoModal();
    EXPECT_EQ(20, dialog.progressPreviousFromSetPos);
    EXPECT_EQ(25, dialog.progressAfterSteps);
}

TEST_F(DialogTest, MissingTemplateReturnsMinusOne) {
    class NoTemplate : public CDialog {
    public:
        NoTemplate() : CDialog(4242) {}
    } dialog;
    EXPECT_EQ(-1, dialog.DoModal());
}

} // namespace

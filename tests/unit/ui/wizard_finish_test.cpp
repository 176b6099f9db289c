// How the wizard ends: Finish records the launch checkbox after a successful install only; after
// the work a close request ends the wizard as Finish does; nothing ends it while the work runs.
#include "wizard_harness.h"

#include "config/globals.h"
#include "res/resource.h"
#include "ui/setup_progress.h"

#include <gtest/gtest.h>

#include <utility>

using namespace wizard_testing;
using testing_support::TempFolder;

namespace {

class WizardFinish : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_language.Loaded());
        g_bLaunchApp = FALSE;
    }
    void TearDown() override { g_bLaunchApp = FALSE; }

    // Runs the wizard to the end code, then plays the given ending.
    INT_PTR RunToEnd(BOOL bUninstall, WPARAM begin, WPARAM end, LPARAM outcome,
                     const WizardScript::Step& ending) {
        WizardDialog wizard(m_folder.Path().c_str(), bUninstall, nullptr);
        WizardScript script(wizard);
        script.Do([begin, end, outcome](WizardDialog&, HWND window) {
            PostProgress(window, begin);
            PostProgress(window, end, outcome);
        });
        script.Do(ending);
        const INT_PTR result = script.Run();
        m_endState = wizard.GetState();
        return result;
    }

    LanguageLibrary m_language{L"ENU"};
    MessageBoxRecorder m_boxes;
    TempFolder m_folder;
    WizardDialog::State m_endState = WizardDialog::State::kReady;
};

TEST_F(WizardFinish, FinishWithTheBoxTickedAsksForTheLaunch) {
    const INT_PTR result = RunToEnd(FALSE, SP_INSTALL_BEGIN, SP_INSTALL_END, 1,
                                    [](WizardDialog&, HWND window) { Click(window, IDOK); });
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(g_bLaunchApp);
}

TEST_F(WizardFinish, FinishOrACloseRequestWithTheBoxClearedDoesNotLaunch) {
    const std::pair<const char*, WizardScript::Step> endings[] = {
        {"Finish", [](WizardDialog&, HWND window) { Click(window, IDOK); }},
        {"WM_CLOSE", [](WizardDialog&, HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); }},
    };
    for (const auto& [name, ending] : endings) {
        SCOPED_TRACE(name);
        g_bLaunchApp = TRUE;
        WizardDialog wizard(m_folder.Path().c_str(), FALSE, nullptr);
        WizardScript script(wizard);
        ReachFinishedInstall(script);
        script.Do([](WizardDialog&, HWND window) { Click(window, IDC_LAUNCH); });
        script.Do([&ending](WizardDialog& dialog, HWND window) {
            EXPECT_EQ(LaunchCheckState(window), 0) << "the click clears the box";
            ending(dialog, window);
        });
        EXPECT_EQ(script.Run(), IDOK);
        EXPECT_FALSE(g_bLaunchApp);
    }
}

TEST_F(WizardFinish, FinishAfterRemovalNeverLaunches) {
    const INT_PTR result = RunToEnd(TRUE, SP_REMOVE_BEGIN, SP_REMOVE_END, 1,
                                    [](WizardDialog&, HWND window) { Click(window, IDOK); });
    EXPECT_EQ(result, IDOK);
    EXPECT_FALSE(g_bLaunchApp);
}

TEST_F(WizardFinish, FinishAfterFailedInstallDoesNotLaunch) {
    const INT_PTR result = RunToEnd(FALSE, SP_INSTALL_BEGIN, SP_INSTALL_END, 0,
                                    [](WizardDialog&, HWND window) { Click(window, IDOK); });
    EXPECT_EQ(result, IDOK);
    EXPECT_FALSE(g_bLaunchApp);
    EXPECT_EQ(m_endState, WizardDialog::State::kFailed);
}

TEST_F(WizardFinish, CloseButtonFinishesTheFinishedWizardWithItsLaunchChoice) {
    const INT_PTR result = RunToEnd(FALSE, SP_INSTALL_BEGIN, SP_INSTALL_END, 1,
                                    [](WizardDialog&, HWND window) { Click(window, IDC_CLOSE); });
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(g_bLaunchApp) << "the ticked box is honoured";
    EXPECT_EQ(m_endState, WizardDialog::State::kFinished);
}

TEST_F(WizardFinish, CloseButtonEndsTheFailedWizard) {
    const INT_PTR result = RunToEnd(TRUE, SP_REMOVE_BEGIN, SP_REMOVE_FAILED, 0,
                                    [](WizardDialog&, HWND window) { Click(window, IDC_CLOSE); });
    EXPECT_EQ(result, IDOK);
    EXPECT_FALSE(g_bLaunchApp);
    EXPECT_EQ(m_endState, WizardDialog::State::kFailed);
}

TEST_F(WizardFinish, CancelCommandAndEscapeEndNothingAfterTheWork) {
    const INT_PTR kLookedAt = 77;
    WizardDialog wizard(m_folder.Path().c_str(), FALSE, nullptr);
    WizardScript script(wizard);
    ReachFinishedInstall(script);
    script.Do([](WizardDialog&, HWND window) {
        const HWND cancel = GetDlgItem(window, IDCANCEL);
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(cancel));
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
    });
    script.Do([](WizardDialog&, HWND window) { EndDialog(window, kLookedAt); });
    EXPECT_EQ(script.Run(), kLookedAt) << "still open after Cancel and Esc";
    EXPECT_FALSE(g_bLaunchApp);
}

TEST_F(WizardFinish, CancelInTheReadyStateLeavesWithoutWork) {
    WizardDialog wizard(m_folder.Path().c_str(), FALSE, nullptr);
    WizardScript script(wizard);
    script.Do([](WizardDialog&, HWND window) { Click(window, IDCANCEL); });
    EXPECT_EQ(script.Run(), IDCANCEL);
    EXPECT_FALSE(script.TimedOut());
    EXPECT_EQ(wizard.GetState(), WizardDialog::State::kReady);
    EXPECT_FALSE(g_bLaunchApp);
}

TEST_F(WizardFinish, CloseButtonInTheReadyStateLeaves) {
    WizardDialog wizard(m_folder.Path().c_str(), TRUE, nullptr);
    WizardScript script(wizard);
    script.Do([](WizardDialog&, HWND window) { Click(window, IDC_CLOSE); });
    EXPECT_EQ(script.Run(), IDCANCEL);
    EXPECT_FALSE(script.TimedOut());
}

TEST_F(WizardFinish, NothingEndsTheWizardWhileTheWorkRuns) {
    WizardDialog wizard(m_folder.Path().c_str(), FALSE, nullptr);
    WizardScript script(wizard);
    script.Do([](WizardDialog&, HWND window) { PostProgress(window, SP_INSTALL_BEGIN); });
    script.Do([](WizardDialog&, HWND window) {
        const HWND cancel = GetDlgItem(window, IDCANCEL);
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(cancel));
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        PostMessageW(window, WM_CLOSE, 0, 0);
        PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
    });
    script.Do([](WizardDialog& dialog, HWND window) {
        EXPECT_TRUE(IsWindow(window));
        EXPECT_EQ(dialog.GetState(), WizardDialog::State::kInProgress);
        PostProgress(window, SP_INSTALL_END, 1);
    });
    script.Do([](WizardDialog&, HWND window) { Click(window, IDOK); });
    EXPECT_EQ(script.Run(), IDOK);
    EXPECT_TRUE(g_bLaunchApp);
}

} // namespace

// The wizard from the keyboard alone: in each state the focus rests on the button that ends it,
// which is also the default one; Tab moves between the enabled controls, Space toggles the
// launch checkbox, Enter presses the default button (or the push button that has the focus), and
// Esc leaves only where Cancel is enabled.
#include "wizard_harness.h"

#include "config/globals.h"
#include "res/resource.h"
#include "ui/setup_progress.h"

#include <gtest/gtest.h>

using namespace wizard_testing;
using testing_support::TempFolder;

namespace {

void ExpectFocusAndDefault(HWND window, int focused, int defaultId) {
    EXPECT_EQ(FocusedId(window), focused);
    EXPECT_EQ(DefaultId(window), defaultId);
}

WizardScript::Step Key(WORD key) {
    return [key](WizardDialog&, HWND window) { PressKey(window, key); };
}

class WizardKeyboard : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_desktop.Entered());
        ASSERT_TRUE(m_language.Loaded());
        g_bLaunchApp = FALSE;
    }
    void TearDown() override { g_bLaunchApp = FALSE; }

    PrivateDesktop m_desktop;
    LanguageLibrary m_language{L"ENU"};
    MessageBoxRecorder m_boxes;
    TempFolder m_folder;
};

TEST_F(WizardKeyboard, ReadyStateTabsBetweenItsButtonsAndEscapeLeaves) {
    WizardDialog wizard(m_folder.Path().c_str(), FALSE, nullptr);
    WizardScript script(wizard);
    script.Do(
        [](WizardDialog&, HWND window) { ExpectFocusAndDefault(window, IDC_ACTION, IDC_ACTION); });
    script.Do(Key(VK_TAB));
    script.Do([](WizardDialog&, HWND window) { EXPECT_EQ(FocusedId(window), IDCANCEL); });
    script.Do(Key(VK_TAB));
    script.Do([](WizardDialog&, HWND window) { EXPECT_EQ(FocusedId(window), IDC_ACTION); });
    script.Do(Key(VK_ESCAPE));
    EXPECT_EQ(script.Run(), IDCANCEL);
    EXPECT_FALSE(script.TimedOut());
    EXPECT_EQ(wizard.GetState(), WizardDialog::State::kReady);
}

TEST_F(WizardKeyboard, EnterPressesTheFocusedPushButton) {
    WizardDialog wizard(m_folder.Path().c_str(), TRUE, nullptr);
    WizardScript script(wizard);
    script.Do(Key(VK_TAB));
    script.Do([](WizardDialog&, HWND window) { EXPECT_EQ(FocusedId(window), IDCANCEL); });
    script.Do(Key(VK_RETURN));
    EXPECT_EQ(script.Run(), IDCANCEL) << "Enter on the focused Cancel cancels";
    EXPECT_EQ(wizard.GetState(), WizardDialog::State::kReady);
}

// Enter starts the real work; the refused settings make it fail. Esc ends nothing after it, Enter
// presses Finish.
TEST_F(WizardKeyboard, EnterStartsTheWorkAndFinishesTheFailedWizard) {
    const std::wstring dir = SetupFolderWith(m_folder, kRefusedSettings);
    WizardDialog wizard(dir.c_str(), FALSE, nullptr);
    WizardScript script(wizard);
    script.Do(Key(VK_RETURN));
    script.WaitFor([](WizardDialog& dialog, HWND) {
        return dialog.GetState() == WizardDialog::State::kFailed;
    });
    script.Do([](WizardDialog&, HWND window) { ExpectFocusAndDefault(window, IDOK, IDOK); });
    script.Do(Key(VK_ESCAPE));
    script.Do(Key(VK_TAB));
    script.Do([](WizardDialog& dialog, HWND window) {
        EXPECT_EQ(dialog.GetState(), WizardDialog::State::kFailed) << "Esc ends nothing here";
        EXPECT_EQ(FocusedId(window), IDOK) << "Finish is the only enabled control";
    });
    script.Do(Key(VK_RETURN));
    EXPECT_EQ(script.Run(), IDOK);
    EXPECT_FALSE(script.TimedOut());
    EXPECT_FALSE(g_bLaunchApp);
}

TEST_F(WizardKeyboard, FinishedInstallTabsToTheCheckboxWhichSpaceClears) {
    WizardDialog wizard(m_folder.Path().c_str(), FALSE, nullptr);
    WizardScript script(wizard);
    ReachFinishedInstall(script);
    script.Do([](WizardDialog&, HWND window) { ExpectFocusAndDefault(window, IDOK, IDOK); });
    script.Do(Key(VK_ESCAPE));
    script.Do(Key(VK_TAB));
    script.Do([](WizardDialog&, HWND window) { EXPECT_EQ(FocusedId(window), IDC_LAUNCH); });
    script.Do(Key(VK_SPACE));
    script.Do([](WizardDialog&, HWND window) {
        EXPECT_EQ(LaunchCheckState(window), 0);
        EXPECT_EQ(FocusedId(window), IDC_LAUNCH);
    });
    script.Do(Key(VK_TAB));
    script.Do([](WizardDialog&, HWND window) { EXPECT_EQ(FocusedId(window), IDOK); });
    script.Do(Key(VK_RETURN));
    EXPECT_EQ(script.Run(), IDOK);
    EXPECT_EQ(wizard.GetState(), WizardDialog::State::kFinished);
    EXPECT_FALSE(g_bLaunchApp) << "the cleared box is honoured";
}

TEST_F(WizardKeyboard, EnterFromTheCheckboxPressesFinishWithTheBoxTicked) {
    WizardDialog wizard(m_folder.Path().c_str(), FALSE, nullptr);
    WizardScript script(wizard);
    ReachFinishedInstall(script);
    script.Do(Key(VK_TAB));
    script.Do(Key(VK_SPACE));
    script.Do(Key(VK_SPACE));
    script.Do([](WizardDialog&, HWND window) {
        EXPECT_EQ(FocusedId(window), IDC_LAUNCH);
        EXPECT_EQ(LaunchCheckState(window), 1) << "ticked again";
    });
    script.Do(Key(VK_RETURN));
    EXPECT_EQ(script.Run(), IDOK);
    EXPECT_TRUE(g_bLaunchApp);
}

TEST_F(WizardKeyboard, NoKeyEndsTheWizardWhileTheWorkRuns) {
    WizardDialog wizard(m_folder.Path().c_str(), FALSE, nullptr);
    WizardScript script(wizard);
    script.Do([](WizardDialog&, HWND window) { PostProgress(window, SP_INSTALL_BEGIN); });
    for (WORD key : {VK_ESCAPE, VK_RETURN, VK_SPACE, VK_TAB, VK_ESCAPE})
        script.Do(Key(key));
    script.Do([](WizardDialog& dialog, HWND window) {
        EXPECT_EQ(dialog.GetState(), WizardDialog::State::kInProgress);
        PostProgress(window, SP_INSTALL_END, kSetupSucceeded);
    });
    script.Do([](WizardDialog&, HWND window) { ExpectFocusAndDefault(window, IDOK, IDOK); });
    script.Do(Key(VK_RETURN));
    EXPECT_EQ(script.Run(), IDOK);
    EXPECT_TRUE(g_bLaunchApp);
}

} // namespace

// The progress bar measures time: every tick of the dialog's timer moves it by 5 up to 95, where
// it waits for the end code; a successful end puts it at 100.
#include "wizard_harness.h"

#include "res/resource.h"
#include "ui/setup_progress.h"

#include <gtest/gtest.h>

#include <vector>

using namespace wizard_testing;
using testing_support::TempFolder;

namespace {

class WizardProgress : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_language.Loaded()); }

    LanguageLibrary m_language{L"ENU"};
    MessageBoxRecorder m_boxes;
    TempFolder m_folder;
};

// Begins the work and takes the clock out of the dialog's hands: the test delivers the ticks.
void BeginWithTestClock(WizardScript& script, WPARAM begin) {
    script.Do([begin](WizardDialog&, HWND window) { PostProgress(window, begin); });
    script.Do([](WizardDialog&, HWND window) {
        EXPECT_TRUE(KillTimer(window, IDT_PROGRESS)) << "the begin code starts the timer";
    });
}

void Tick(HWND window, WPARAM id) {
    SendMessageW(window, WM_TIMER, id, 0);
}

TEST_F(WizardProgress, ClimbsByFiveEveryTickToNinetyFiveAndNoFurther) {
    WizardDialog wizard(m_folder.Path().c_str(), TRUE, nullptr);
    WizardScript script(wizard);
    std::vector<int> positions;
    BeginWithTestClock(script, SP_REMOVE_BEGIN);
    script.Do([&positions](WizardDialog&, HWND window) {
        for (int tick = 0; tick < 25; ++tick) {
            Tick(window, IDT_PROGRESS);
            positions.push_back(ProgressPos(window));
        }
        PostProgress(window, SP_REMOVE_END, 1);
    });
    script.Do([](WizardDialog&, HWND window) {
        EXPECT_EQ(ProgressPos(window), 100) << "a successful end fills the bar";
        EndDialog(window, IDCANCEL);
    });
    script.Run();

    ASSERT_EQ(positions.size(), 25u);
    for (int tick = 0; tick < 25; ++tick) {
        const int expected = tick < 19 ? 5 * (tick + 1) : 95;
        EXPECT_EQ(positions[static_cast<size_t>(tick)], expected) << "after tick " << tick + 1;
    }
}

TEST_F(WizardProgress, JumpsToHundredOnSuccessBeforeNinetyFive) {
    WizardDialog wizard(m_folder.Path().c_str(), TRUE, nullptr);
    WizardScript script(wizard);
    BeginWithTestClock(script, SP_REMOVE_BEGIN);
    script.Do([](WizardDialog&, HWND window) {
        Tick(window, IDT_PROGRESS);
        Tick(window, IDT_PROGRESS);
        EXPECT_EQ(ProgressPos(window), 10);
        PostProgress(window, SP_REMOVE_END, 1);
    });
    script.Do([](WizardDialog&, HWND window) {
        EXPECT_EQ(ProgressPos(window), 100);
        EndDialog(window, IDCANCEL);
    });
    script.Run();
}

TEST_F(WizardProgress, OtherTimersDoNotMoveTheBar) {
    WizardDialog wizard(m_folder.Path().c_str(), FALSE, nullptr);
    WizardScript script(wizard);
    BeginWithTestClock(script, SP_INSTALL_BEGIN);
    script.Do([](WizardDialog&, HWND window) {
        Tick(window, IDT_PROGRESS);
        Tick(window, IDT_PROGRESS + 1);
        Tick(window, 1);
        Tick(window, 0);
        EXPECT_EQ(ProgressPos(window), 5);
        EndDialog(window, IDCANCEL);
    });
    script.Run();
}

// A tick already queued when the work ends does not move the bar any more.
TEST_F(WizardProgress, FailureStopsTheBar) {
    for (WPARAM failure : {SP_INSTALL_FAILED, SP_INSTALL_END}) {
        WizardDialog wizard(m_folder.Path().c_str(), FALSE, nullptr);
        WizardScript script(wizard);
        BeginWithTestClock(script, SP_INSTALL_BEGIN);
        script.Do([failure](WizardDialog&, HWND window) {
            Tick(window, IDT_PROGRESS);
            PostProgress(window, failure, kSetupFailed);
        });
        script.Do([](WizardDialog&, HWND window) {
            Tick(window, IDT_PROGRESS);
            Tick(window, IDT_PROGRESS);
            EXPECT_EQ(ProgressPos(window), 5);
            EndDialog(window, IDCANCEL);
        });
        script.Run();
    }
}

TEST_F(WizardProgress, SuccessfulInstallHidesTheBarAtHundred) {
    WizardDialog wizard(m_folder.Path().c_str(), FALSE, nullptr);
    WizardScript script(wizard);
    BeginWithTestClock(script, SP_INSTALL_BEGIN);
    script.Do([](WizardDialog&, HWND window) {
        Tick(window, IDT_PROGRESS);
        PostProgress(window, SP_INSTALL_END, 1);
    });
    script.Do([](WizardDialog&, HWND window) {
        EXPECT_EQ(ProgressPos(window), 100);
        EXPECT_FALSE(Look(window, IDC_PROGRESS).visible);
        EndDialog(window, IDCANCEL);
    });
    script.Run();
}

} // namespace

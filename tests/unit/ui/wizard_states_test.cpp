// Every row of the wizard's state table, in install and in uninstall mode: texts, buttons,
// progress bar and checkbox as the user sees them in each state.
#include "wizard_harness.h"

#include "res/resource.h"
#include "ui/setup_progress.h"

#include <gtest/gtest.h>

using namespace wizard_testing;
using testing_support::TempFolder;

namespace {

// The Traditional Chinese texts of the language library.
const wchar_t kInstall[] = L"安裝";
const wchar_t kCancel[] = L"取消";
const wchar_t kFinish[] = L"完成";
const wchar_t kInstallReadyDetail[] = L"按一下「安裝」以開始安裝。按一下「取消」結束安裝精靈。";
const wchar_t kInstallReady[] = L"精靈已準備就緒，可以開始安裝了。";
const wchar_t kCopyingFiles[] = L"開始複製檔案";
const wchar_t kInstallDone[] = L"安裝精靈已成功完成安裝了。";
const wchar_t kClickFinish[] = L"按一下「完成」以結束精靈。";
const wchar_t kInstallFailed[] = L"安裝失敗";
const wchar_t kRemove[] = L"移除";
const wchar_t kRemoveReady[] = L"移除所有已安裝功能。";
const wchar_t kRemoveReadyDetail[] = L"按一下「移除」以開始移除。按一下「取消」結束移除精靈。";
const wchar_t kRemovingFiles[] = L"開始移除檔案";
const wchar_t kRemoveFailed[] = L"移除失敗";
const wchar_t kRemoveDone[] = L"移除精靈已成功完成移除";
const wchar_t kInstallRunning[] = L"安裝精靈正在進行中...";
const wchar_t kRemoveRunning[] = L"移除精靈正在進行中...";
const wchar_t kLaunchNow[] = L"立即啟動應用程式";

// Shown means visible and enabled.
void ExpectShown(HWND window, int id) {
    const ControlLook look = Look(window, id);
    EXPECT_TRUE(look.visible) << "control " << id;
    EXPECT_TRUE(look.enabled) << "control " << id;
}

void ExpectVisibleDisabled(HWND window, int id) {
    const ControlLook look = Look(window, id);
    EXPECT_TRUE(look.visible) << "control " << id;
    EXPECT_FALSE(look.enabled) << "control " << id;
}

void ExpectHidden(HWND window, int id) {
    EXPECT_FALSE(Look(window, id).visible) << "control " << id;
}

void ExpectTexts(HWND window, const wchar_t* heading, const wchar_t* description) {
    EXPECT_EQ(Look(window, IDC_HEADING).text, heading);
    EXPECT_EQ(Look(window, IDC_DESCRIPTION).text, description);
}

// Ends the dialog from the script once it has been looked at.
void EndScript(WizardScript& script) {
    script.Do([](WizardDialog&, HWND window) { EndDialog(window, IDCANCEL); });
}

class WizardStates : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_language.Loaded()); }

    LanguageLibrary m_language{L"CHT"};
    MessageBoxRecorder m_boxes;
    TempFolder m_folder;
};

TEST_F(WizardStates, ReadyInInstallMode) {
    WizardDialog wizard(m_folder.Path().c_str(), FALSE, nullptr);
    WizardScript script(wizard);
    script.Do([](WizardDialog& dialog, HWND window) {
        EXPECT_EQ(dialog.GetState(), WizardDialog::State::kReady);
        ExpectTexts(window, kInstallReady, kInstallReadyDetail);
        ExpectShown(window, IDC_ACTION);
        EXPECT_EQ(Look(window, IDC_ACTION).text, kInstall);
        ExpectHidden(window, IDOK);
        EXPECT_EQ(Look(window, IDOK).text, kFinish);
        ExpectShown(window, IDCANCEL);
        EXPECT_EQ(Look(window, IDCANCEL).text, kCancel);
        ExpectShown(window, IDC_CLOSE);
        ExpectHidden(window, IDC_PROGRESS);
        ExpectHidden(window, IDC_LAUNCH);
        EXPECT_EQ(Look(window, IDC_LAUNCH).text, kLaunchNow);
    });
    EndScript(script);
    EXPECT_EQ(script.Run(), IDCANCEL);
    EXPECT_TRUE(m_boxes.Texts().empty());
}

TEST_F(WizardStates, ReadyInUninstallMode) {
    WizardDialog wizard(m_folder.Path().c_str(), TRUE, nullptr);
    WizardScript script(wizard);
    script.Do([](WizardDialog&, HWND window) {
        ExpectTexts(window, kRemoveReady, kRemoveReadyDetail);
        ExpectShown(window, IDC_ACTION);
        EXPECT_EQ(Look(window, IDC_ACTION).text, kRemove);
        ExpectHidden(window, IDOK);
        ExpectShown(window, IDCANCEL);
        ExpectShown(window, IDC_CLOSE);
        ExpectHidden(window, IDC_PROGRESS);
        ExpectHidden(window, IDC_LAUNCH);
        EXPECT_EQ(Look(window, IDC_LAUNCH).text, L"");
    });
    EndScript(script);
    EXPECT_EQ(script.Run(), IDCANCEL);
}

void ExpectInProgress(HWND window) {
    ExpectVisibleDisabled(window, IDC_ACTION);
    ExpectHidden(window, IDOK);
    ExpectVisibleDisabled(window, IDCANCEL);
    ExpectVisibleDisabled(window, IDC_CLOSE);
    EXPECT_TRUE(Look(window, IDC_PROGRESS).visible);
    EXPECT_EQ(ProgressPos(window), 0);
    ExpectHidden(window, IDC_LAUNCH);
}

TEST_F(WizardStates, InProgressInInstallMode) {
    WizardDialog wizard(m_folder.Path().c_str(), FALSE, nullptr);
    WizardScript script(wizard);
    script.Do([](WizardDialog&, HWND window) { PostProgress(window, SP_INSTALL_BEGIN); });
    script.Do([](WizardDialog& dialog, HWND window) {
        KillTimer(window, IDT_PROGRESS); // hold the bar still while it is looked at
        EXPECT_EQ(dialog.GetState(), WizardDialog::State::kInProgress);
        ExpectTexts(window, kInstallRunning, kCopyingFiles);
        ExpectInProgress(window);
    });
    EndScript(script);
    script.Run();
}

TEST_F(WizardStates, InProgressInUninstallMode) {
    WizardDialog wizard(m_folder.Path().c_str(), TRUE, nullptr);
    WizardScript script(wizard);
    script.Do([](WizardDialog&, HWND window) { PostProgress(window, SP_REMOVE_BEGIN); });
    script.Do([](WizardDialog&, HWND window) {
        KillTimer(window, IDT_PROGRESS);
        ExpectTexts(window, kRemoveRunning, kRemovingFiles);
        ExpectInProgress(window);
    });
    EndScript(script);
    script.Run();
}

void ExpectFinishingButtons(HWND window) {
    ExpectHidden(window, IDC_ACTION);
    ExpectShown(window, IDOK);
    EXPECT_EQ(Look(window, IDOK).text, kFinish);
    ExpectVisibleDisabled(window, IDCANCEL);
    ExpectShown(window, IDC_CLOSE);
}

TEST_F(WizardStates, FinishedInInstallMode) {
    WizardDialog wizard(m_folder.Path().c_str(), FALSE, nullptr);
    WizardScript script(wizard);
    ReachFinishedInstall(script);
    script.Do([](WizardDialog& dialog, HWND window) {
        EXPECT_EQ(dialog.GetState(), WizardDialog::State::kFinished);
        ExpectTexts(window, kInstallDone, kClickFinish);
        ExpectFinishingButtons(window);
        ExpectHidden(window, IDC_PROGRESS);
        ExpectShown(window, IDC_LAUNCH);
        EXPECT_EQ(LaunchCheckState(window), 1);
        EXPECT_FALSE(KillTimer(window, IDT_PROGRESS)) << "the timer stops at the end code";
    });
    EndScript(script);
    script.Run();
}

TEST_F(WizardStates, FinishedInUninstallMode) {
    WizardDialog wizard(m_folder.Path().c_str(), TRUE, nullptr);
    WizardScript script(wizard);
    script.Do([](WizardDialog&, HWND window) {
        PostProgress(window, SP_REMOVE_BEGIN);
        PostProgress(window, SP_REMOVE_END, 1);
    });
    script.Do([](WizardDialog& dialog, HWND window) {
        EXPECT_EQ(dialog.GetState(), WizardDialog::State::kFinished);
        ExpectTexts(window, kRemoveDone, kClickFinish);
        ExpectFinishingButtons(window);
        EXPECT_TRUE(Look(window, IDC_PROGRESS).visible);
        EXPECT_EQ(ProgressPos(window), 100);
        ExpectHidden(window, IDC_LAUNCH);
        EXPECT_FALSE(KillTimer(window, IDT_PROGRESS));
    });
    EndScript(script);
    script.Run();
}

// An end code with a failure: the bar keeps its place and visibility, the timer stops.
void PlayFailedEnd(WizardScript& script, WPARAM begin, WPARAM end, LPARAM outcome) {
    script.Do([begin](WizardDialog&, HWND window) { PostProgress(window, begin); });
    script.Do([end, outcome](WizardDialog&, HWND window) {
        KillTimer(window, IDT_PROGRESS);
        SendDlgItemMessageW(window, IDC_PROGRESS, PBM_SETPOS, 35, 0);
        SetTimer(window, IDT_PROGRESS, 60000, nullptr); // running, but never due in the test
        PostProgress(window, end, outcome);
    });
}

TEST_F(WizardStates, FailedEndInInstallMode) {
    WizardDialog wizard(m_folder.Path().c_str(), FALSE, nullptr);
    WizardScript script(wizard);
    PlayFailedEnd(script, SP_INSTALL_BEGIN, SP_INSTALL_END, 0);
    script.Do([](WizardDialog& dialog, HWND window) {
        EXPECT_EQ(dialog.GetState(), WizardDialog::State::kFailed);
        ExpectTexts(window, kInstallFailed, kClickFinish);
        ExpectFinishingButtons(window);
        EXPECT_TRUE(Look(window, IDC_PROGRESS).visible);
        EXPECT_EQ(ProgressPos(window), 35);
        ExpectHidden(window, IDC_LAUNCH);
        EXPECT_FALSE(KillTimer(window, IDT_PROGRESS));
    });
    EndScript(script);
    script.Run();
}

TEST_F(WizardStates, FailedEndInUninstallMode) {
    WizardDialog wizard(m_folder.Path().c_str(), TRUE, nullptr);
    WizardScript script(wizard);
    PlayFailedEnd(script, SP_REMOVE_BEGIN, SP_REMOVE_END, 7);
    script.Do([](WizardDialog& dialog, HWND window) {
        EXPECT_EQ(dialog.GetState(), WizardDialog::State::kFailed);
        ExpectTexts(window, kRemoveFailed, kClickFinish);
        ExpectFinishingButtons(window);
        EXPECT_EQ(ProgressPos(window), 35);
        EXPECT_FALSE(KillTimer(window, IDT_PROGRESS));
    });
    EndScript(script);
    script.Run();
}

// Codes 3 and 6: failed texts and finishing buttons; the bar stops where it was.
void ExpectFailureCode(WizardScript& script, WPARAM begin, WPARAM failure, const wchar_t* heading) {
    PlayFailedEnd(script, begin, failure, 0);
    script.Do([heading](WizardDialog& dialog, HWND window) {
        EXPECT_EQ(dialog.GetState(), WizardDialog::State::kFailed);
        ExpectTexts(window, heading, kClickFinish);
        ExpectFinishingButtons(window);
        EXPECT_TRUE(Look(window, IDC_PROGRESS).visible);
        EXPECT_EQ(ProgressPos(window), 35);
        EXPECT_FALSE(KillTimer(window, IDT_PROGRESS)) << "the timer stops";
    });
    EndScript(script);
}

TEST_F(WizardStates, InstallFailedCode) {
    WizardDialog wizard(m_folder.Path().c_str(), FALSE, nullptr);
    WizardScript script(wizard);
    ExpectFailureCode(script, SP_INSTALL_BEGIN, SP_INSTALL_FAILED, kInstallFailed);
    script.Run();
}

TEST_F(WizardStates, RemoveFailedCode) {
    WizardDialog wizard(m_folder.Path().c_str(), TRUE, nullptr);
    WizardScript script(wizard);
    ExpectFailureCode(script, SP_REMOVE_BEGIN, SP_REMOVE_FAILED, kRemoveFailed);
    script.Run();
}

TEST_F(WizardStates, OnlyTheLowByteOfTheCodeCounts) {
    WizardDialog wizard(m_folder.Path().c_str(), FALSE, nullptr);
    WizardScript script(wizard);
    script.Do([](WizardDialog&, HWND window) { PostProgress(window, 0x101); });
    script.Do([](WizardDialog& dialog, HWND window) {
        KillTimer(window, IDT_PROGRESS);
        EXPECT_EQ(dialog.GetState(), WizardDialog::State::kInProgress);
        ExpectTexts(window, kInstallRunning, kCopyingFiles);
        ExpectInProgress(window);
    });
    EndScript(script);
    script.Run();
}

TEST_F(WizardStates, UnknownCodesChangeNothing) {
    WizardDialog wizard(m_folder.Path().c_str(), FALSE, nullptr);
    WizardScript script(wizard);
    script.Do([](WizardDialog&, HWND window) {
        PostProgress(window, 0, 1);
        PostProgress(window, 7, 1);
        PostProgress(window, 0x200, 1);
    });
    script.Do([](WizardDialog& dialog, HWND window) {
        EXPECT_EQ(dialog.GetState(), WizardDialog::State::kReady);
        ExpectTexts(window, kInstallReady, kInstallReadyDetail);
        ExpectShown(window, IDC_ACTION);
        ExpectShown(window, IDCANCEL);
        ExpectShown(window, IDC_CLOSE);
        ExpectHidden(window, IDOK);
        ExpectHidden(window, IDC_PROGRESS);
        ExpectHidden(window, IDC_LAUNCH);
        EXPECT_FALSE(KillTimer(window, IDT_PROGRESS));
    });
    EndScript(script);
    script.Run();
}

} // namespace

// The worker through the real action button: one worker per dialog, and the sequence's real
// outcome in its end message. The settings here are refused by the sequences' input checks, so
// nothing on the machine changes.
#include "wizard_harness.h"

#include "engine/failure_report.h"
#include "res/resource.h"
#include "ui/setup_progress.h"

#include <gtest/gtest.h>

#include <vector>

using namespace wizard_testing;
using testing_support::TempFolder;

namespace {

const wchar_t kRefusedSettings[] =
    L"[Startup]\r\nAppName=Refused\r\n[Customized_Setting]\r\nAPPFolderName=..\r\n"
    L"APPFileName=DIVodeZivar.exe\r\n";

// Every WM_SETUP_PROGRESS that the dialog's thread takes from its queue.
std::vector<std::pair<WPARAM, LPARAM>> g_seen;
HHOOK g_hook = nullptr;

LRESULT CALLBACK SeeMessage(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && message->message == WM_SETUP_PROGRESS)
        g_seen.emplace_back(message->wParam, message->lParam);
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

std::vector<std::wstring> g_failures;

void RecordFailure(const wchar_t* text) {
    g_failures.push_back(text ? text : L"");
}

class SetupWorker : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_language.Loaded());
        g_seen.clear();
        g_failures.clear();
        SetFailureObserver(RecordFailure);
        g_hook = SetWindowsHookExW(WH_GETMESSAGE, SeeMessage, nullptr, GetCurrentThreadId());
        ASSERT_NE(g_hook, nullptr);
    }
    void TearDown() override {
        UnhookWindowsHookEx(g_hook);
        g_hook = nullptr;
        SetFailureObserver(nullptr);
    }

    // Clicks the action button twice in a row, then waits for the end of the work.
    void RunClickedTwice(WizardDialog& wizard) {
        WizardScript script(wizard);
        script.Do([](WizardDialog&, HWND window) {
            const HWND action = GetDlgItem(window, IDC_ACTION);
            SendMessageW(action, BM_CLICK, 0, 0);
            // Before any message of the worker: nothing can start or end anything now.
            EXPECT_FALSE(IsWindowEnabled(action));
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDCANCEL)));
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_CLOSE)));
            SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_ACTION, BN_CLICKED),
                         reinterpret_cast<LPARAM>(action));
        });
        script.WaitFor([](WizardDialog& dialog, HWND) {
            return dialog.GetState() == WizardDialog::State::Failed ||
                   dialog.GetState() == WizardDialog::State::Finished;
        });
        script.Do([this](WizardDialog&, HWND window) {
            m_heading = Look(window, IDC_HEADING).text;
            Click(window, IDOK);
        });
        EXPECT_EQ(script.Run(), IDOK);
        EXPECT_FALSE(script.TimedOut());
    }

    LanguageLibrary m_language{L"ENU"};
    MessageBoxRecorder m_boxes;
    TempFolder m_folder;
    std::wstring m_heading;
};

TEST_F(SetupWorker, FailedInstallIsShownAsFailure) {
    const std::wstring dir = SetupFolderWith(m_folder, kRefusedSettings);
    WizardDialog wizard(dir.c_str(), FALSE, nullptr);
    RunClickedTwice(wizard);
    EXPECT_EQ(wizard.GetState(), WizardDialog::State::Failed);
    EXPECT_EQ(m_heading, L"Installation failed");
    ASSERT_EQ(g_seen.size(), 2u) << "one worker: one begin, one end";
    EXPECT_EQ(g_seen[0].first, static_cast<WPARAM>(SP_INSTALL_BEGIN));
    EXPECT_EQ(g_seen[1].first, static_cast<WPARAM>(SP_INSTALL_END));
    EXPECT_NE(g_seen[1].second, 1);
    EXPECT_FALSE(g_failures.empty()) << "the sequence reports why";
}

TEST_F(SetupWorker, RefusedRemovalIsShownAsFailure) {
    const std::wstring dir = SetupFolderWith(m_folder, kRefusedSettings);
    WizardDialog wizard(dir.c_str(), TRUE, nullptr);
    RunClickedTwice(wizard);
    EXPECT_EQ(wizard.GetState(), WizardDialog::State::Failed);
    EXPECT_EQ(m_heading, L"Removal failed");
    ASSERT_EQ(g_seen.size(), 2u);
    EXPECT_EQ(g_seen[0].first, static_cast<WPARAM>(SP_REMOVE_BEGIN));
    EXPECT_EQ(g_seen[1].first, static_cast<WPARAM>(SP_REMOVE_END));
    EXPECT_NE(g_seen[1].second, 1);
}

} // namespace

// The worker through the real action button: one worker per dialog, nothing that ends the wizard
// before the work's end, and the sequence's real outcome and reason in the wizard. The settings
// here are refused by the sequences' input checks, so nothing on the machine changes.
#include "wizard_harness.h"

#include "res/resource.h"
#include "ui/setup_progress.h"
#include "ui/setup_worker.h"

#include <gtest/gtest.h>

#include <vector>

using namespace wizard_testing;
using testing_support::TempFolder;

namespace {

// Every WM_SETUP_PROGRESS that the dialog's thread takes from its queue.
std::vector<std::pair<WPARAM, LPARAM>> g_seen;
HHOOK g_hook = nullptr;

LRESULT CALLBACK SeeMessage(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && message->message == WM_SETUP_PROGRESS)
        g_seen.emplace_back(message->wParam, message->lParam);
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

class SetupWorker : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_language.Loaded());
        g_seen.clear();
        g_hook = SetWindowsHookExW(WH_GETMESSAGE, SeeMessage, nullptr, GetCurrentThreadId());
        ASSERT_NE(g_hook, nullptr);
    }
    void TearDown() override {
        UnhookWindowsHookEx(g_hook);
        g_hook = nullptr;
    }

    // Clicks the action button, then, before the worker's first message can arrive, clicks it
    // again and tries every way to end the wizard: Cancel, Escape, the close button and a close
    // request. Then waits for the end of the work and clicks Finish.
    void RunClickedAndInterrupted(WizardDialog& wizard) {
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
            SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(window, IDCANCEL)));
            MSG escape = {};
            escape.hwnd = GetFocus() ? GetFocus() : window;
            escape.message = WM_KEYDOWN;
            escape.wParam = VK_ESCAPE;
            escape.lParam = 0x00010001;
            IsDialogMessageW(window, &escape);
            SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_CLOSE, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_CLOSE)));
            SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
            SendMessageW(window, WM_CLOSE, 0, 0);
            EXPECT_TRUE(IsWindow(window));
        });
        script.WaitFor([](WizardDialog& dialog, HWND) {
            return dialog.GetState() == WizardDialog::State::kFailed ||
                   dialog.GetState() == WizardDialog::State::kFinished;
        });
        script.Do([this](WizardDialog&, HWND window) {
            m_window = window;
            m_heading = Look(window, IDC_HEADING).text;
            m_description = Look(window, IDC_DESCRIPTION).text;
            Click(window, IDOK);
        });
        // Finish, not any of the tries above, ended it.
        EXPECT_EQ(script.Run(), IDOK);
        EXPECT_FALSE(script.TimedOut());
    }

    LanguageLibrary m_language{L"ENU"};
    MessageBoxRecorder m_boxes;
    TempFolder m_folder;
    std::wstring m_heading;
    std::wstring m_description;
    HWND m_window = nullptr;
};

TEST_F(SetupWorker, FailedInstallIsShownAsFailure) {
    const std::wstring dir = SetupFolderWith(m_folder, kRefusedSettings);
    WizardDialog wizard(dir.c_str(), FALSE, nullptr);
    RunClickedAndInterrupted(wizard);
    EXPECT_EQ(wizard.GetState(), WizardDialog::State::kFailed);
    EXPECT_EQ(m_heading, L"Installation failed");
    ASSERT_EQ(g_seen.size(), 2u) << "one worker: one begin, one end";
    EXPECT_EQ(g_seen[0].first, static_cast<WPARAM>(SP_INSTALL_BEGIN));
    EXPECT_EQ(g_seen[1].first, static_cast<WPARAM>(SP_INSTALL_END));
    EXPECT_NE(g_seen[1].second, 1);
    // The sequence's reason, in a box of the wizard's own and in its failed state.
    ASSERT_EQ(1u, m_boxes.Texts().size());
    EXPECT_NE(std::wstring::npos, m_boxes.Texts()[0].find(L"APPFolderName \"..\""));
    EXPECT_EQ(m_window, m_boxes.Owners()[0]);
    EXPECT_EQ(0u, m_description.find(m_boxes.Texts()[0].substr(0, 20))) << m_description;
}

TEST_F(SetupWorker, RefusedRemovalIsShownAsFailure) {
    const std::wstring dir = SetupFolderWith(m_folder, kRefusedSettings);
    WizardDialog wizard(dir.c_str(), TRUE, nullptr);
    RunClickedAndInterrupted(wizard);
    EXPECT_EQ(wizard.GetState(), WizardDialog::State::kFailed);
    EXPECT_EQ(m_heading, L"Removal failed");
    ASSERT_EQ(g_seen.size(), 2u);
    EXPECT_EQ(g_seen[0].first, static_cast<WPARAM>(SP_REMOVE_BEGIN));
    EXPECT_EQ(g_seen[1].first, static_cast<WPARAM>(SP_REMOVE_END));
    EXPECT_NE(g_seen[1].second, 1);
}

// The worker knows no dialog: a message-only window gets its messages, the reason and the box.
TEST(SetupWorkerAlone, TellsAnyWindowTheOutcomeAndTheReason) {
    TempFolder folder;
    MessageBoxRecorder boxes;
    const std::wstring dir = SetupFolderWith(folder, kRefusedSettings);
    const HWND window =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    WorkerParams params = {};
    wcscpy(params.szSetupDir, dir.c_str());
    params.hNotifyWnd = window;
    wchar_t reason[kReasonLength] = {};
    params.pszReason = reason;
    const HANDLE worker = StartSetupWorker(params);
    ASSERT_NE(nullptr, worker);

    std::vector<std::pair<WPARAM, LPARAM>> seen;
    const ULONGLONG deadline = GetTickCount64() + 30000;
    while (seen.size() < 2 && GetTickCount64() < deadline) {
        MSG message;
        if (!PeekMessageW(&message, window, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            continue;
        }
        if (message.message == WM_SETUP_PROGRESS)
            seen.emplace_back(message.wParam, message.lParam);
    }
    WaitForSingleObject(worker, 30000);
    CloseHandle(worker);
    DestroyWindow(window);

    ASSERT_EQ(2u, seen.size());
    EXPECT_EQ(static_cast<WPARAM>(SP_INSTALL_BEGIN), seen[0].first);
    EXPECT_EQ(static_cast<WPARAM>(SP_INSTALL_END), seen[1].first);
    EXPECT_EQ(kSetupFailed, seen[1].second);
    EXPECT_NE(nullptr, wcsstr(reason, L"APPFolderName \"..\"")) << reason;
    ASSERT_EQ(1u, boxes.Texts().size());
    EXPECT_EQ(reason, boxes.Texts()[0]);
    EXPECT_EQ(window, boxes.Owners()[0]);
}

} // namespace

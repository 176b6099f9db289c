// Runs the wizard in-process, headless: the dialog runs modally on the test's thread while a
// script of steps plays on the same thread, one step per idle moment of the dialog's message
// loop, so each step sees the effects of the messages the steps before it posted.
#pragma once

#include "support/win_test_support.h"
#include "ui/wizard_dialog.h"

#include <functional>
#include <string>
#include <vector>

namespace wizard_testing {

// The DoModal result when the script ran out without the dialog ending in time.
constexpr INT_PTR kScriptTimedOut = 4242;

// The language library setupXXX.dll of the built distribution as g_hLangDll, for one test.
class LanguageLibrary {
public:
    explicit LanguageLibrary(const wchar_t* code);
    ~LanguageLibrary();
    LanguageLibrary(const LanguageLibrary&) = delete;
    LanguageLibrary& operator=(const LanguageLibrary&) = delete;
    bool Loaded() const;
};

// Message boxes of the framework are recorded and answered with OK instead of shown.
class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;
    const std::vector<std::wstring>& Texts() const;
    // The owner window of each box, in the same order.
    const std::vector<HWND>& Owners() const;
};

// The test's thread on a desktop of its own for the test's length: the windows of tests that run
// side by side in one prefix then do not take each other's activation, and with it the keyboard
// focus. Make it before the thread has any window or hook.
class PrivateDesktop {
public:
    PrivateDesktop();
    ~PrivateDesktop();
    PrivateDesktop(const PrivateDesktop&) = delete;
    PrivateDesktop& operator=(const PrivateDesktop&) = delete;
    bool Entered() const { return m_bEntered; }

private:
    HDESK m_hOriginal = nullptr;
    HDESK m_hDesktop = nullptr;
    bool m_bEntered = false;
};

class WizardScript {
public:
    using Step = std::function<void(WizardDialog& wizard, HWND window)>;
    // A step that is repeated until it returns true, at most until the script's deadline.
    using Wait = std::function<bool(WizardDialog& wizard, HWND window)>;

    explicit WizardScript(WizardDialog& wizard) : m_wizard(wizard) {}

    WizardScript& Do(Step step);
    WizardScript& WaitFor(Wait condition);
    // Runs the dialog; the steps play while it runs. Ends it with kScriptTimedOut when it is
    // still open timeoutMs after it started.
    INT_PTR Run(DWORD timeoutMs = 15000);
    bool TimedOut() const { return m_bTimedOut; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void PlayNext();

    WizardDialog& m_wizard;
    std::vector<Wait> m_steps;
    size_t m_nNext = 0;
    DWORD m_startedAt = 0;
    DWORD m_timeoutMs = 0;
    bool m_bTimedOut = false;
};

// What the user sees of one control of the dialog.
struct ControlLook {
    bool visible;
    bool enabled;
    std::wstring text;
};
ControlLook Look(HWND window, int id);

int ProgressPos(HWND window);
// The check state the launch checkbox keeps itself.
int LaunchCheckState(HWND window);
// Posts WM_SETUP_PROGRESS as the worker would.
void PostProgress(HWND window, WPARAM code, LPARAM lParam = 0);

// Plays the finished state of an install, as the worker's messages bring it.
void ReachFinishedInstall(WizardScript& script);
// A click on a button as the mouse makes it.
void Click(HWND window, int id);

// A key pressed and released, as the keyboard's messages reach the window with the focus (the
// dialog when no control has it) through the dialog's message loop. Posted to this thread, not
// sent as system input: tests running side by side on one desktop do not see each other's keys.
void PressKey(HWND window, WORD key);
// The control that has the keyboard focus (its id), or 0 when no control of window has it.
int FocusedId(HWND window);
// The id of the dialog's default button, which Enter presses, or 0 when it has none.
int DefaultId(HWND window);

// A setup folder whose setup.ini has the given text (none when text is empty).
std::wstring SetupFolderWith(const testing_support::TempFolder& folder, const std::wstring& ini);

// Settings that the sequences' input checks refuse (the folder name ".."): the real worker runs
// and fails, and nothing on the machine changes.
constexpr wchar_t kRefusedSettings[] =
    L"[Startup]\r\nAppName=Refused\r\n[Customized_Setting]\r\nAPPFolderName=..\r\n"
    L"APPFileName=DIVodeZivar.exe\r\n";

} // namespace wizard_testing

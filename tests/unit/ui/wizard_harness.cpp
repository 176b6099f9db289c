#include "wizard_harness.h"

#include "config/globals.h"
#include "framework/message_box.h"
#include "res/resource.h"
#include "ui/setup_progress.h"

#include <commctrl.h>

namespace wizard_testing {

namespace {

WizardScript* g_pRunning = nullptr;
std::vector<std::wstring> g_boxTexts;
std::vector<HWND> g_boxOwners;

int RecordBox(HWND owner, const wchar_t* text, const wchar_t*, UINT) {
    g_boxTexts.push_back(text ? text : L"");
    g_boxOwners.push_back(owner);
    return IDOK;
}

} // namespace

LanguageLibrary::LanguageLibrary(const wchar_t* code) {
    const std::wstring path = testing_support::DistFolder() + L"setup" + code + L".dll";
    g_hLangDll = LoadLibraryW(path.c_str());
}

LanguageLibrary::~LanguageLibrary() {
    if (g_hLangDll != nullptr)
        FreeLibrary(g_hLangDll);
    g_hLangDll = nullptr;
}

bool LanguageLibrary::Loaded() const {
    return g_hLangDll != nullptr;
}

MessageBoxRecorder::MessageBoxRecorder() {
    g_boxTexts.clear();
    g_boxOwners.clear();
    SetMessageBoxFunction(RecordBox);
}

MessageBoxRecorder::~MessageBoxRecorder() {
    SetMessageBoxFunction(nullptr);
}

const std::vector<std::wstring>& MessageBoxRecorder::Texts() const {
    return g_boxTexts;
}

const std::vector<HWND>& MessageBoxRecorder::Owners() const {
    return g_boxOwners;
}

PrivateDesktop::PrivateDesktop() : m_hOriginal(GetThreadDesktop(GetCurrentThreadId())) {
    wchar_t name[64] = {};
    wsprintfW(name, L"wizard-test-%lu", GetCurrentProcessId());
    m_hDesktop = CreateDesktopW(name, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    m_bEntered = m_hDesktop != nullptr && SetThreadDesktop(m_hDesktop);
}

PrivateDesktop::~PrivateDesktop() {
    if (m_bEntered)
        SetThreadDesktop(m_hOriginal);
    if (m_hDesktop != nullptr)
        CloseDesktop(m_hDesktop);
}

WizardScript& WizardScript::Do(Step step) {
    m_steps.push_back([step](WizardDialog& wizard, HWND window) {
        step(wizard, window);
        return true;
    });
    return *this;
}

WizardScript& WizardScript::WaitFor(Wait condition) {
    m_steps.push_back(condition);
    return *this;
}

INT_PTR WizardScript::Run(DWORD timeoutMs) {
    m_nNext = 0;
    m_bTimedOut = false;
    m_timeoutMs = timeoutMs;
    m_startedAt = GetTickCount();
    g_pRunning = this;
    const UINT_PTR timer = SetTimer(nullptr, 0, 1, Tick);
    const INT_PTR result = m_wizard.DoModal();
    KillTimer(nullptr, timer);
    g_pRunning = nullptr;
    return result;
}

void CALLBACK WizardScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_pRunning != nullptr)
        g_pRunning->PlayNext();
}

void WizardScript::PlayNext() {
    HWND window = m_wizard.GetSafeHwnd();
    if (window == nullptr)
        return;
    if (GetTickCount() - m_startedAt > m_timeoutMs) {
        m_bTimedOut = true;
        ::EndDialog(window, kScriptTimedOut);
        return;
    }
    if (m_nNext < m_steps.size() && m_steps[m_nNext](m_wizard, window))
        ++m_nNext;
}

ControlLook Look(HWND window, int id) {
    HWND control = GetDlgItem(window, id);
    wchar_t text[1024] = {};
    GetWindowTextW(control, text, 1024);
    return {IsWindowVisible(control) != FALSE, IsWindowEnabled(control) != FALSE, text};
}

int ProgressPos(HWND window) {
    return static_cast<int>(SendDlgItemMessageW(window, IDC_PROGRESS, PBM_GETPOS, 0, 0));
}

int LaunchCheckState(HWND window) {
    auto* check = dynamic_cast<CBmpBtnCtrl*>(CWnd::FromHandle(GetDlgItem(window, IDC_LAUNCH)));
    return check ? check->GetCheckState() : -1;
}

void PostProgress(HWND window, WPARAM code, LPARAM lParam) {
    PostMessageW(window, WM_SETUP_PROGRESS, code, lParam);
}

void ReachFinishedInstall(WizardScript& script) {
    script.Do([](WizardDialog&, HWND window) {
        PostProgress(window, SP_INSTALL_BEGIN);
        PostProgress(window, SP_INSTALL_END, kSetupSucceeded);
    });
}

void Click(HWND window, int id) {
    PostMessageW(GetDlgItem(window, id), BM_CLICK, 0, 0);
}

void PressKey(HWND window, WORD key) {
    HWND target = GetFocus();
    if (target == nullptr || (target != window && !IsChild(window, target)))
        target = window;
    const LPARAM scanCode = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(target, WM_KEYDOWN, key, scanCode | 1);
    PostMessageW(target, WM_KEYUP, key, scanCode | 1 | (1L << 30) | (1L << 31));
}

int FocusedId(HWND window) {
    const HWND focus = GetFocus();
    return focus != nullptr && IsChild(window, focus) ? GetDlgCtrlID(focus) : 0;
}

int DefaultId(HWND window) {
    const LRESULT result = SendMessageW(window, DM_GETDEFID, 0, 0);
    return HIWORD(result) == DC_HASDEFID ? LOWORD(result) : 0;
}

std::wstring SetupFolderWith(const testing_support::TempFolder& folder, const std::wstring& ini) {
    if (!ini.empty())
        testing_support::WriteUtf16(folder / L"setup.ini", ini);
    return folder.Path();
}

} // namespace wizard_testing

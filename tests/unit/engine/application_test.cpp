// The application stand-in, started for real from an install folder of its own, and
// CloseRunningApp acting on it.
#include "engine/process_runner.h"

#include "engine_test_support.h"
#include "support/win_test_support.h"

#include <gtest/gtest.h>

#include <cwctype>

namespace {

using engine_testing::kApplicationWindowClass;
using engine_testing::WaitForWindowOfProcess;

constexpr DWORD kStartTimeLimitMs = 20000;

class ApplicationTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_installDir = m_folder / L"Korvane Dir";
        const std::wstring application = testing_support::DistFolder() + L"Application\\";
        for (const wchar_t* name : {L"DIVodeZivar.exe", L"mingwm10.dll"})
            ASSERT_TRUE(
                engine_testing::CopyFileTo(application + name, m_installDir + L"\\" + name));
    }

    void TearDown() override {
        if (m_process != nullptr) {
            if (WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT) {
                TerminateProcess(m_process, 1);
                WaitForSingleObject(m_process, 10000);
            }
            CloseHandle(m_process);
        }
    }

    // The settings file that the installer leaves in the Uninstall folder.
    void WriteSettings(const std::wstring& appName) {
        ASSERT_TRUE(testing_support::WriteUtf16(m_installDir + L"\\Uninstall\\setup.ini",
                                                L"[Startup]\r\nAppName=" + appName + L"\r\n"));
    }

    // Starts the installed application; returns its window.
    HWND Start(const wchar_t* arguments = L"") {
        std::wstring commandLine = L"\"" + m_installDir + L"\\DIVodeZivar.exe\"" + arguments;
        m_process = LaunchProcess(&commandLine[0], true);
        if (m_process == nullptr)
            return nullptr;
        return WaitForWindowOfProcess(GetProcessId(m_process), kApplicationWindowClass,
                                      kStartTimeLimitMs);
    }

    bool IsRunning() const { return WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT; }

    bool Delete(const wchar_t* name) const {
        return DeleteFileW((m_installDir + L"\\" + name).c_str()) != FALSE;
    }

    static std::wstring TitleOf(HWND window) {
        wchar_t title[MAX_PATH] = {};
        GetWindowTextW(window, title, MAX_PATH);
        return title;
    }

    testing_support::TempFolder m_folder;
    std::wstring m_installDir;
    HANDLE m_process = nullptr;
};

TEST_F(ApplicationTest, TitleIsTheApplicationNameOfItsSettings) {
    const std::wstring name = engine_testing::UniqueName(L"Korvane Array Console");
    WriteSettings(name);
    HWND window = Start();
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(name, TitleOf(window));
    EXPECT_FALSE(IsIconic(window));
}

TEST_F(ApplicationTest, TitleIsTheDefaultNameWithoutSettings) {
    HWND window = Start();
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(L"Korvane HW RAID Manager", TitleOf(window));
}

TEST_F(ApplicationTest, MinStartsItMinimised) {
    WriteSettings(engine_testing::UniqueName(L"Korvane Minimised"));
    HWND window = Start(L" min");
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(IsIconic(window));
}

TEST_F(ApplicationTest, ItsLibraryIsInUseWhileItRuns) {
    WriteSettings(engine_testing::UniqueName(L"Korvane Library User"));
    ASSERT_NE(nullptr, Start());
    EXPECT_FALSE(Delete(L"mingwm10.dll"));
    EXPECT_FALSE(Delete(L"DIVodeZivar.exe"));
}

TEST_F(ApplicationTest, CloseRunningAppEndsItAndFreesItsFiles) {
    const std::wstring name = engine_testing::UniqueName(L"Korvane Closing");
    WriteSettings(name);
    ASSERT_NE(nullptr, Start());

    EXPECT_TRUE(CloseRunningApp(name.c_str()));

    // Ended by the time the call returns: its files can go at once.
    EXPECT_FALSE(IsRunning());
    EXPECT_TRUE(Delete(L"mingwm10.dll"));
    EXPECT_TRUE(Delete(L"DIVodeZivar.exe"));
}

TEST_F(ApplicationTest, TitleDifferingInLetterCaseIsLeftAlone) {
    const std::wstring name = engine_testing::UniqueName(L"Korvane Case");
    WriteSettings(name);
    HWND window = Start();
    ASSERT_NE(nullptr, window);

    std::wstring upper = name;
    for (auto& c : upper)
        c = static_cast<wchar_t>(towupper(c));
    CloseRunningApp(upper.c_str());

    EXPECT_TRUE(IsRunning());
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(ApplicationTest, ShellFolderWindowOfTheSameTitleIsLeftAlone) {
    // The Start menu folder carries the application's name, and a shell window showing it has
    // that title: it belongs to the user.
    const std::wstring name = engine_testing::UniqueName(L"Korvane Folder");
    WNDCLASSW folderClass = {};
    folderClass.lpfnWndProc = DefWindowProcW;
    folderClass.hInstance = GetModuleHandleW(nullptr);
    folderClass.lpszClassName = L"CabinetWClass";
    RegisterClassW(&folderClass);
    HWND folder = CreateWindowExW(0, L"CabinetWClass", name.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 100,
                                  100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, folder);
    WriteSettings(name);
    ASSERT_NE(nullptr, Start());
    // The folder window comes first in the search: it is the newest top-level window.
    SetWindowPos(folder, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    CloseRunningApp(name.c_str());

    EXPECT_TRUE(IsWindow(folder));
    EXPECT_FALSE(IsRunning());
    DestroyWindow(folder);
}

// A window whose thread takes no messages until it is released.
class HungWindow {
public:
    explicit HungWindow(const std::wstring& title) : m_title(title) {
        m_release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        m_created = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        m_thread = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
        WaitForSingleObject(m_created, 10000);
    }
    ~HungWindow() {
        SetEvent(m_release);
        WaitForSingleObject(m_thread, 10000);
        for (HANDLE handle : {m_thread, m_created, m_release})
            CloseHandle(handle);
    }
    HWND Window() const { return m_window; }

private:
    static DWORD WINAPI ThreadMain(void* parameter) {
        auto* self = static_cast<HungWindow*>(parameter);
        self->m_window = CreateWindowExW(0, L"STATIC", self->m_title.c_str(), WS_POPUP, 0, 0, 10,
                                         10, nullptr, nullptr, nullptr, nullptr);
        SetEvent(self->m_created);
        WaitForSingleObject(self->m_release, 60000);
        DestroyWindow(self->m_window);
        return 0;
    }

    std::wstring m_title;
    HANDLE m_release = nullptr;
    HANDLE m_created = nullptr;
    HANDLE m_thread = nullptr;
    HWND m_window = nullptr;
};

TEST(CloseRunningApp, AWindowThatDoesNotAnswerDoesNotHangTheCaller) {
    const std::wstring title = engine_testing::UniqueName(L"Korvane Hung");
    HungWindow hung(title);
    ASSERT_NE(nullptr, hung.Window());
    // Returns although the window never handles WM_CLOSE while it is being asked, and says that
    // the window is still there.
    EXPECT_FALSE(CloseRunningApp(title.c_str()));
    EXPECT_TRUE(IsWindow(hung.Window()));
}

TEST_F(ApplicationTest, NoWindowIsNothingToClose) {
    EXPECT_TRUE(CloseRunningApp(engine_testing::UniqueName(L"Korvane Not Running").c_str()));
}

} // namespace

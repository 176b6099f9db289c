// A small distribution and install folder of the tests' own, and what to look at afterwards.
#pragma once

#include "config/install_config.h"
#include "support/win_test_support.h"

#include <string>
#include <vector>

namespace sequence_testing {

// A distribution folder with the files the install copies (contents: their own names), and an
// install folder below a parent of its own. Every name is unique to the test, so that tests
// sharing a prefix never meet in the registry or the Start menu.
class FakeInstallation {
public:
    FakeInstallation();
    ~FakeInstallation();

    const std::wstring& SetupDir() const { return m_dist.Path(); } // trailing backslash
    std::wstring DistFile(const std::wstring& relative) const { return m_dist / relative; }
    std::wstring InstallFile(const std::wstring& relative) const;
    const std::wstring& ParentDir() const { return m_parent.Path(); } // trailing backslash
    const InstallConfig& Config() const { return m_config; }
    InstallConfig& Config() { return m_config; }

    // The installed-programs key of this installation (in this process's view).
    std::wstring UninstallKey() const;
    std::wstring DesktopLink() const;
    std::wstring ProgramsFolder() const;

private:
    testing_support::TempFolder m_dist;
    testing_support::TempFolder m_parent;
    InstallConfig m_config = {};
};

bool FileExists(const std::wstring& path);
bool KeyExists(const std::wstring& key);
std::string ReadAll(const std::wstring& path);
using testing_support::ListFolder;

// Polls condition every 50 ms until it holds or timeoutMs passed; returns its last value.
template <typename Condition> bool WaitFor(Condition condition, DWORD timeoutMs = 30000) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount64() > deadline)
            return condition();
        Sleep(50);
    }
}

} // namespace sequence_testing

// Helpers of the engine's tests: unique names, recorded failures, files, links and windows.
#pragma once

#include "engine/setup_report.h"
#include "support/win_test_support.h"

#include <windows.h>

#include <string>
#include <vector>

namespace engine_testing {

using testing_support::ListFolder;
using testing_support::ReadUtf16File;
using testing_support::Split;
using testing_support::ThisProgramFolder;

// A name that no other test of this run uses: the prefix, this process's id and a counter.
// Tests of one prefix share its registry, Start menu and desktop, two at a time.
std::wstring UniqueName(const std::wstring& prefix);

// A report for the tests: every failure that a run would show is recorded instead.
class FailureRecorder : public SetupReport {
public:
    FailureRecorder() : SetupReport(nullptr) {}

    const std::vector<std::wstring>& Texts() const { return m_texts; }

protected:
    void Show(const wchar_t* reason) override { m_texts.push_back(reason); }

private:
    std::vector<std::wstring> m_texts;
};

// Creates every missing folder of path (a folder, or a file's folder when asFile).
void CreateFolders(const std::wstring& path, bool asFile);

// Copies a file, creating the target's folders.
bool CopyFileTo(const std::wstring& from, const std::wstring& to);

// A shell folder's path, without a trailing backslash.
std::wstring ShellFolder(int csidl);

// Reads a link file through the shell's link object.
struct LinkContents {
    std::wstring target;
    std::wstring arguments;
};
bool ReadLink(const std::wstring& linkPath, LinkContents* contents);

// The application stand-in's window class.
extern const wchar_t kApplicationWindowClass[];

// A top-level window of the given class that belongs to a process, waited for at most timeoutMs.
HWND WaitForWindowOfProcess(DWORD processId, const wchar_t* className, DWORD timeoutMs);

} // namespace engine_testing

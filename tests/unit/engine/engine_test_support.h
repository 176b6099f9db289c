// Helpers of the engine's tests: unique names, recorded failures, files, links and windows.
#pragma once

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

// While it lives, every failure that would be shown in a box is recorded instead.
class FailureRecorder {
public:
    FailureRecorder();
    ~FailureRecorder();
    FailureRecorder(const FailureRecorder&) = delete;
    FailureRecorder& operator=(const FailureRecorder&) = delete;

    const std::vector<std::wstring>& Texts() const;
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

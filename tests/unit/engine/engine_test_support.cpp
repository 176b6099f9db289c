#include "engine_test_support.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <cwchar>

namespace engine_testing {

namespace {

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK TakeWindowOfProcess(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[256] = {};
    GetClassNameW(window, className, 256);
    if (owner != search->processId || wcscmp(className, search->className) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

} // namespace

std::wstring UniqueName(const std::wstring& prefix) {
    static unsigned counter = 0;
    return prefix + L" " + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++counter);
}

void CreateFolders(const std::wstring& path, bool asFile) {
    for (size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1))
        CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    if (!asFile)
        CreateDirectoryW(path.c_str(), nullptr);
}

bool CopyFileTo(const std::wstring& from, const std::wstring& to) {
    CreateFolders(to, true);
    return CopyFileW(from.c_str(), to.c_str(), FALSE) != FALSE;
}

std::wstring ShellFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE))
        return std::wstring();
    return path;
}

bool ReadLink(const std::wstring& linkPath, LinkContents* contents) {
    const HRESULT initialised = CoInitialize(nullptr);
    bool read = false;
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t target[MAX_PATH] = {};
            wchar_t arguments[1024] = {};
            if (SUCCEEDED(file->Load(linkPath.c_str(), STGM_READ)) &&
                SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
                SUCCEEDED(link->GetArguments(arguments, 1024))) {
                contents->target = target;
                contents->arguments = arguments;
                read = true;
            }
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(initialised))
        CoUninitialize();
    return read;
}

const wchar_t kApplicationWindowClass[] = L"KorvaneRaidManagerWindow";

HWND WaitForWindowOfProcess(DWORD processId, const wchar_t* className, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        WindowSearch search = {processId, className, nullptr};
        EnumWindows(TakeWindowOfProcess, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr || GetTickCount() - start > timeoutMs)
            return search.found;
        Sleep(20);
    }
}

} // namespace engine_testing

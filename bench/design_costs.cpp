// What the install's design costs on its own under the benchmark's Wine, for comparison with the
// floor: one program, one job per run.
//
//   design_costs.exe libraries starts and ends with the libraries setup uses loaded (window,
//                              shell, COM), doing nothing with them
//   design_costs.exe links     creates the install's three shell links through the shell link
//                              object, as setup does (desktop, and a folder of the all-users
//                              Programs folder), then ends
//
// Exit code 0 when the job was done.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cwchar>

namespace {

bool SaveLink(const wchar_t* linkPath, const wchar_t* target, const wchar_t* arguments) {
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return false;
    IPersistFile* file = nullptr;
    bool saved = SUCCEEDED(link->SetPath(target)) &&
                 (arguments == nullptr || SUCCEEDED(link->SetArguments(arguments))) &&
                 SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)));
    if (file != nullptr) {
        saved = saved && SUCCEEDED(file->Save(linkPath, TRUE));
        file->Release();
    }
    link->Release();
    return saved;
}

bool CreateThreeLinks() {
    wchar_t desktop[MAX_PATH] = {};
    wchar_t programs[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE) ||
        !SHGetSpecialFolderPathW(nullptr, programs, CSIDL_COMMON_PROGRAMS, FALSE))
        return false;
    wchar_t folder[MAX_PATH] = {};
    wchar_t paths[3][MAX_PATH] = {};
    const int lengths[] = {
        std::swprintf(folder, MAX_PATH, L"%ls\\Design Costs", programs),
        std::swprintf(paths[0], MAX_PATH, L"%ls\\Design Costs.lnk", desktop),
        std::swprintf(paths[1], MAX_PATH, L"%ls\\Design Costs\\Design Costs.lnk", programs),
        std::swprintf(paths[2], MAX_PATH, L"%ls\\Design Costs\\Uninstall.lnk", programs),
    };
    for (const int length : lengths)
        if (length < 0)
            return false;
    if (!CreateDirectoryW(folder, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return false;

    wchar_t target[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(target, MAX_PATH);
    if (length == 0 || length + 12 >= MAX_PATH)
        return false;
    wcscat(target, L"\\notepad.exe");
    // The apartment setup's engine uses for its links.
    if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)))
        return false;
    const bool saved = SaveLink(paths[0], target, nullptr) && SaveLink(paths[1], target, nullptr) &&
                       SaveLink(paths[2], target, L"delpkg");
    CoUninitialize();
    return saved;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR commandLine, int) {
    if (commandLine == nullptr)
        return 2;
    if (wcscmp(commandLine, L"libraries") == 0)
        // The libraries are imported, so they are loaded and initialised at start.
        return GetSystemMetrics(SM_CXSCREEN) >= 0 ? 0 : 1;
    if (wcscmp(commandLine, L"links") == 0)
        return CreateThreeLinks() ? 0 : 1;
    return 2;
}

#include "sequence_test_support.h"

#include "config/install_config.h"
#include "config/text.h"

#include <shlobj.h>

#include <cwchar>

namespace sequence_testing {

namespace {

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

std::wstring ShellFolder(int csidl) {
    wchar_t folder[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, folder, csidl, FALSE);
    return folder;
}

} // namespace

FakeInstallation::FakeInstallation() {
    static unsigned counter = 0;
    wchar_t unique[64] = {};
    std::swprintf(unique, 64, L"SeqTest %lu-%u", GetCurrentProcessId(), ++counter);

    const wchar_t* const distFiles[] = {
        L"setup.exe",
        L"setup.ini",
        L"setupENU.dll",
        L"setupCHT.dll",
        L"setupCHS.dll",
        L"setupJPN.dll",
        L"setupKOR.dll",
        L"setupPTB.dll",
        L"Application\\mingwm10.dll",
        L"Application\\App.exe",
        L"Application\\center.gif",
        L"Application\\Raidlogo.png",
        L"Application\\REriDezaz.exe",
    };
    for (const wchar_t* name : distFiles)
        testing_support::WriteBytes(m_dist / name, Narrow(name));

    std::wstring installDir = m_parent.Path() + unique;
    CopyInto(m_config.szInstallDir, installDir.c_str());
    CopyInto(m_config.szAppFolderName, unique);
    CopyInto(m_config.szAppFileName, L"App.exe");
    CopyInto(m_config.szAppName, unique);
    CopyInto(m_config.szCompanyName, L"Test Company");
    CopyInto(m_config.szVersion, L"9.9");
}

FakeInstallation::~FakeInstallation() {
    // Whatever a failed test left behind outside the temporary folders. Tests empty or bend the
    // names on purpose: with such a name the paths below would be the shared Uninstall key or
    // the Programs folder itself, which belong to every test of this prefix.
    if (wcspbrk(m_config.szAppFolderName, L"\\/.") == nullptr && m_config.szAppFolderName[0])
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, UninstallKey().c_str());
    if (wcspbrk(m_config.szAppName, L"\\/.") != nullptr || m_config.szAppName[0] == L'\0')
        return;
    DeleteFileW(DesktopLink().c_str());
    DeleteFileW((ProgramsFolder() + L"\\" + m_config.szAppName + L".lnk").c_str());
    DeleteFileW((ProgramsFolder() + L"\\Uninstall.lnk").c_str());
    RemoveDirectoryW(ProgramsFolder().c_str());
}

std::wstring FakeInstallation::InstallFile(const std::wstring& relative) const {
    return std::wstring(m_config.szInstallDir) + L"\\" + relative;
}

std::wstring FakeInstallation::UninstallKey() const {
    return std::wstring(RegistryBasePath()) + L"Uninstall\\" + m_config.szAppFolderName;
}

std::wstring FakeInstallation::DesktopLink() const {
    return ShellFolder(CSIDL_DESKTOPDIRECTORY) + L"\\" + m_config.szAppName + L".lnk";
}

std::wstring FakeInstallation::ProgramsFolder() const {
    return ShellFolder(CSIDL_COMMON_PROGRAMS) + L"\\" + m_config.szAppName;
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool KeyExists(const std::wstring& key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

std::string ReadAll(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

} // namespace sequence_testing

#include "config/system_facts.h"

BOOL IsRunningUnderWow64() {
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    // Looked up at run time: systems before XP SP2 lack the function.
    const auto isWow64Process = reinterpret_cast<IsWow64ProcessFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process")));
    if (isWow64Process == nullptr)
        return 0;
    BOOL answer = FALSE;
    isWow64Process(GetCurrentProcess(), &answer);
    return answer ? 1 : 0;
}

BOOL IsWinNT6() {
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExW(&info))
        return 0;
    return (info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion == 6) ? 1 : 0;
}

bool IsInteractiveSession() {
    USEROBJECTFLAGS flags = {};
    const HWINSTA station = GetProcessWindowStation();
    // A station that cannot be asked is taken as the user's own.
    if (station == nullptr ||
        !GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof(flags), nullptr))
        return true;
    return (flags.dwFlags & WSF_VISIBLE) != 0;
}

namespace {

const wchar_t kPersistedKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\"
                                L"AppCompatFlags\\Compatibility Assistant\\Persisted";

} // namespace

bool MarkCompatibilityPersisted(const wchar_t* programPath) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kPersistedKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE | KEY_QUERY_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const bool existed =
        RegQueryValueExW(key, programPath, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    const DWORD one = 1;
    const bool written =
        RegSetValueExW(key, programPath, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one),
                       sizeof(one)) == ERROR_SUCCESS;
    RegCloseKey(key);
    return written && !existed;
}

bool IsCompatibilityMarked(const wchar_t* programPath) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kPersistedKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    const bool marked =
        RegQueryValueExW(key, programPath, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return marked;
}

bool RemoveCompatibilityMark(const wchar_t* programPath) {
    HKEY key = nullptr;
    const LONG opened = RegOpenKeyExW(HKEY_CURRENT_USER, kPersistedKey, 0, KEY_SET_VALUE, &key);
    if (opened == ERROR_FILE_NOT_FOUND)
        return true;
    if (opened != ERROR_SUCCESS)
        return false;
    const LONG deleted = RegDeleteValueW(key, programPath);
    RegCloseKey(key);
    return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}

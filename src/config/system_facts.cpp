#include "config/system_facts.h"

#include "config/handles.h"

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
    ScopedRegKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kPersistedKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE | KEY_QUERY_VALUE, nullptr, key.Receive(),
                        nullptr) != ERROR_SUCCESS)
        return false;
    const bool existed = RegQueryValueExW(key.Get(), programPath, nullptr, nullptr, nullptr,
                                          nullptr) == ERROR_SUCCESS;
    const DWORD one = 1;
    const bool written =
        RegSetValueExW(key.Get(), programPath, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one),
                       sizeof(one)) == ERROR_SUCCESS;
    return written && !existed;
}

bool IsCompatibilityMarked(const wchar_t* programPath) {
    ScopedRegKey key;
    return RegOpenKeyExW(HKEY_CURRENT_USER, kPersistedKey, 0, KEY_QUERY_VALUE, key.Receive()) ==
               ERROR_SUCCESS &&
           RegQueryValueExW(key.Get(), programPath, nullptr, nullptr, nullptr, nullptr) ==
               ERROR_SUCCESS;
}

bool RemoveCompatibilityMark(const wchar_t* programPath) {
    ScopedRegKey key;
    const LONG opened =
        RegOpenKeyExW(HKEY_CURRENT_USER, kPersistedKey, 0, KEY_SET_VALUE, key.Receive());
    if (opened == ERROR_FILE_NOT_FOUND)
        return true;
    if (opened != ERROR_SUCCESS)
        return false;
    const LONG deleted = RegDeleteValueW(key.Get(), programPath);
    return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}

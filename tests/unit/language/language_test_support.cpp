#include "language_test_support.h"

#include <psapi.h>

namespace language_testing {

const std::vector<ShippedLanguage>& ShippedLanguages() {
    static const std::vector<ShippedLanguage> languages = {
        {L"ENU", 0x0409}, {L"CHT", 0x0404}, {L"CHS", 0x0804}, {L"JPN", 0x0411}, {L"KOR", 0x0412},
        {L"FRA", 0x040C}, {L"DEU", 0x0407}, {L"ITA", 0x0410}, {L"RUS", 0x0419}, {L"ESN", 0x0C0A},
        {L"SVE", 0x041D}, {L"NLD", 0x0413}, {L"PTB", 0x0416},
    };
    return languages;
}

std::wstring DistFile(const std::wstring& name) {
    return testing_support::DistFolder() + name;
}

std::wstring LowerAscii(std::wstring text) {
    for (auto& c : text) {
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return text;
}

LibraryFolder::LibraryFolder(const std::wstring& subfolder, const std::wstring& programName)
    : m_path(m_temp.Path() + subfolder) {
    CreateDirectoryW(m_path.c_str(), nullptr);
    for (const auto& language : ShippedLanguages()) {
        const std::wstring name = std::wstring(L"setup") + language.abbreviation + L".dll";
        CopyFileW(DistFile(name).c_str(), (m_path + name).c_str(), FALSE);
    }
    m_programPath = LowerAscii(m_path + programName);
}

bool LibraryFolder::Remove(const wchar_t* abbreviation) const {
    const std::wstring path = m_path + L"setup" + abbreviation + L".dll";
    DeleteFileW(path.c_str());
    return GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

LoadedModule::~LoadedModule() {
    if (m_module != nullptr)
        FreeLibrary(m_module);
}

std::wstring ModuleFileName(HMODULE module) {
    wchar_t path[MAX_PATH + 8] = {};
    const DWORD length = GetModuleFileNameW(module, path, MAX_PATH + 1);
    if (length > 0 && length <= MAX_PATH)
        return path;
    // A library mapped as resources only is no module the loader names: the file it was mapped
    // from is, in the system's own spelling ("\??\C:\..." under Wine).
    const auto base = reinterpret_cast<void*>(reinterpret_cast<ULONG_PTR>(module) & ~ULONG_PTR(3));
    const DWORD mapped = GetMappedFileNameW(GetCurrentProcess(), base, path, MAX_PATH + 8);
    if (mapped == 0 || mapped >= MAX_PATH + 8)
        return std::wstring();
    const std::wstring name = path;
    return name.compare(0, 4, L"\\??\\") == 0 ? name.substr(4) : name;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

std::wstring LoadText(HMODULE module, UINT id) {
    wchar_t text[1024] = {};
    const int length = LoadStringW(module, id, text, 1024);
    return std::wstring(text, length > 0 ? static_cast<size_t>(length) : 0);
}

std::wstring FindText(HMODULE module, UINT id, LANGID langId, bool* found) {
    *found = false;
    // A string table stores sixteen strings per block, block n holding ids 16 * (n - 1) on.
    HRSRC resource = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), langId);
    if (resource == nullptr)
        return std::wstring();
    HGLOBAL loaded = LoadResource(module, resource);
    const auto* entry = static_cast<const WCHAR*>(LockResource(loaded));
    if (entry == nullptr)
        return std::wstring();
    const auto* end = entry + SizeofResource(module, resource) / sizeof(WCHAR);
    for (UINT index = 0; index < id % 16 && entry < end; ++index)
        entry += 1 + *entry;
    if (entry >= end || entry + 1 + *entry > end || *entry == 0)
        return std::wstring();
    *found = true;
    return std::wstring(entry + 1, *entry);
}

namespace {

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR list) {
    reinterpret_cast<std::vector<ULONG_PTR>*>(list)->push_back(
        IS_INTRESOURCE(name) ? reinterpret_cast<ULONG_PTR>(name) : ~ULONG_PTR(0));
    return TRUE;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR list) {
    reinterpret_cast<std::vector<LANGID>*>(list)->push_back(language);
    return TRUE;
}

BOOL CALLBACK CollectType(HMODULE, LPWSTR type, LONG_PTR list) {
    reinterpret_cast<std::vector<ULONG_PTR>*>(list)->push_back(
        IS_INTRESOURCE(type) ? reinterpret_cast<ULONG_PTR>(type) : ~ULONG_PTR(0));
    return TRUE;
}

} // namespace

std::vector<ULONG_PTR> ResourceIds(HMODULE module, LPCWSTR type) {
    std::vector<ULONG_PTR> ids;
    EnumResourceNamesW(module, type, CollectName, reinterpret_cast<LONG_PTR>(&ids));
    return ids;
}

std::vector<LANGID> ResourceLanguages(HMODULE module, LPCWSTR type, LPCWSTR name) {
    std::vector<LANGID> languages;
    EnumResourceLanguagesW(module, type, name, CollectLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

std::vector<ULONG_PTR> ResourceTypes(HMODULE module) {
    std::vector<ULONG_PTR> types;
    EnumResourceTypesW(module, CollectType, reinterpret_cast<LONG_PTR>(&types));
    return types;
}

std::string ReadFileBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::string bytes;
    LARGE_INTEGER size = {};
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < (1 << 24)) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        if (!ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr) ||
            read != bytes.size())
            bytes.clear();
    }
    CloseHandle(file);
    return bytes;
}

} // namespace language_testing

// Helpers of the language tests: the shipped libraries, folders that hold copies of them, and
// readers of string tables.
#pragma once

#include "support/win_test_support.h"

#include <windows.h>

#include <string>
#include <vector>

namespace language_testing {

struct ShippedLanguage {
    const wchar_t* abbreviation; // as in setupXXX.dll
    LANGID langId;
};

// The thirteen libraries of the distribution, English first.
const std::vector<ShippedLanguage>& ShippedLanguages();

// The built distribution's file of that name.
std::wstring DistFile(const std::wstring& name);

// Lowers A to Z, as start-up does with the program path.
std::wstring LowerAscii(std::wstring text);

// A folder below a temporary one holding copies of the thirteen libraries, for a program of the
// given name in it. ProgramPath() is the lower-case path that start-up would pass on.
class LibraryFolder {
public:
    explicit LibraryFolder(const std::wstring& subfolder = L"dist\\",
                           const std::wstring& programName = L"setup.exe");
    LibraryFolder(const LibraryFolder&) = delete;
    LibraryFolder& operator=(const LibraryFolder&) = delete;

    const std::wstring& Path() const { return m_path; }
    const std::wstring& ProgramPath() const { return m_programPath; }
    const std::wstring& Root() const { return m_temp.Path(); }
    // Deletes setupXXX.dll; true when it is gone.
    bool Remove(const wchar_t* abbreviation) const;

private:
    testing_support::TempFolder m_temp;
    std::wstring m_path;
    std::wstring m_programPath;
};

// Owns a loaded module.
class LoadedModule {
public:
    explicit LoadedModule(HMODULE module = nullptr) : m_module(module) {}
    ~LoadedModule();
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;
    LoadedModule(LoadedModule&& other) noexcept : m_module(other.m_module) {
        other.m_module = nullptr;
    }

    HMODULE Get() const { return m_module; }
    explicit operator bool() const { return m_module != nullptr; }

private:
    HMODULE m_module;
};

// The file a module was loaded from, as the loader names it.
std::wstring ModuleFileName(HMODULE module);

// True when both paths name the same file (the file system ignores case).
bool SamePath(const std::wstring& a, const std::wstring& b);

// The text of a string id as the wizard loads it (LoadStringW into 1024 characters).
std::wstring LoadText(HMODULE module, UINT id);

// The text of a string id in exactly that language of the module's string table; found is false
// when the table has no block in that language or the id is not in it.
std::wstring FindText(HMODULE module, UINT id, LANGID langId, bool* found);

// The names (ids) of a resource type, and the languages of one resource.
std::vector<ULONG_PTR> ResourceIds(HMODULE module, LPCWSTR type);
std::vector<LANGID> ResourceLanguages(HMODULE module, LPCWSTR type, LPCWSTR name);
std::vector<ULONG_PTR> ResourceTypes(HMODULE module);

// The bytes of a file; empty when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);

} // namespace language_testing

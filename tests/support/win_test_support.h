// Helpers for the in-process tests that run under Wine.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

// A folder of its own below the temporary folder, deleted with everything in it at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path, with a trailing backslash.
    const std::wstring& Path() const { return m_path; }
    // Path of a name inside the folder.
    std::wstring operator/(const std::wstring& name) const { return m_path + name; }

private:
    std::wstring m_path;
};

// Deletes a folder and everything in it; true when it is gone.
bool DeleteTree(const std::wstring& folder);

// Writes bytes to a file, replacing it; creates missing folders.
bool WriteBytes(const std::wstring& path, const std::string& bytes);

// Writes text as UTF-16 with a byte-order mark (the profile functions read it so).
bool WriteUtf16(const std::wstring& path, const std::wstring& text);

// The names in a folder, sorted, without "." and "..".
std::vector<std::wstring> ListFolder(const std::wstring& folder);

// The content of a UTF-16 file without byte-order mark, or an empty text.
std::wstring ReadUtf16File(const std::wstring& path);

// Splits text at separator; a trailing separator makes no empty last part.
std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator);

// The folder of the running test program, with a trailing backslash.
std::wstring ThisProgramFolder();

// The built distribution folder as a Windows path with a trailing backslash.
std::wstring DistFolder();

// Starts a command line and waits for it, at most timeoutMs. Returns the exit code, or -1 when
// it did not start or did not end in time (it is ended then).
long RunAndWait(const std::wstring& commandLine, DWORD timeoutMs = 60000);

// The value of an environment variable, or an empty text.
std::wstring GetEnv(const wchar_t* name);

// Reads a registry string; returns false when it is absent.
bool ReadRegistryString(HKEY root, const std::wstring& key, const std::wstring& name,
                        std::wstring* value, REGSAM view = 0);
// Reads a registry DWORD; returns false when it is absent.
bool ReadRegistryDword(HKEY root, const std::wstring& key, const std::wstring& name, DWORD* value,
                       REGSAM view = 0);

} // namespace testing_support

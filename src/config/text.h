// Bounded text helpers: every fixed buffer of the program is written through these.
#pragma once

#include <cstddef>
#include <cwchar>

// Formats into buffer. On overflow or error the buffer is left empty and the result is false,
// so a cut path can never point somewhere else. Use %ls for wide strings.
bool FormatText(wchar_t* buffer, size_t capacity, const wchar_t* format, ...);

template <size_t N, typename... Args>
bool FormatInto(wchar_t (&buffer)[N], const wchar_t* format, Args... args) {
    return FormatText(buffer, N, format, args...);
}

// Copies source whole; on overflow the buffer is left empty and the result is false.
bool CopyText(wchar_t* buffer, size_t capacity, const wchar_t* source);

template <size_t N> bool CopyInto(wchar_t (&buffer)[N], const wchar_t* source) {
    return CopyText(buffer, N, source);
}

// Copies as much of source as fits (for texts shown to the user, never for paths).
void CopyTextCut(wchar_t* buffer, size_t capacity, const wchar_t* source);

// Appends source; on overflow the buffer keeps its old content and the result is false.
bool AppendText(wchar_t* buffer, size_t capacity, const wchar_t* source);

// Lowers A to Z in place; every other character stays as it is.
void LowerAsciiInPlace(wchar_t* text);

// Compares ignoring the case of A to Z only.
bool EqualsAsciiNoCase(const wchar_t* a, const wchar_t* b);

// Compares two paths or names as the file system and the registry do: ignoring letter case in
// every script.
bool EqualsNameNoCase(const wchar_t* a, const wchar_t* b);

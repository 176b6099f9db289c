#include "config/text.h"

#include <windows.h>

#include <cstdarg>

bool FormatText(wchar_t* buffer, size_t capacity, const wchar_t* format, ...) {
    if (buffer == nullptr || capacity == 0)
        return false;
    // The system's own formatter: it returns -1, or the full capacity without a terminator, when
    // the text does not fit; both count as overflow below.
    va_list args;
    va_start(args, format);
    const int written = _vsnwprintf(buffer, capacity, format, args);
    va_end(args);
    if (written < 0 || static_cast<size_t>(written) >= capacity) {
        buffer[0] = L'\0';
        return false;
    }
    return true;
}

bool CopyText(wchar_t* buffer, size_t capacity, const wchar_t* source) {
    if (buffer == nullptr || capacity == 0)
        return false;
    const size_t length = source ? wcslen(source) : 0;
    if (length >= capacity) {
        buffer[0] = L'\0';
        return false;
    }
    if (length > 0)
        wmemcpy(buffer, source, length);
    buffer[length] = L'\0';
    return true;
}

void CopyTextCut(wchar_t* buffer, size_t capacity, const wchar_t* source) {
    if (buffer == nullptr || capacity == 0)
        return;
    size_t length = source ? wcslen(source) : 0;
    if (length >= capacity)
        length = capacity - 1;
    if (length > 0)
        wmemcpy(buffer, source, length);
    buffer[length] = L'\0';
}

bool AppendText(wchar_t* buffer, size_t capacity, const wchar_t* source) {
    const size_t used = wcsnlen(buffer, capacity);
    if (used >= capacity)
        return false;
    const size_t length = source ? wcslen(source) : 0;
    if (used + length >= capacity)
        return false;
    if (length > 0)
        wmemcpy(buffer + used, source, length);
    buffer[used + length] = L'\0';
    return true;
}

void LowerAsciiInPlace(wchar_t* text) {
    for (; text && *text; ++text) {
        if (*text >= L'A' && *text <= L'Z')
            *text = static_cast<wchar_t>(*text - L'A' + L'a');
    }
}

static wchar_t LowerAscii(wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool EqualsAsciiNoCase(const wchar_t* a, const wchar_t* b) {
    for (;; ++a, ++b) {
        if (LowerAscii(*a) != LowerAscii(*b))
            return false;
        if (*a == L'\0')
            return true;
    }
}

bool EqualsNameNoCase(const wchar_t* a, const wchar_t* b) {
    return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a, -1, b, -1) == CSTR_EQUAL;
}

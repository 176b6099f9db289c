#include "engine/setup_report.h"

#include "config/run_log.h"
#include "config/text.h"

#include <cstdarg>
#include <cwchar>

namespace {

constexpr size_t kTextLength = 1536;

// Formats like FormatInto, but keeps a text too long for its buffer cut: it is for reading.
void FormatCut(wchar_t (&text)[kTextLength], const wchar_t* format, va_list args) {
    const int length = _vsnwprintf(text, kTextLength, format, args);
    if (length < 0 || static_cast<size_t>(length) >= kTextLength)
        wcscpy(text + kTextLength - 4, L"...");
}

} // namespace

void SetupReport::Step(const wchar_t* format, ...) {
    if (m_log == nullptr)
        return;
    wchar_t text[kTextLength] = {};
    va_list args;
    va_start(args, format);
    FormatCut(text, format, args);
    va_end(args);
    Write(text, 0);
}

void SetupReport::Fail(DWORD error, const wchar_t* format, ...) {
    wchar_t text[kTextLength] = {};
    va_list args;
    va_start(args, format);
    FormatCut(text, format, args);
    va_end(args);
    Write(text, error);
    if (m_reason[0] != L'\0')
        return;
    CopyTextCut(m_reason, kReasonLength, text);
    Show(m_reason);
}

void SetupReport::Show(const wchar_t*) {}

void SetupReport::Write(const wchar_t* text, DWORD error) {
    if (m_log == nullptr)
        return;
    if (error == 0) {
        m_log->Line(text);
        return;
    }
    // The system's own words for the error, on the same line.
    wchar_t system[512] = {};
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, system, 512, nullptr);
    size_t end = length < 512 ? length : 0;
    while (end > 0 && (system[end - 1] == L'\r' || system[end - 1] == L'\n' ||
                       system[end - 1] == L' ' || system[end - 1] == L'.'))
        --end;
    system[end] = L'\0';
    m_log->Format(L"%ls -- error %lu: %ls", text, static_cast<unsigned long>(error),
                  system[0] != L'\0' ? system : L"(no text)");
}

#include "config/run_log.h"

#include "config/text.h"

#include <cstdarg>
#include <cwchar>

namespace {

// The longest line the log keeps, and its time stamp.
constexpr size_t kLineLength = 2048;
constexpr size_t kStampLength = 32;

const char kByteOrderMark[] = "\xEF\xBB\xBF";

} // namespace

bool RunLog::Open(const wchar_t* path) {
    if (m_file || path == nullptr || !CopyInto(m_path, path))
        return false;
    // Appending only: two runs (an install, then its uninstaller) may write the same log.
    m_file.Reset(CreateFileW(path, FILE_APPEND_DATA | SYNCHRONIZE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!m_file) {
        m_path[0] = L'\0';
        return false;
    }
    LARGE_INTEGER size = {};
    if (GetFileSizeEx(m_file.Get(), &size) && size.QuadPart == 0) {
        DWORD written = 0;
        WriteFile(m_file.Get(), kByteOrderMark, sizeof(kByteOrderMark) - 1, &written, nullptr);
    }
    return true;
}

void RunLog::Line(const wchar_t* text) {
    if (!m_file)
        return;
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    wchar_t stamp[kStampLength] = {};
    FormatInto(stamp, L"%04u-%02u-%02u %02u:%02u:%02u.%03u  ", now.wYear, now.wMonth, now.wDay,
               now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
    wchar_t line[kLineLength] = {};
    CopyTextCut(line, kLineLength - 3, text);
    // One line stays one line: a reason with a line break in it is joined.
    for (wchar_t* c = line; *c != L'\0'; ++c) {
        if (*c == L'\r' || *c == L'\n')
            *c = L' ';
    }
    AppendText(line, kLineLength, L"\r\n");

    char bytes[(kStampLength + kLineLength) * 3] = {};
    const int stampBytes =
        WideCharToMultiByte(CP_UTF8, 0, stamp, -1, bytes, sizeof(bytes), nullptr, nullptr);
    if (stampBytes <= 0)
        return;
    const int lineBytes =
        WideCharToMultiByte(CP_UTF8, 0, line, -1, bytes + stampBytes - 1,
                            static_cast<int>(sizeof(bytes)) - stampBytes + 1, nullptr, nullptr);
    if (lineBytes <= 0)
        return;
    DWORD written = 0;
    WriteFile(m_file.Get(), bytes, static_cast<DWORD>(stampBytes - 1 + lineBytes - 1), &written,
              nullptr);
}

void RunLog::Format(const wchar_t* format, ...) {
    if (!m_file)
        return;
    wchar_t text[kLineLength] = {};
    va_list args;
    va_start(args, format);
    const int length = _vsnwprintf(text, kLineLength, format, args);
    va_end(args);
    // A text too long for the line is kept cut, with a mark: the log is for reading, not a path.
    if (length < 0 || static_cast<size_t>(length) >= kLineLength)
        wcscpy(text + kLineLength - 5, L"...");
    Line(text);
}

bool DefaultLogPath(wchar_t (&path)[MAX_PATH]) {
    wchar_t folder[MAX_PATH] = {};
    const DWORD length = GetTempPathW(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH) {
        path[0] = L'\0';
        return false;
    }
    return FormatInto(path, L"%lsKvSetup.log", folder);
}

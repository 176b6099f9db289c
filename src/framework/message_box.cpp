#include "framework/message_box.h"

#include "framework/wnd.h"

namespace {

int SystemMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
    return MessageBoxW(owner, text, caption, type);
}

MessageBoxFunction g_showBox = SystemMessageBox;

// The caption of the framework's boxes: the program's file name without its extension, or
// empty when the path cannot be read.
void ProgramName(wchar_t (&name)[MAX_PATH]) {
    name[0] = L'\0';
    wchar_t path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    const wchar_t* start = path;
    for (const wchar_t* p = path; *p; ++p)
        if (*p == L'\\' || *p == L'/')
            start = p + 1;
    lstrcpynW(name, start, MAX_PATH);
    wchar_t* dot = nullptr;
    for (wchar_t* p = name; *p; ++p)
        if (*p == L'.')
            dot = p;
    if (dot)
        *dot = L'\0';
}

} // namespace

int ShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
    return g_showBox(owner, text, caption, type);
}

MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction function) {
    MessageBoxFunction previous = g_showBox;
    g_showBox = function ? function : SystemMessageBox;
    return previous;
}

int AfxMessageBox(const wchar_t* text, UINT type) {
    wchar_t caption[MAX_PATH];
    ProgramName(caption);
    return ShowMessageBox(nullptr, text, caption, type);
}

int CWnd::MessageBox(const wchar_t* text, const wchar_t* caption, UINT type) {
    wchar_t programName[MAX_PATH];
    if (caption == nullptr) {
        ProgramName(programName);
        caption = programName;
    }
    return ShowMessageBox(m_hWnd, text, caption, type);
}

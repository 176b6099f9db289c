#include "framework/message_box.h"

namespace {

int SystemMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
    return MessageBoxW(owner, text, caption, type);
}

MessageBoxFunction g_showBox = SystemMessageBox;

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
    wchar_t path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    const wchar_t* caption = L"";
    if (length > 0 && length < MAX_PATH) {
        wchar_t* name = path;
        for (wchar_t* p = path; *p; ++p)
            if (*p == L'\\' || *p == L'/')
                name = p + 1;
        wchar_t* dot = nullptr;
        for (wchar_t* p = name; *p; ++p)
            if (*p == L'.')
                dot = p;
        if (dot)
            *dot = L'\0';
        caption = name;
    }
    return ShowMessageBox(nullptr, text, caption, type);
}

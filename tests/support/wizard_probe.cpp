// Looks at the windows of the Wine session from outside the setup program, as a user's eyes
// would, and prints what it sees as one line of JSON (UTF-8):
//
//   wizard_probe.exe
//   wizard_probe.exe press ID     besides: clicks the button ID (1: OK) of every message box
//
//   {"screen": [w, h],
//    "wizards": [{"title", "rect", "visible", "region", "progress", "focus", "default",
//                 "controls": {"1000": {"visible", "enabled", "rect", "text", "checked"},
//                              ...}}],
//    "boxes": [{"title", "text", "buttons": [{"id", "text", "rect"}]}],
//    "apps": [{"title", "visible"}]}
//
// A wizard is a top-level dialog with the title (1005) and action (1000) controls; a box is any
// other top-level dialog with a message text (static 65535); an app is a window of the installed
// application's class. Rectangles are in screen coordinates [left, top, right, bottom]. "region"
// is the bounding box of the window's shape in window coordinates, or null without a shape.
// "focus" is the id of the wizard's control that has the keyboard focus (0: none), "default" the
// id of its default button (DM_GETDEFID; 0: none), "checked" a button's BM_GETCHECK.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace {

const int kWizardControls[] = {IDOK, IDCANCEL, 1000, 1001, 1002, 1003, 1004, 1005, 1008};
const wchar_t kApplicationClass[] = L"KorvaneRaidManagerWindow";

std::string Utf8(const std::wstring& text) {
    if (text.empty())
        return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], size,
                        nullptr, nullptr);
    return out;
}

std::string Quoted(const std::wstring& text) {
    std::string out = "\"";
    for (char c : Utf8(text)) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            wsprintfA(escaped, "\\u%04x", static_cast<unsigned char>(c));
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string Bool(BOOL value) {
    return value ? "true" : "false";
}

std::string Rect(const RECT& rect) {
    char text[80];
    wsprintfA(text, "[%d, %d, %d, %d]", rect.left, rect.top, rect.right, rect.bottom);
    return text;
}

// Window texts are read by message, so that another process's controls answer too.
std::wstring TextOf(HWND window) {
    wchar_t buffer[1024] = {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer),
                             SMTO_ABORTIFHUNG, 2000, &length))
        return std::wstring();
    return std::wstring(buffer, length);
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::string DescribeWizard(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    std::string out = "{\"title\": " + Quoted(TextOf(window)) + ", \"rect\": " + Rect(rect) +
                      ", \"visible\": " + Bool(IsWindowVisible(window)) + ", \"region\": ";
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    RECT box = {};
    if (shape != nullptr && GetWindowRgn(window, shape) != ERROR && GetRgnBox(shape, &box) != 0)
        out += Rect(box);
    else
        out += "null";
    if (shape != nullptr)
        DeleteObject(shape);
    DWORD_PTR position = 0;
    SendMessageTimeoutW(GetDlgItem(window, 1003), PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 2000,
                        &position);
    char number[16];
    wsprintfA(number, "%d", static_cast<int>(position));
    out += std::string(", \"progress\": ") + number;
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof(thread);
    int focus = 0;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread) &&
        thread.hwndFocus != nullptr && IsChild(window, thread.hwndFocus))
        focus = GetDlgCtrlID(thread.hwndFocus);
    DWORD_PTR defaultId = 0;
    SendMessageTimeoutW(window, DM_GETDEFID, 0, 0, SMTO_ABORTIFHUNG, 2000, &defaultId);
    wsprintfA(number, "%d", focus);
    out += std::string(", \"focus\": ") + number;
    wsprintfA(number, "%d", HIWORD(defaultId) == DC_HASDEFID ? LOWORD(defaultId) : 0);
    out += std::string(", \"default\": ") + number + ", \"controls\": {";
    bool first = true;
    for (int id : kWizardControls) {
        HWND control = GetDlgItem(window, id);
        if (control == nullptr)
            continue;
        RECT place = {};
        GetWindowRect(control, &place);
        DWORD_PTR checked = 0;
        SendMessageTimeoutW(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &checked);
        wsprintfA(number, "\"%d\": ", id);
        out += (first ? "" : ", ") + std::string(number) +
               "{\"visible\": " + Bool(IsWindowVisible(control)) +
               ", \"enabled\": " + Bool(IsWindowEnabled(control)) + ", \"rect\": " + Rect(place) +
               ", \"text\": " + Quoted(TextOf(control)) +
               ", \"checked\": " + Bool(checked == BST_CHECKED) + "}";
        first = false;
    }
    return out + "}}";
}

BOOL CALLBACK AddButton(HWND child, LPARAM data) {
    wchar_t className[32] = {};
    GetClassNameW(child, className, 32);
    if (lstrcmpiW(className, L"Button") != 0 || !IsWindowVisible(child))
        return TRUE;
    std::string* out = reinterpret_cast<std::string*>(data);
    RECT place = {};
    GetWindowRect(child, &place);
    char id[16];
    wsprintfA(id, "%d", GetDlgCtrlID(child));
    *out += (out->back() == '[' ? "" : ", ") + std::string("{\"id\": ") + id +
            ", \"text\": " + Quoted(TextOf(child)) + ", \"rect\": " + Rect(place) + "}";
    return TRUE;
}

std::string DescribeBox(HWND window, HWND message) {
    std::string buttons = "[";
    EnumChildWindows(window, AddButton, reinterpret_cast<LPARAM>(&buttons));
    return "{\"title\": " + Quoted(TextOf(window)) + ", \"text\": " + Quoted(TextOf(message)) +
           ", \"buttons\": " + buttons + "]}";
}

struct Seen {
    std::vector<std::string> wizards;
    std::vector<std::string> boxes;
    std::vector<std::string> apps;
};

BOOL CALLBACK LookAt(HWND window, LPARAM data) {
    Seen* seen = reinterpret_cast<Seen*>(data);
    const std::wstring className = ClassOf(window);
    if (className == L"#32770") {
        if (GetDlgItem(window, 1005) != nullptr && GetDlgItem(window, 1000) != nullptr)
            seen->wizards.push_back(DescribeWizard(window));
        else if (HWND message = GetDlgItem(window, 0xFFFF))
            seen->boxes.push_back(DescribeBox(window, message));
    } else if (className == kApplicationClass) {
        seen->apps.push_back("{\"title\": " + Quoted(TextOf(window)) +
                             ", \"visible\": " + Bool(IsWindowVisible(window)) + "}");
    }
    return TRUE;
}

std::string List(const std::vector<std::string>& items) {
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i)
        out += (i ? ", " : "") + items[i];
    return out + "]";
}

} // namespace

BOOL CALLBACK PressInBox(HWND window, LPARAM id) {
    if (ClassOf(window) == L"#32770" && GetDlgItem(window, 0xFFFF) != nullptr &&
        GetDlgItem(window, 1005) == nullptr) {
        if (HWND button = GetDlgItem(window, static_cast<int>(id)))
            PostMessageW(button, BM_CLICK, 0, 0);
    }
    return TRUE;
}

int wmain(int count, wchar_t** arguments) {
    if (count == 3 && lstrcmpW(arguments[1], L"press") == 0)
        EnumWindows(PressInBox, _wtoi(arguments[2]));
    Seen seen;
    EnumWindows(LookAt, reinterpret_cast<LPARAM>(&seen));
    char screen[64];
    wsprintfA(screen, "[%d, %d]", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    const std::string line =
        std::string("{\"screen\": ") + screen + ", \"wizards\": " + List(seen.wizards) +
        ", \"boxes\": " + List(seen.boxes) + ", \"apps\": " + List(seen.apps) + "}\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()),
              &written, nullptr);
    return 0;
}

#include "main_window.h"

#include "library_version.h"

namespace {

const wchar_t kWindowClass[] = L"KorvaneRaidManagerWindow";

void Paint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (dc == nullptr)
        return;
    RECT client;
    GetClientRect(window, &client);
    wchar_t title[MAX_PATH] = {};
    GetWindowTextW(window, title, MAX_PATH);
    RECT titleArea = client;
    titleArea.bottom = client.top + (client.bottom - client.top) / 2;
    DrawTextW(dc, title, -1, &titleArea, DT_CENTER | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX);
    RECT versionArea = client;
    versionArea.top = titleArea.bottom;
    DrawTextW(dc, RaidLibraryVersion(), -1, &versionArea,
              DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    EndPaint(window, &paint);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_DESTROY:
        // The window is the program: closing it ends the process, which releases every file.
        PostQuitMessage(0);
        return 0;
    default:
        // WM_CLOSE destroys the window.
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

HWND CreateMainWindow(HINSTANCE instance, const wchar_t* title, int showCommand) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kWindowClass;
    if (RegisterClassExW(&windowClass) == 0)
        return nullptr;
    HWND window = CreateWindowExW(0, kWindowClass, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 480, 240, nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        return nullptr;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return window;
}

#include "framework/wnd.h"

#include "framework/win_app.h"

#include "framework/common_controls_library.h"

namespace {

const UINT_PTR kSubclassId = 0x5E7;
const wchar_t kPlainClassName[] = L"SetupFrameworkWindow";

bool RegisterPlainClass() {
    WNDCLASSEXW info = {};
    info.cbSize = sizeof(info);
    HINSTANCE instance = AfxGetInstanceHandle();
    if (GetClassInfoExW(instance, kPlainClassName, &info))
        return true;
    info.lpfnWndProc = DefWindowProcW;
    info.hInstance = instance;
    info.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    info.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    info.lpszClassName = kPlainClassName;
    return RegisterClassExW(&info) != 0;
}

POINT PointOf(LPARAM lParam) {
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

} // namespace

CWnd::~CWnd() {
    // The window may outlive its object (a test, or an early return): unhook it so no message
    // reaches a destroyed object.
    UnsubclassWindow();
}

CWnd* CWnd::FromHandle(HWND window) {
    DWORD_PTR refData = 0;
    if (window == nullptr ||
        !comctl::GetWindowSubclass(window, SubclassProc, kSubclassId, &refData))
        return nullptr;
    return reinterpret_cast<CWnd*>(refData);
}

BOOL CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style,
                    const RECT& rect, HWND parent, UINT id) {
    if (m_hWnd != nullptr)
        return FALSE;
    if (className == nullptr) {
        if (!RegisterPlainClass())
            return FALSE;
        className = kPlainClassName;
    }
    HMENU menuOrId =
        (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr;
    HWND window = CreateWindowExW(exStyle, className, text, style, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, parent, menuOrId,
                                  AfxGetInstanceHandle(), nullptr);
    if (window == nullptr)
        return FALSE;
    if (!SubclassWindow(window)) {
        ::DestroyWindow(window);
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::SubclassWindow(HWND window) {
    if (m_hWnd != nullptr || window == nullptr || FromHandle(window) != nullptr)
        return FALSE;
    m_hWnd = window;
    PreSubclassWindow();
    if (!comctl::SetWindowSubclass(window, SubclassProc, kSubclassId,
                                   reinterpret_cast<DWORD_PTR>(this))) {
        m_hWnd = nullptr;
        return FALSE;
    }
    return TRUE;
}

HWND CWnd::UnsubclassWindow() {
    HWND window = m_hWnd;
    if (window != nullptr) {
        comctl::RemoveWindowSubclass(window, SubclassProc, kSubclassId);
        m_hWnd = nullptr;
    }
    return window;
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == nullptr)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

void CWnd::GetWindowText(CString& text) const {
    int length = ::GetWindowTextLengthW(m_hWnd);
    if (length <= 0) {
        text.Empty();
        return;
    }
    std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
    int copied = ::GetWindowTextW(m_hWnd, &buffer[0], length + 1);
    text = CString(buffer.c_str(), copied > 0 ? copied : 0);
}

static BOOL ModifyLong(HWND window, int index, DWORD remove, DWORD add, UINT flags) {
    DWORD before = static_cast<DWORD>(GetWindowLongW(window, index));
    DWORD after = (before & ~remove) | add;
    if (before == after)
        return FALSE;
    SetWindowLongW(window, index, static_cast<LONG>(after));
    if (flags != 0)
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) {
    return ModifyLong(m_hWnd, GWL_STYLE, remove, add, flags);
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) {
    return ModifyLong(m_hWnd, GWL_EXSTYLE, remove, add, flags);
}

LRESULT CALLBACK CWnd::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR, DWORD_PTR refData) {
    CWnd* self = reinterpret_cast<CWnd*>(refData);
    if (message == WM_NCDESTROY) {
        // The window is going: let it finish, then forget it.
        LRESULT result = comctl::DefSubclassProc(window, message, wParam, lParam);
        self->UnsubclassWindow();
        return result;
    }
    CurrentMessage current = {message, wParam, lParam};
    const CurrentMessage* outer = self->m_pCurrentMessage;
    self->m_pCurrentMessage = &current;
    LRESULT result = 0;
    try {
        result = self->WindowProc(message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind through the system's code; the message counts as handled.
        result = 0;
    }
    self->m_pCurrentMessage = outer;
    return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<UINT>(wParam), PointOf(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(static_cast<UINT>(wParam), PointOf(lParam));
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(static_cast<UINT>(wParam), PointOf(lParam));
        return 0;
    case WM_MOUSEHOVER:
        OnMouseHover(static_cast<UINT>(wParam), PointOf(lParam));
        return 0;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return 0;
    case WM_SETCURSOR:
        return OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam));
    case WM_SYSCOLORCHANGE:
        OnSysColorChange();
        return 0;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<LRESULT>(OnQueryDragIcon());
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_COMMAND: {
        bool consumed = false;
        LRESULT result = ReflectToChild(message, wParam, lParam, &consumed);
        if (consumed)
            return result;
        if (OnCommand(wParam, lParam))
            return 0;
        return DefWindowProc(message, wParam, lParam);
    }
    case WM_NOTIFY: {
        bool consumed = false;
        LRESULT result = ReflectToChild(message, wParam, lParam, &consumed);
        if (consumed)
            return result;
        result = 0;
        if (OnNotify(wParam, lParam, &result))
            return result;
        return DefWindowProc(message, wParam, lParam);
    }
    case WM_DRAWITEM: {
        bool consumed = false;
        LRESULT result = ReflectToChild(message, wParam, lParam, &consumed);
        if (consumed)
            return result;
        return DefWindowProc(message, wParam, lParam);
    }
    default:
        return DefWindowProc(message, wParam, lParam);
    }
}

LRESULT CWnd::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, bool* consumed) {
    HWND child = nullptr;
    if (message == WM_COMMAND)
        child = reinterpret_cast<HWND>(lParam);
    else if (message == WM_NOTIFY && lParam != 0)
        child = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
    else if (message == WM_DRAWITEM && lParam != 0) {
        const auto* drawItem = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (drawItem->CtlType != ODT_MENU)
            child = drawItem->hwndItem;
    }
    CWnd* childObject = (child != nullptr && child != m_hWnd) ? FromHandle(child) : nullptr;
    LRESULT result = 0;
    *consumed = childObject != nullptr &&
                childObject->OnChildNotify(message, wParam, lParam, &result) != FALSE;
    return result;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
    if (message != WM_DRAWITEM)
        return FALSE;
    DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    *result = TRUE;
    return TRUE;
}

void CWnd::DrawItem(DRAWITEMSTRUCT*) {}

void CWnd::OnPaint() {
    Default();
}
BOOL CWnd::OnEraseBkgnd(HDC) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnTimer(UINT_PTR) {
    Default();
}
void CWnd::OnLButtonDown(UINT, POINT) {
    Default();
}
void CWnd::OnLButtonUp(UINT, POINT) {
    Default();
}
void CWnd::OnMouseMove(UINT, POINT) {
    Default();
}
void CWnd::OnMouseHover(UINT, POINT) {
    Default();
}
void CWnd::OnMouseLeave() {
    Default();
}
BOOL CWnd::OnSetCursor(HWND, UINT, UINT) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnSysColorChange() {
    Default();
}
HCURSOR CWnd::OnQueryDragIcon() {
    return reinterpret_cast<HCURSOR>(Default());
}
void CWnd::OnClose() {
    Default();
}
void CWnd::OnDestroy() {
    Default();
}
BOOL CWnd::OnCommand(WPARAM, LPARAM) {
    return FALSE;
}
BOOL CWnd::OnNotify(WPARAM, LPARAM, LRESULT*) {
    return FALSE;
}

LRESULT CWnd::Default() {
    if (m_pCurrentMessage == nullptr)
        return 0;
    return DefWindowProc(m_pCurrentMessage->message, m_pCurrentMessage->wParam,
                         m_pCurrentMessage->lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_hWnd == nullptr)
        return 0;
    return comctl::DefSubclassProc(m_hWnd, message, wParam, lParam);
}

// CWnd: a window object attached to one HWND, either by creating the window or by subclassing
// an existing one (SetWindowSubclass with `this` as the reference data). Every message goes
// through the one virtual WindowProc, whose switch calls the handler named after the message;
// a handler that does not override calls Default(), the window's own processing. WM_COMMAND,
// WM_NOTIFY and WM_DRAWITEM are first offered to the sending child's object (OnChildNotify,
// DrawItem), so a control can handle its own notifications. No exception leaves a window
// procedure.
#pragma once

#include "framework/string_type.h"

#include <windows.h>

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The object attached to window, or null when it has none.
    static CWnd* FromHandle(HWND window);

    // Creates a window and attaches this object. A null className uses a plain framework class
    // (DefWindowProc behaviour, white background, arrow cursor).
    BOOL CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style,
                  const RECT& rect, HWND parent, UINT id);
    // Attaches this object to an existing window; calls PreSubclassWindow first.
    BOOL SubclassWindow(HWND window);
    // Detaches without destroying the window.
    HWND UnsubclassWindow();
    BOOL DestroyWindow();

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    void SetWindowText(const wchar_t* text) { ::SetWindowTextW(m_hWnd, text); }
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }

    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE)); }
    // Removes then adds style bits; TRUE when the style changed. flags, when not 0, are passed
    // to SetWindowPos (with SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE).
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);

    void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
    void GetWindowRect(RECT* rect) const { ::GetWindowRect(m_hWnd, rect); }
    BOOL MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE) {
        return ::MoveWindow(m_hWnd, x, y, width, height, repaint);
    }
    BOOL SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
        return ::SetWindowPos(m_hWnd, insertAfter, x, y, cx, cy, flags);
    }

    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void InvalidateRect(const RECT* rect, BOOL erase = TRUE) {
        ::InvalidateRect(m_hWnd, rect, erase);
    }
    BOOL RedrawWindow(const RECT* rect = nullptr, HRGN region = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE) {
        return ::RedrawWindow(m_hWnd, rect, region, flags);
    }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }

    UINT_PTR SetTimer(UINT_PTR id, UINT elapse) { return ::SetTimer(m_hWnd, id, elapse, nullptr); }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::PostMessageW(m_hWnd, message, wParam, lParam);
    }

    // A message box owned by this window, so that it stays in front of it and the window
    // waits for it; a null caption gives the program's name (message_box.cpp).
    int MessageBox(const wchar_t* text, const wchar_t* caption = nullptr, UINT type = MB_OK);

    void SetFont(HFONT font, BOOL redraw = TRUE) {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
    }
    HFONT GetFont() { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }

    // The one window procedure of every CWnd. Override it to handle a message that has no
    // named handler (for example a private WM_USER message) and call the base for the rest.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // A notification this window sent to its parent (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM),
    // offered to it first. Return TRUE with *result set to consume it; FALSE lets the parent
    // handle it as well. The base draws WM_DRAWITEM through DrawItem and consumes it.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Owner drawing of this control, reached through WM_DRAWITEM sent to the parent.
    virtual void DrawItem(DRAWITEMSTRUCT* drawItem);

    HWND m_hWnd = nullptr;

protected:
    // Called with m_hWnd set, before the window procedure is hooked.
    virtual void PreSubclassWindow() {}

    // Handlers named after their messages; each base calls Default().
    virtual void OnPaint();
    virtual BOOL OnEraseBkgnd(HDC dc);
    virtual void OnTimer(UINT_PTR id);
    virtual void OnLButtonDown(UINT flags, POINT point);
    virtual void OnLButtonUp(UINT flags, POINT point);
    virtual void OnMouseMove(UINT flags, POINT point);
    virtual void OnMouseHover(UINT flags, POINT point);
    virtual void OnMouseLeave();
    virtual BOOL OnSetCursor(HWND window, UINT hitTest, UINT message);
    virtual void OnSysColorChange();
    virtual HCURSOR OnQueryDragIcon();
    virtual void OnClose();
    virtual void OnDestroy();
    // WM_COMMAND not consumed by the child: return TRUE when handled.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_NOTIFY not consumed by the child: return TRUE with *result set when handled.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);

    // The window's own processing of the message being handled.
    LRESULT Default();
    // The window's own processing of any message (the procedure below this object's).
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR refData);
    LRESULT ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, bool* consumed);

    const CurrentMessage* m_pCurrentMessage = nullptr;

    friend class CDialog;
};

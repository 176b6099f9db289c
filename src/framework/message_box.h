// AfxMessageBox and the one function every framework message box goes through (CWnd::MessageBox,
// the box owned by a window, too). Tests replace that function to see what would be shown, and
// its owner, and to answer without a window.
#pragma once

#include <windows.h>

using MessageBoxFunction = int (*)(HWND owner, const wchar_t* text, const wchar_t* caption,
                                   UINT type);

// Shows a box through the current function (MessageBoxW unless replaced).
int ShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);

// Replaces the function; null restores MessageBoxW. Returns the previous one.
MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction function);

// An owner-less box with the program's name (its file name without extension) as caption.
int AfxMessageBox(const wchar_t* text, UINT type = MB_OK);

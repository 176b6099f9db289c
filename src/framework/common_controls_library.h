// The common controls library, loaded when a window first needs it. Setup's silent runs show no
// window, and loading the library at start-up costs them more than the rest of their start.
// The functions here have the library's names and signatures, in namespace comctl.
#pragma once

#include <windows.h>

#include <commctrl.h>

namespace comctl {

// Registers the common control classes named by classes (ICC_ flags). False when the library
// could not be loaded or the call failed.
bool InitCommonControlClasses(DWORD classes);

BOOL SetWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR refData);
BOOL GetWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR* refData);
BOOL RemoveWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id);
LRESULT DefSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Asks for WM_MOUSEHOVER / WM_MOUSELEAVE, as the library's _TrackMouseEvent does (it forwards to
// the system's TrackMouseEvent, which is used here directly).
BOOL TrackMouseEvent(TRACKMOUSEEVENT* request);

} // namespace comctl

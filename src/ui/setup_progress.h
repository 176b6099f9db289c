// The only messages between the worker and the wizard: WM_SETUP_PROGRESS, posted to the dialog
// with a code in the low byte of wParam and, for an end code, the outcome in lParam.
#pragma once

#include <windows.h>

constexpr UINT WM_SETUP_PROGRESS = WM_USER + 100;

enum SetupProgressCode : WPARAM {
    SP_INSTALL_BEGIN = 1,  // installation starts
    SP_INSTALL_END = 2,    // installation has ended; lParam 1 success, anything else failure
    SP_INSTALL_FAILED = 3, // installation failed
    SP_REMOVE_BEGIN = 4,   // removal starts
    SP_REMOVE_END = 5,     // removal has ended; lParam 1 success, anything else failure
    SP_REMOVE_FAILED = 6,  // removal failed
};

// lParam of an end code. Every value but kSetupSucceeded is a failure; kSetupRefused says that
// the sequence refused its inputs and changed nothing.
constexpr LPARAM kSetupSucceeded = 1;
constexpr LPARAM kSetupFailed = 0;
constexpr LPARAM kSetupRefused = 2;

// Resource and control ids of setup.exe, shared by the resource script and the wizard's code.
#pragma once

// Icon of the program and of the wizard's window.
#define IDR_MAINFRAME 128

// The wizard's dialog template.
#define IDD_WIZARD 102

// Controls of the wizard (IDOK and IDCANCEL are the Finish and Cancel buttons).
#define IDC_ACTION 1000
#define IDC_HEADING 1001
#define IDC_DESCRIPTION 1002
#define IDC_PROGRESS 1003
#define IDC_CLOSE 1004
#define IDC_TITLE 1005
#define IDC_LAUNCH 1008

// Skin bitmaps.
#define IDB_BACKGROUND 130
#define IDB_BUTTON_NORMAL 131
#define IDB_BUTTON_PRESSED 132
#define IDB_BUTTON_HOVER 133
#define IDB_CLOSE_NORMAL 134
#define IDB_CLOSE_HOVER 135
#define IDB_CLOSE_DISABLED 136
#define IDB_RADIO_OFF 139
#define IDB_RADIO_ON 140
#define IDB_CHECK_OFF 142
#define IDB_CHECK_ON 143

// The timer that moves the progress bar while the work runs.
#define IDT_PROGRESS 100

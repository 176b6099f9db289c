// A stand-in for a started program that tells the tests how it was started: it appends one line
// "start<TAB>its own path<TAB>its command line" to the file named by SETUP_ECHO_LOG and, after
// SETUP_ECHO_DELAY_MS milliseconds of pretended work, one line "end<TAB>...". The log is the
// service tool stand-in's (UTF-16 without a byte-order mark, so that any path reads back
// unchanged), written by the same code.
#include <windows.h>

#include "run_log.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    if (GetEnvironmentVariableW(L"SETUP_ECHO_LOG", nullptr, 0) == 0)
        return 1;
    NoteRunStart(L"");
    NoteRunEnd();
    return 0;
}

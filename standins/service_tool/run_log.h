// For the tests that need a slow or hanging tool: when SETUP_ECHO_LOG names a file, each run of a
// switch appends "start<TAB>program<TAB>command line" to it before it acts and "end<TAB>..."
// after; SETUP_ECHO_DELAY_MS makes it wait that long before it acts (only for the switch named by
// SETUP_ECHO_DELAY_SWITCH, when that is set). The log is UTF-16 without a byte-order mark; the
// tests' own echo program writes it through these functions too. Without the variables the tool
// behaves as it does for every user.
#pragma once

// Notes the start of a run and waits as the test asked.
void NoteRunStart(const wchar_t* toolSwitch);

// Notes the end of a run.
void NoteRunEnd();

// The usage text, and where it goes: the console setup was started from, when there is one.
#pragma once

// Every switch and every exit code, in English (administrators read it).
const wchar_t* UsageText();

// Writes text to setup's standard output when it has one (a file or a pipe of the program that
// started it), else to the console of the program that started it. False when there is neither:
// setup was started from a desktop, not a command prompt.
bool WriteToStartingConsole(const wchar_t* text);

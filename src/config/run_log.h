// The log of setup's runs: a UTF-8 text file, with a byte-order mark when it is new, to which every
// run appends its lines, each starting with the local time. Deployment tools run setup with nobody
// watching; the log is what an administrator reads afterwards. A log that cannot be opened or
// written never stops a run.
#pragma once

#include "config/handles.h"

#include <windows.h>

class RunLog {
public:
    RunLog() = default;
    RunLog(const RunLog&) = delete;
    RunLog& operator=(const RunLog&) = delete;

    // Opens path for appending, creating it (and its byte-order mark) when it does not exist.
    // False when it cannot be opened: the lines are then dropped.
    bool Open(const wchar_t* path);

    // The log's path, empty when it is not open.
    const wchar_t* Path() const { return m_path; }

    // One line: the time, two blanks, the text (cut at 2,000 characters). Each line is appended
    // with a single write, so that lines from two threads or two runs never mix.
    void Line(const wchar_t* text);

    // A formatted line (bounded, like every text of the program).
    void Format(const wchar_t* format, ...);

private:
    ScopedHandle m_file;
    wchar_t m_path[MAX_PATH] = {};
};

// The log's place when no path is given: the user's temporary folder, "KvSetup.log". False (and
// an empty path) when the folder does not fit.
bool DefaultLogPath(wchar_t (&path)[MAX_PATH]);

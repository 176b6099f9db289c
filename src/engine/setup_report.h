// What the sequences tell about their work. Every step goes into the run's log; the first failure
// of a run becomes its reason, which the caller shows again (the wizard's failed state) and which
// reaches the user the way the run decided: a box in the wizard modes, nothing in the silent
// ones. One report serves one run; the sequences take it as an argument and keep nothing.
#pragma once

#include <windows.h>

class RunLog;

class SetupReport {
public:
    // log may be null: the steps are then not written anywhere.
    explicit SetupReport(RunLog* log) : m_log(log) {}
    virtual ~SetupReport() = default;
    SetupReport(const SetupReport&) = delete;
    SetupReport& operator=(const SetupReport&) = delete;

    // A step that was taken: one line in the log.
    void Step(const wchar_t* format, ...);

    // A step that failed: one line in the log with the system's error (0 for none) and its
    // text. The first failure of the run is its reason, and is shown.
    void Fail(DWORD error, const wchar_t* format, ...);

    // The run's reason: its first failure, or empty.
    const wchar_t* Reason() const { return m_reason; }

    // Reasons fit a buffer of this many characters.
    static constexpr size_t kReasonLength = 1024;

protected:
    // How a reason reaches the user. Nothing here: the silent modes only log.
    virtual void Show(const wchar_t* reason);

private:
    void Write(const wchar_t* text, DWORD error);

    RunLog* m_log;
    wchar_t m_reason[kReasonLength] = {};
};

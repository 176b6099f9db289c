// What the service manager says about the service that the service tool registers. Setup never
// takes the tool's word for it: after the tool has run, the service manager tells whether the
// service is there and runs, and the removal can delete a service by name when the tool is gone.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

enum class ServiceState { kMissing, kStopped, kRunning, kChanging, kUnknown };

// A service whose program is a copy of the service tool.
struct ToolService {
    std::wstring name;
    std::wstring program;     // the program of its command line, full path
    std::wstring commandLine; // its whole command line, as registered
};

// The registered services whose program file is named toolFileName, in any folder.
std::vector<ToolService> FindToolServices(const wchar_t* toolFileName);

// The service among those whose program is programPath exactly (letter case ignored); false when
// there is none.
bool FindServiceOfProgram(const std::vector<ToolService>& services, const wchar_t* programPath,
                          ToolService* found);

ServiceState QueryServiceState(const wchar_t* name);

// The program of the service's command line as the service manager holds it; false when the
// service does not exist.
bool QueryServiceProgram(const wchar_t* name, std::wstring* program);

// Waits, at most timeoutMs, for a service that is starting to run. True when it runs.
bool WaitForServiceRunning(const wchar_t* name, DWORD timeoutMs);

// Stops the service and waits, at most timeoutMs, until it has stopped and its program has ended.
// True when it is stopped (also when it was not running, or does not exist).
bool StopService(const wchar_t* name, DWORD timeoutMs);

// Stops the service, waits for it to stop and deletes it, all within timeoutMs. True when the
// service is gone (also when it never existed).
bool StopAndDeleteService(const wchar_t* name, DWORD timeoutMs);

// Points the service at commandLine again and, when start, starts it: what an install undoes
// after taking over a service that another installation registered.
bool RestoreServiceCommandLine(const wchar_t* name, const wchar_t* commandLine, bool start);

// The program part of a command line: the quoted first part, or the text up to and including
// ".exe", or up to the first blank.
std::wstring ProgramOfCommandLine(const std::wstring& commandLine);

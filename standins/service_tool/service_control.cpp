#include "service_control.h"

#include "config/handles.h"
#include "config/text.h"
#include "service_names.h"

#include <windows.h>

#include <cwchar>

namespace {

// Each switch finishes within this time, well inside what the setup waits for the tool.
constexpr DWORD kSwitchTimeLimitMs = 20000;
// Between two looks at the service's state.
constexpr DWORD kPollIntervalMs = 5;

class Deadline {
public:
    explicit Deadline(DWORD milliseconds) : m_start(GetTickCount()), m_length(milliseconds) {}
    DWORD Remaining() const {
        const DWORD elapsed = GetTickCount() - m_start;
        return elapsed >= m_length ? 0 : m_length - elapsed;
    }
    bool Passed() const { return Remaining() == 0; }

private:
    DWORD m_start;
    DWORD m_length;
};

bool QueryStatus(SC_HANDLE service, SERVICE_STATUS_PROCESS& status) {
    DWORD needed = 0;
    return QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                                sizeof(status), &needed) != FALSE;
}

// Waits until the service reports wanted; false when it stops instead, or time runs out.
bool WaitForState(SC_HANDLE service, DWORD wanted, const Deadline& deadline) {
    for (;;) {
        SERVICE_STATUS_PROCESS status = {};
        if (!QueryStatus(service, status))
            return false;
        if (status.dwCurrentState == wanted)
            return true;
        if (status.dwCurrentState == SERVICE_STOPPED || deadline.Passed())
            return false;
        Sleep(kPollIntervalMs);
    }
}

// Stops the service and waits until its process has ended, so that none of its files is in use
// any more. service needs SERVICE_STOP and SERVICE_QUERY_STATUS.
bool StopAndWait(SC_HANDLE service, const Deadline& deadline) {
    SERVICE_STATUS_PROCESS status = {};
    if (!QueryStatus(service, status))
        return false;
    if (status.dwCurrentState == SERVICE_STOPPED)
        return true;
    // Held from before the stop request, so the handle is that of the service's own process.
    HANDLE process =
        status.dwProcessId != 0 ? OpenProcess(SYNCHRONIZE, FALSE, status.dwProcessId) : nullptr;
    SERVICE_STATUS ignored = {};
    // A service still starting or already stopping cannot take the request: it is waited for.
    ControlService(service, SERVICE_CONTROL_STOP, &ignored);
    bool stopped = WaitForState(service, SERVICE_STOPPED, deadline);
    if (process != nullptr) {
        stopped = stopped && WaitForSingleObject(process, deadline.Remaining()) == WAIT_OBJECT_0;
        CloseHandle(process);
    }
    return stopped;
}

bool GetServiceCommandLine(wchar_t (&commandLine)[1024]) {
    wchar_t programPath[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, programPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    return FormatInto(commandLine, L"\"%ls\" %ls", programPath, kServiceModeSwitch);
}

} // namespace

bool InstallAndStartService() {
    const Deadline deadline(kSwitchTimeLimitMs);
    wchar_t commandLine[1024] = {};
    if (!GetServiceCommandLine(commandLine))
        return false;
    ScopedServiceHandle manager(
        OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT | SC_MANAGER_CREATE_SERVICE));
    if (!manager)
        return false;
    const DWORD access = SERVICE_START | SERVICE_QUERY_STATUS | SERVICE_CHANGE_CONFIG;
    ScopedServiceHandle service(
        CreateServiceW(manager.Get(), kServiceName, kServiceDisplayName, access,
                       SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL,
                       commandLine, nullptr, nullptr, nullptr, nullptr, nullptr));
    if (!service) {
        if (GetLastError() != ERROR_SERVICE_EXISTS)
            return false;
        // Installed before, perhaps from another folder: this copy of the tool is the service now.
        ScopedServiceHandle existing(OpenServiceW(manager.Get(), kServiceName, access));
        if (!existing ||
            !ChangeServiceConfigW(existing.Get(), SERVICE_NO_CHANGE, SERVICE_AUTO_START,
                                  SERVICE_NO_CHANGE, commandLine, nullptr, nullptr, nullptr,
                                  nullptr, nullptr, kServiceDisplayName))
            return false;
        return (StartServiceW(existing.Get(), 0, nullptr) ||
                GetLastError() == ERROR_SERVICE_ALREADY_RUNNING) &&
               WaitForState(existing.Get(), SERVICE_RUNNING, deadline);
    }
    return StartServiceW(service.Get(), 0, nullptr) &&
           WaitForState(service.Get(), SERVICE_RUNNING, deadline);
}

bool StopService() {
    const Deadline deadline(kSwitchTimeLimitMs);
    ScopedServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager)
        return false;
    ScopedServiceHandle service(
        OpenServiceW(manager.Get(), kServiceName, SERVICE_STOP | SERVICE_QUERY_STATUS));
    if (!service)
        return GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST;
    return StopAndWait(service.Get(), deadline);
}

bool DeleteServiceEntry() {
    const Deadline deadline(kSwitchTimeLimitMs);
    ScopedServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager)
        return false;
    {
        ScopedServiceHandle service(OpenServiceW(manager.Get(), kServiceName,
                                                 DELETE | SERVICE_STOP | SERVICE_QUERY_STATUS));
        if (!service)
            return GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST;
        // A running service would keep this program's file in use after its entry is gone.
        StopAndWait(service.Get(), deadline);
        if (!DeleteService(service.Get()) && GetLastError() != ERROR_SERVICE_MARKED_FOR_DELETE)
            return false;
    }
    // The entry goes once the last handle to it is closed.
    for (;;) {
        ScopedServiceHandle service(
            OpenServiceW(manager.Get(), kServiceName, SERVICE_QUERY_STATUS));
        if (!service)
            return GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST;
        if (deadline.Passed())
            return false;
        Sleep(kPollIntervalMs);
    }
}

#include "service_main.h"

#include "service_names.h"

#include <windows.h>

namespace {

// The service keeps no state of its own beyond its status and the event that ends it; the
// service manager calls the handler on another thread than the one that waits.
SERVICE_STATUS_HANDLE statusHandle = nullptr;
HANDLE stopRequested = nullptr;

void ReportState(DWORD state, DWORD exitCode = NO_ERROR) {
    SERVICE_STATUS status = {};
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    status.dwControlsAccepted =
        state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN : 0;
    status.dwWin32ExitCode = exitCode;
    status.dwWaitHint = state == SERVICE_RUNNING || state == SERVICE_STOPPED ? 0 : 2000;
    SetServiceStatus(statusHandle, &status);
}

DWORD WINAPI ControlHandler(DWORD control, DWORD, void*, void*) {
    switch (control) {
    case SERVICE_CONTROL_STOP:
    case SERVICE_CONTROL_SHUTDOWN:
        ReportState(SERVICE_STOP_PENDING);
        SetEvent(stopRequested);
        return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
        return NO_ERROR;
    default:
        return ERROR_CALL_NOT_IMPLEMENTED;
    }
}

void WINAPI ServiceMain(DWORD, LPWSTR*) {
    statusHandle = RegisterServiceCtrlHandlerExW(kServiceName, ControlHandler, nullptr);
    if (statusHandle == nullptr)
        return;
    ReportState(SERVICE_START_PENDING);
    stopRequested = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (stopRequested == nullptr) {
        ReportState(SERVICE_STOPPED, GetLastError());
        return;
    }
    ReportState(SERVICE_RUNNING);
    // The monitor has nothing to watch in this build: it waits, for as long as the service runs,
    // to be told to stop.
    WaitForSingleObject(stopRequested, INFINITE);
    CloseHandle(stopRequested);
    stopRequested = nullptr;
    ReportState(SERVICE_STOPPED);
}

} // namespace

int RunAsService() {
    // The dispatcher only reads the name; the table's type asks for a writable one.
    const SERVICE_TABLE_ENTRYW services[] = {{const_cast<LPWSTR>(kServiceName), ServiceMain},
                                             {nullptr, nullptr}};
    return StartServiceCtrlDispatcherW(services) ? 0 : 1;
}

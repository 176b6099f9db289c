#include "engine/service_manager.h"

#include "config/text.h"
#include "config/handles.h"
#include "engine/registry_values.h"

#include <cwchar>

namespace {

// Between two looks at a service that is changing its state.
constexpr DWORD kPollIntervalMs = 10;

const wchar_t kServicesKey[] = L"SYSTEM\\CurrentControlSet\\Services";

class Deadline {
public:
    explicit Deadline(DWORD milliseconds) : m_end(GetTickCount64() + milliseconds) {}
    bool Passed() const { return GetTickCount64() >= m_end; }
    DWORD Remaining() const {
        const ULONGLONG now = GetTickCount64();
        return now >= m_end ? 0 : static_cast<DWORD>(m_end - now);
    }

private:
    ULONGLONG m_end;
};

const wchar_t* FileNameOf(const std::wstring& path) {
    const size_t separator = path.find_last_of(L"\\/");
    return path.c_str() + (separator == std::wstring::npos ? 0 : separator + 1);
}

ServiceState StateOf(DWORD current) {
    switch (current) {
    case SERVICE_STOPPED:
        return ServiceState::kStopped;
    case SERVICE_RUNNING:
        return ServiceState::kRunning;
    default:
        return ServiceState::kChanging;
    }
}

ScopedServiceHandle OpenManager() {
    return ScopedServiceHandle(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
}

// The command line a service key holds, expanded the way the service manager expands it.
bool ReadCommandLine(HKEY services, const wchar_t* name, std::wstring* commandLine) {
    ScopedRegKey service;
    if (RegOpenKeyExW(services, name, 0, KEY_QUERY_VALUE, service.Receive()) != ERROR_SUCCESS)
        return false;
    std::wstring raw;
    if (!ReadStringValue(service.Get(), L"ImagePath", &raw))
        return false;
    wchar_t expanded[1024] = {};
    const DWORD length = ExpandEnvironmentStringsW(raw.c_str(), expanded, 1024);
    *commandLine = (length == 0 || length > 1024) ? raw : std::wstring(expanded);
    return true;
}

} // namespace

std::wstring ProgramOfCommandLine(const std::wstring& commandLine) {
    if (!commandLine.empty() && commandLine[0] == L'"') {
        const size_t end = commandLine.find(L'"', 1);
        return commandLine.substr(1, end == std::wstring::npos ? std::wstring::npos : end - 1);
    }
    for (size_t at = 0; at + 4 <= commandLine.size(); ++at) {
        if (EqualsAsciiNoCase(commandLine.substr(at, 4).c_str(), L".exe") &&
            (at + 4 == commandLine.size() || commandLine[at + 4] == L' '))
            return commandLine.substr(0, at + 4);
    }
    return commandLine.substr(0, commandLine.find(L' '));
}

std::vector<ToolService> FindToolServices(const wchar_t* toolFileName) {
    std::vector<ToolService> found;
    ScopedRegKey services;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kServicesKey, 0, KEY_ENUMERATE_SUB_KEYS,
                      services.Receive()) != ERROR_SUCCESS)
        return found;
    // Service names are at most 256 characters.
    wchar_t name[257] = {};
    for (DWORD index = 0;; ++index) {
        DWORD length = 257;
        if (RegEnumKeyExW(services.Get(), index, name, &length, nullptr, nullptr, nullptr,
                          nullptr) != ERROR_SUCCESS)
            break;
        ToolService service;
        if (!ReadCommandLine(services.Get(), name, &service.commandLine))
            continue;
        service.program = ProgramOfCommandLine(service.commandLine);
        if (!EqualsNameNoCase(FileNameOf(service.program), toolFileName))
            continue;
        service.name = name;
        found.push_back(service);
    }
    return found;
}

bool FindServiceOfProgram(const std::vector<ToolService>& services, const wchar_t* programPath,
                          ToolService* found) {
    for (const ToolService& service : services) {
        if (EqualsNameNoCase(service.program.c_str(), programPath)) {
            *found = service;
            return true;
        }
    }
    return false;
}

ServiceState QueryServiceState(const wchar_t* name) {
    const ScopedServiceHandle manager = OpenManager();
    if (!manager)
        return ServiceState::kUnknown;
    const ScopedServiceHandle service(OpenServiceW(manager.Get(), name, SERVICE_QUERY_STATUS));
    if (!service)
        return GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST ? ServiceState::kMissing
                                                              : ServiceState::kUnknown;
    SERVICE_STATUS status = {};
    if (!QueryServiceStatus(service.Get(), &status))
        return ServiceState::kUnknown;
    return StateOf(status.dwCurrentState);
}

bool QueryServiceProgram(const wchar_t* name, std::wstring* program) {
    const ScopedServiceHandle manager = OpenManager();
    const ScopedServiceHandle service(
        manager ? OpenServiceW(manager.Get(), name, SERVICE_QUERY_CONFIG) : nullptr);
    if (!service)
        return false;
    DWORD needed = 0;
    QueryServiceConfigW(service.Get(), nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed + sizeof(QUERY_SERVICE_CONFIGW));
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data());
    if (!QueryServiceConfigW(service.Get(), config, static_cast<DWORD>(buffer.size()), &needed) ||
        config->lpBinaryPathName == nullptr)
        return false;
    *program = ProgramOfCommandLine(config->lpBinaryPathName);
    return true;
}

bool WaitForServiceRunning(const wchar_t* name, DWORD timeoutMs) {
    const Deadline deadline(timeoutMs);
    for (;;) {
        const ServiceState state = QueryServiceState(name);
        if (state == ServiceState::kRunning)
            return true;
        if (state != ServiceState::kChanging || deadline.Passed())
            return false;
        Sleep(kPollIntervalMs);
    }
}

namespace {

// Stops an open service (SERVICE_STOP and SERVICE_QUERY_STATUS) and waits until its program has
// ended, so that its files are free.
bool StopOpenService(SC_HANDLE service, const wchar_t* name, const Deadline& deadline) {
    SERVICE_STATUS_PROCESS status = {};
    DWORD needed = 0;
    if (!QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                              sizeof(status), &needed))
        return false;
    if (status.dwCurrentState == SERVICE_STOPPED)
        return true;
    // Held from before the request: its end is when the program's file is free.
    const ScopedHandle process(
        status.dwProcessId != 0 ? OpenProcess(SYNCHRONIZE, FALSE, status.dwProcessId) : nullptr);
    SERVICE_STATUS ignored = {};
    ControlService(service, SERVICE_CONTROL_STOP, &ignored);
    while (QueryServiceState(name) != ServiceState::kStopped) {
        if (deadline.Passed())
            return false;
        Sleep(kPollIntervalMs);
    }
    return !process || WaitForSingleObject(process.Get(), deadline.Remaining()) == WAIT_OBJECT_0;
}

} // namespace

bool StopService(const wchar_t* name, DWORD timeoutMs) {
    const Deadline deadline(timeoutMs);
    const ScopedServiceHandle manager = OpenManager();
    const ScopedServiceHandle service(
        manager ? OpenServiceW(manager.Get(), name, SERVICE_STOP | SERVICE_QUERY_STATUS) : nullptr);
    if (!service)
        return manager && GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST;
    return StopOpenService(service.Get(), name, deadline);
}

bool StopAndDeleteService(const wchar_t* name, DWORD timeoutMs) {
    const Deadline deadline(timeoutMs);
    const ScopedServiceHandle manager = OpenManager();
    if (!manager)
        return false;
    {
        const ScopedServiceHandle service(
            OpenServiceW(manager.Get(), name, SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE));
        if (!service)
            return GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST;
        // A service that does not stop in time is deleted all the same: it goes when it stops.
        StopOpenService(service.Get(), name, deadline);
        if (!DeleteService(service.Get()) && GetLastError() != ERROR_SERVICE_MARKED_FOR_DELETE)
            return false;
    }
    // The entry goes once the last handle to it is closed.
    for (;;) {
        const ServiceState state = QueryServiceState(name);
        if (state == ServiceState::kMissing)
            return true;
        if (deadline.Passed())
            return false;
        Sleep(kPollIntervalMs);
    }
}

bool RestoreServiceCommandLine(const wchar_t* name, const wchar_t* commandLine, bool start) {
    const ScopedServiceHandle manager = OpenManager();
    const ScopedServiceHandle service(
        manager ? OpenServiceW(manager.Get(), name, SERVICE_CHANGE_CONFIG | SERVICE_START)
                : nullptr);
    if (!service || !ChangeServiceConfigW(service.Get(), SERVICE_NO_CHANGE, SERVICE_NO_CHANGE,
                                          SERVICE_NO_CHANGE, commandLine, nullptr, nullptr, nullptr,
                                          nullptr, nullptr, nullptr))
        return false;
    return !start || StartServiceW(service.Get(), 0, nullptr) ||
           GetLastError() == ERROR_SERVICE_ALREADY_RUNNING;
}

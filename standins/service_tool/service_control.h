// What the tool's switches do to the service. Each returns true on success.
#pragma once

// "-i": registers the service (started automatically, its program this tool in service mode)
// and starts it; an older registration is pointed at this copy of the tool.
bool InstallAndStartService();

// "-k": stops the service and waits until its process has ended. A service that is not there or
// not running counts as stopped.
bool StopService();

// "-u": deletes the service, stopping it first when it runs, and waits until it is gone. A
// service that is not there counts as deleted.
bool DeleteServiceEntry();

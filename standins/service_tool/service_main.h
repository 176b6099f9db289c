// The service itself: this program started by the service manager with the service-mode switch.
#pragma once

// Connects to the service manager and runs until the service is told to stop. Returns the
// process exit code.
int RunAsService();

// Process exit codes, in the conventions that deployment tools read.
#pragma once

constexpr int kExitSuccess = 0;
constexpr int kExitUserLeft = 1602;       // the user left a wizard before its work ran
constexpr int kExitFailure = 1603;        // an install or removal failed
constexpr int kExitAlreadyRunning = 1618; // another copy of setup is running
constexpr int kExitNoScreen = 1621;       // a wizard was asked for where nobody sees windows
constexpr int kExitBadCommandLine = 1639; // the command line is not understood

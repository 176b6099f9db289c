// The version of setup.exe, shared by its version resource.
#pragma once

#define SETUP_VERSION_NUMBERS 1, 0, 0, 0
#define SETUP_VERSION_TEXT "1.0.0.0"

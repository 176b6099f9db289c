// The installed-programs entry and, below NT 6, the Run value.
#pragma once

#include "config/install_config.h"

// Writes the entries; a failure to write a required value is reported and gives FALSE. FALSE
// also, without a message, when the installed-programs key cannot be created.
BOOL WriteRegistration(const InstallConfig& config);

// Deletes the application's installed-programs key and, below NT 6, its Run value.
void RemoveRegistration(const InstallConfig& config);

// The size of the files directly in installDir and in its Uninstall folder, in kilobytes,
// rounded up: the "EstimatedSize" of the installed-programs entry.
DWORD InstalledSizeInKilobytes(const wchar_t* installDir);

// Writes one registry value; has the signature of RegSetValueExW.
using RegistryValueWriter = LONG(WINAPI*)(HKEY key, LPCWSTR name, DWORD reserved, DWORD type,
                                          const BYTE* data, DWORD size);

// For the tests only: every value of WriteRegistration is written through writer, so that a test
// can refuse a chosen value (Wine never refuses a write). Null restores RegSetValueExW.
void SetRegistryValueWriterForTesting(RegistryValueWriter writer);

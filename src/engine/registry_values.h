// Reading and writing single registry values of an open key. Every value the engine writes goes
// through here, so that a test can refuse a chosen one (Wine never refuses a write).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Each returns ERROR_SUCCESS or the registry's error.
LONG WriteStringValue(HKEY key, const wchar_t* name, const wchar_t* data);
LONG WriteMultiStringValue(HKEY key, const wchar_t* name, const std::vector<std::wstring>& list);
LONG WriteDwordValue(HKEY key, const wchar_t* name, DWORD data);

// False when the value is missing or of another type.
bool ReadStringValue(HKEY key, const wchar_t* name, std::wstring* data);
bool ReadMultiStringValue(HKEY key, const wchar_t* name, std::vector<std::wstring>* list);

// One value as it was: enough to put it back exactly.
struct SavedValue {
    std::wstring name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

// Every value of the key, to put back with RestoreValues.
bool SaveValues(HKEY key, std::vector<SavedValue>* values);

// Makes the key hold exactly the saved values again: values written since are deleted.
bool RestoreValues(HKEY key, const std::vector<SavedValue>& values);

// Writes one registry value; has the signature of RegSetValueExW.
using RegistryValueWriter = LONG(WINAPI*)(HKEY key, LPCWSTR name, DWORD reserved, DWORD type,
                                          const BYTE* data, DWORD size);

// For the tests only: every value the engine writes goes through writer, so that a test can
// refuse a chosen value. Null restores RegSetValueExW.
void SetRegistryValueWriterForTesting(RegistryValueWriter writer);

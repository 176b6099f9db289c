#include "engine/registry_values.h"

#include <cstring>
#include <cwchar>

namespace {

RegistryValueWriter g_writeValue = RegSetValueExW;

LONG WriteRaw(HKEY key, const wchar_t* name, DWORD type, const void* data, size_t size) {
    if (size > 0xFFFFFFFFu)
        return ERROR_INVALID_PARAMETER;
    return g_writeValue(key, name, 0, type, static_cast<const BYTE*>(data),
                        static_cast<DWORD>(size));
}

// The value's bytes, whatever its type; false when it is missing.
bool ReadRaw(HKEY key, const wchar_t* name, DWORD* type, std::vector<BYTE>* data) {
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, type, nullptr, &size) != ERROR_SUCCESS)
        return false;
    // A value may grow between the two calls: read again with the size the second call reports.
    for (int attempt = 0; attempt < 4; ++attempt) {
        data->assign(size + sizeof(wchar_t) * 2, 0);
        DWORD read = size;
        const LONG result = RegQueryValueExW(key, name, nullptr, type, data->data(), &read);
        if (result == ERROR_SUCCESS) {
            data->resize(read);
            return true;
        }
        if (result != ERROR_MORE_DATA)
            return false;
        size = read;
    }
    return false;
}

// The characters of a string value's bytes, without the terminators it may or may not carry.
std::wstring CharactersOf(const std::vector<BYTE>& data) {
    std::wstring text(data.size() / sizeof(wchar_t), L'\0');
    if (!text.empty())
        std::memcpy(&text[0], data.data(), text.size() * sizeof(wchar_t));
    return text;
}

} // namespace

LONG WriteStringValue(HKEY key, const wchar_t* name, const wchar_t* data) {
    return WriteRaw(key, name, REG_SZ, data, (wcslen(data) + 1) * sizeof(wchar_t));
}

LONG WriteMultiStringValue(HKEY key, const wchar_t* name, const std::vector<std::wstring>& list) {
    std::wstring data;
    for (const std::wstring& item : list) {
        // An empty item would end the list early for every reader.
        if (item.empty())
            continue;
        data += item;
        data.push_back(L'\0');
    }
    data.push_back(L'\0');
    if (data.size() == 1)
        data.push_back(L'\0');
    return WriteRaw(key, name, REG_MULTI_SZ, data.data(), data.size() * sizeof(wchar_t));
}

LONG WriteDwordValue(HKEY key, const wchar_t* name, DWORD data) {
    return WriteRaw(key, name, REG_DWORD, &data, sizeof(data));
}

bool ReadStringValue(HKEY key, const wchar_t* name, std::wstring* data) {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
    if (!ReadRaw(key, name, &type, &bytes) || (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    std::wstring text = CharactersOf(bytes);
    text.resize(wcsnlen(text.c_str(), text.size()));
    *data = text;
    return true;
}

bool ReadMultiStringValue(HKEY key, const wchar_t* name, std::vector<std::wstring>* list) {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
    list->clear();
    if (!ReadRaw(key, name, &type, &bytes) || type != REG_MULTI_SZ)
        return false;
    const std::wstring text = CharactersOf(bytes);
    size_t begin = 0;
    while (begin < text.size()) {
        const size_t end = text.find(L'\0', begin);
        const size_t stop = end == std::wstring::npos ? text.size() : end;
        if (stop == begin)
            break; // the empty item that ends the list
        list->push_back(text.substr(begin, stop - begin));
        begin = stop + 1;
    }
    return true;
}

bool SaveValues(HKEY key, std::vector<SavedValue>* values) {
    values->clear();
    // Value names are at most 16,383 characters.
    std::wstring name(16384, L'\0');
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        const LONG result =
            RegEnumValueW(key, index, &name[0], &nameLength, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS)
            return true;
        if (result != ERROR_SUCCESS)
            return false;
        SavedValue value;
        value.name.assign(name.c_str(), nameLength);
        if (!ReadRaw(key, value.name.c_str(), &value.type, &value.data))
            return false;
        values->push_back(value);
    }
}

bool RestoreValues(HKEY key, const std::vector<SavedValue>& values) {
    std::vector<SavedValue> now;
    bool restored = SaveValues(key, &now);
    for (const SavedValue& value : now) {
        bool saved = false;
        for (const SavedValue& old : values)
            saved = saved || old.name == value.name;
        if (!saved)
            restored = RegDeleteValueW(key, value.name.c_str()) == ERROR_SUCCESS && restored;
    }
    for (const SavedValue& value : values)
        restored = RegSetValueExW(key, value.name.c_str(), 0, value.type, value.data.data(),
                                  static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS &&
                   restored;
    return restored;
}

void SetRegistryValueWriterForTesting(RegistryValueWriter writer) {
    g_writeValue = writer != nullptr ? writer : RegSetValueExW;
}

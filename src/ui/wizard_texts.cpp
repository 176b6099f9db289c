#include "ui/wizard_texts.h"

#include "config/globals.h"
#include "config/install_config.h"
#include "config/text.h"

#include <cwchar>

namespace {
const wchar_t kInstallSuffix[] = L" - Installation Wizard";
const wchar_t kUninstallSuffix[] = L" - Uninstallation Wizard";
} // namespace

void LoadWizardText(UINT id, wchar_t* buffer, size_t capacity) {
    if (capacity == 0)
        return;
    buffer[0] = L'\0';
    const int length = LoadStringW(g_hLangDll, id, buffer, static_cast<int>(capacity));
    if (length <= 0)
        buffer[0] = L'\0';
}

void BuildWizardCaption(const wchar_t* setupDir, BOOL bUninstall, wchar_t* caption,
                        size_t capacity) {
    if (capacity == 0)
        return;
    caption[0] = L'\0';
    wchar_t iniPath[MAX_PATH] = {};
    // A settings path that does not fit reads as a missing file: the default name applies.
    FormatInto(iniPath, L"%ls%ls", setupDir, kSettingsFileName);
    const DWORD length = GetPrivateProfileStringW(kStartupSection, kAppNameKey, kDefaultAppName,
                                                  caption, static_cast<DWORD>(capacity), iniPath);
    if (length == 0) {
        caption[0] = L'\0';
        return;
    }
    const wchar_t* suffix = bUninstall ? kUninstallSuffix : kInstallSuffix;
    const size_t suffixLength = wcslen(suffix);
    if (capacity <= suffixLength)
        return;
    size_t nameLength = wcsnlen(caption, capacity);
    if (nameLength + suffixLength >= capacity) {
        nameLength = capacity - 1 - suffixLength;
        // Never leave half of a surrogate pair at the cut.
        if (nameLength > 0 && IS_HIGH_SURROGATE(caption[nameLength - 1]))
            --nameLength;
        caption[nameLength] = L'\0';
    }
    AppendText(caption, capacity, suffix);
}

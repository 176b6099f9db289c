#include "ui/wizard_texts.h"

#include "config/globals.h"
#include "config/install_config.h"
#include "config/text.h"

#include <cwchar>

namespace {
// The suffixes of a language library that has none of its own.
const wchar_t kInstallSuffix[] = L" - Installation Wizard";
const wchar_t kUninstallSuffix[] = L" - Uninstallation Wizard";
const size_t kSuffixLength = 64;
} // namespace

void LoadWizardText(UINT id, wchar_t* buffer, size_t capacity) {
    if (capacity == 0)
        return;
    buffer[0] = L'\0';
    const int length = LoadStringW(g_hLangDll, id, buffer, static_cast<int>(capacity));
    if (length <= 0)
        buffer[0] = L'\0';
}

void LoadCaptionSuffix(BOOL bUninstall, wchar_t* suffix, size_t capacity) {
    LoadWizardText(bUninstall ? kTextRemoveSuffix : kTextInstallSuffix, suffix, capacity);
    if (capacity > 0 && suffix[0] == L'\0')
        CopyTextCut(suffix, capacity, bUninstall ? kUninstallSuffix : kInstallSuffix);
}

size_t BuildWizardCaption(const wchar_t* setupDir, BOOL bUninstall, wchar_t* caption,
                          size_t capacity) {
    if (capacity == 0)
        return 0;
    caption[0] = L'\0';
    wchar_t iniPath[MAX_PATH] = {};
    // A settings path that does not fit reads as a missing file: the default name applies.
    FormatInto(iniPath, L"%ls%ls", setupDir, kSettingsFileName);
    const DWORD length = GetPrivateProfileStringW(kStartupSection, kAppNameKey, kDefaultAppName,
                                                  caption, static_cast<DWORD>(capacity), iniPath);
    if (length == 0) {
        caption[0] = L'\0';
        return 0;
    }
    wchar_t suffix[kSuffixLength] = {};
    LoadCaptionSuffix(bUninstall, suffix, kSuffixLength);
    const size_t suffixLength = wcslen(suffix);
    size_t nameLength = wcsnlen(caption, capacity);
    if (capacity <= suffixLength)
        return nameLength;
    if (nameLength + suffixLength >= capacity) {
        nameLength = capacity - 1 - suffixLength;
        // Never leave half of a surrogate pair at the cut.
        if (nameLength > 0 && IS_HIGH_SURROGATE(caption[nameLength - 1]))
            --nameLength;
        caption[nameLength] = L'\0';
    }
    AppendText(caption, capacity, suffix);
    return nameLength;
}

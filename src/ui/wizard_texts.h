// The wizard's texts: string ids 1 to 22 of the language library, and the window caption.
#pragma once

#include <windows.h>

#include <cstddef>

enum WizardTextId : UINT {
    kTextInstall = 1,            // action button, install mode
    kTextCancel = 2,             // Cancel button
    kTextFinish = 3,             // Finish button
    kTextInstallReadyDetail = 4, // description, ready, install
    kTextInstallReady = 5,       // heading, ready, install
    kTextCopyingFiles = 6,       // description, in progress, install
    kTextInstallDone = 7,        // heading, finished, install
    kTextClickFinish = 8,        // description, finished and failed
    kTextInstallFailed = 9,      // heading, failed, install
    kTextRemove = 10,            // action button, uninstall mode
    kTextRemoveReady = 11,       // heading, ready, uninstall
    kTextRemoveReadyDetail = 12, // description, ready, uninstall
    kTextRemovingFiles = 13,     // description, in progress, uninstall
    kTextRemoveFailed = 14,      // heading, failed, uninstall
    kTextRemoveDone = 15,        // heading, finished, uninstall
    kTextInstallRunning = 16,    // heading, in progress, install
    kTextRemoveRunning = 17,     // heading, in progress, uninstall
    kTextLaunchApplication = 20, // launch checkbox
    kTextInstallSuffix = 21,     // caption suffix, install mode (" - Installation Wizard")
    kTextRemoveSuffix = 22,      // caption suffix, uninstall mode (" - Uninstallation Wizard")
};

constexpr size_t kButtonTextLength = 128;
constexpr size_t kLongTextLength = 1024;
constexpr size_t kCaptionLength = MAX_PATH;

// Loads a text from the language library g_hLangDll; an id it lacks gives an empty text.
void LoadWizardText(UINT id, wchar_t* buffer, size_t capacity);

template <size_t N> void LoadWizardText(UINT id, wchar_t (&buffer)[N]) {
    LoadWizardText(id, buffer, N);
}

// The caption's suffix in the wizard's language, with its leading separator; the English
// " - Installation Wizard" or " - Uninstallation Wizard" where the language library has none.
void LoadCaptionSuffix(BOOL bUninstall, wchar_t* suffix, size_t capacity);

// The caption: AppName of setup.ini in setupDir (default "Korvane HW RAID Manager") followed by
// the suffix of LoadCaptionSuffix. An empty AppName gives an empty caption. A name too long for
// the buffer is cut so that the whole suffix still fits. Returns the length of the name part.
size_t BuildWizardCaption(const wchar_t* setupDir, BOOL bUninstall, wchar_t* caption,
                          size_t capacity);

#include "engine/failure_report.h"

#include "config/text.h"

#include <windows.h>

#include <atomic>

namespace {

const wchar_t kFailureCaption[] = L"Fail";

// Set by the main thread before a sequence starts, read by the worker: atomics keep that plain.
std::atomic<bool> failureBoxesShown{true};
std::atomic<FailureObserver> failureObserver{nullptr};

} // namespace

void ReportFailure(const wchar_t* text) {
    if (!failureBoxesShown.load())
        return;
    if (const FailureObserver observer = failureObserver.load()) {
        observer(text);
        return;
    }
    MessageBoxW(nullptr, text, kFailureCaption, MB_OK | MB_ICONEXCLAMATION);
}

void ReportPathFailure(const wchar_t* format, const wchar_t* path) {
    // Room for a whole path and the words around it.
    wchar_t message[MAX_PATH + 64] = {};
    FormatInto(message, format, path);
    ReportFailure(message);
}

void SetFailureBoxesShown(bool shown) {
    failureBoxesShown.store(shown);
}

void SetFailureObserver(FailureObserver observer) {
    failureObserver.store(observer);
}

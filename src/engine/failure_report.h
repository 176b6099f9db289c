// The one place through which the engine shows a failure: a message box owned by nobody, caption
// "Fail", or nothing at all in the silent modes.
#pragma once

// Shows text (caption "Fail", OK button, exclamation icon) unless failure boxes are turned off.
void ReportFailure(const wchar_t* text);

// Reports a failure with one file or folder: format holds one %ls for path.
void ReportPathFailure(const wchar_t* format, const wchar_t* path);

// The silent modes turn the boxes off for the whole run: a silent run never blocks on a box.
void SetFailureBoxesShown(bool shown);

// Receives the text of a failure that would be shown, instead of the box.
using FailureObserver = void (*)(const wchar_t* text);

// For the tests: while an observer is set, every failure that would be shown goes to it and no
// box appears. Failures are not shown, nor observed, while boxes are turned off. Null restores
// the boxes.
void SetFailureObserver(FailureObserver observer);

// The one place through which the engine shows a failure: a message box owned by nobody, caption
// "Fail", or nothing at all in the silent modes.
#pragma once

// Shows text (caption "Fail", OK button, exclamation icon) unless failure boxes are turned off.
void ReportFailure(const wchar_t* text);

// The silent modes turn the boxes off for the whole run: a silent run never blocks on a box.
void SetFailureBoxesShown(bool shown);

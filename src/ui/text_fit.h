// Fitting texts to the wizard's boxes of fixed pixels: measured with the font selected into a
// device context, as DrawText would draw them.
#pragma once

#include <windows.h>

#include <cstddef>

// True when text, drawn with format (DT_WORDBREAK and the like, never DT_CALCRECT), stays inside
// a box of that size: no line wider, no lines lower than the box.
bool TextFitsBox(HDC dc, SIZE box, UINT format, const wchar_t* text);

// A one-line caption in width pixels: the whole caption when it fits; otherwise its first
// nameLength characters (the name) cut and followed by "...", then the rest (the suffix) whole.
// The result goes to fitted (at most capacity characters with the terminator).
void FitCaption(HDC dc, int width, const wchar_t* caption, size_t nameLength, wchar_t* fitted,
                size_t capacity);

// Cuts text in place, at a character and with "..." at the end, until it fits the box as
// TextFitsBox measures it. Returns false when it had to be cut.
bool CutTextToBox(HDC dc, SIZE box, UINT format, wchar_t* text, size_t capacity);

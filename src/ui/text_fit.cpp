#include "ui/text_fit.h"

#include "config/text.h"

#include <cwchar>
#include <string>

namespace {

const wchar_t kEllipsis[] = L"...";

// The length of text cut to at most length characters without splitting a surrogate pair.
size_t WholeCharacters(const wchar_t* text, size_t length) {
    if (length > 0 && IS_HIGH_SURROGATE(text[length - 1]))
        --length;
    return length;
}

int LineWidth(HDC dc, const std::wstring& text) {
    SIZE size = {};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

} // namespace

bool TextFitsBox(HDC dc, SIZE box, UINT format, const wchar_t* text) {
    RECT needed = {0, 0, box.cx, box.cy};
    const int height = DrawTextW(dc, text, -1, &needed, format | DT_CALCRECT);
    return needed.right - needed.left <= box.cx && height <= box.cy;
}

void FitCaption(HDC dc, int width, const wchar_t* caption, size_t nameLength, wchar_t* fitted,
                size_t capacity) {
    CopyTextCut(fitted, capacity, caption);
    const std::wstring whole(caption);
    if (nameLength == 0 || nameLength > whole.size() || LineWidth(dc, whole) <= width)
        return;
    const std::wstring suffix = whole.substr(nameLength);
    // The longest start of the name that leaves room for the ellipsis and the whole suffix; the
    // spaces before the cut go, so that the ellipsis follows the last word shown.
    for (size_t keep = WholeCharacters(caption, nameLength - 1);;) {
        std::wstring name = whole.substr(0, keep);
        while (!name.empty() && name.back() == L' ')
            name.pop_back();
        const std::wstring candidate = name + kEllipsis + suffix;
        if (keep == 0 || LineWidth(dc, candidate) <= width) {
            CopyTextCut(fitted, capacity, candidate.c_str());
            return;
        }
        keep = WholeCharacters(caption, keep - 1);
    }
}

bool CutTextToBox(HDC dc, SIZE box, UINT format, wchar_t* text, size_t capacity) {
    if (TextFitsBox(dc, box, format, text))
        return true;
    const std::wstring whole(text);
    // Binary search for the longest start that fits with the ellipsis: a longer start never
    // needs less room.
    size_t fits = 0;
    size_t tooLong = whole.size();
    while (tooLong - fits > 1) {
        const size_t middle = (fits + tooLong) / 2;
        const std::wstring candidate = whole.substr(0, middle) + kEllipsis;
        if (TextFitsBox(dc, box, format, candidate.c_str()))
            fits = middle;
        else
            tooLong = middle;
    }
    const std::wstring cut = whole.substr(0, WholeCharacters(whole.c_str(), fits)) + kEllipsis;
    CopyTextCut(text, capacity, cut.c_str());
    return false;
}

#include "framework/string_type.h"

int CString::Find(const wchar_t* part, int start) const {
    if (part == nullptr || start < 0 || start > GetLength())
        return -1;
    size_t found = m_text.find(part, static_cast<size_t>(start));
    return found == std::wstring::npos ? -1 : static_cast<int>(found);
}

int CString::Find(wchar_t ch, int start) const {
    if (start < 0 || start > GetLength())
        return -1;
    size_t found = m_text.find(ch, static_cast<size_t>(start));
    return found == std::wstring::npos ? -1 : static_cast<int>(found);
}

CString operator+(const CString& left, const wchar_t* right) {
    CString result(left);
    result += right;
    return result;
}

CString operator+(const wchar_t* left, const CString& right) {
    CString result(left);
    result += right;
    return result;
}

CString operator+(const CString& left, const CString& right) {
    CString result(left);
    result += right;
    return result;
}

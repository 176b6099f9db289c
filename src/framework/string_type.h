// CString: the program's small owning wide-character string. It covers what the dialog and the
// controls need (build, append, search, hand to the API as const wchar_t*) and nothing more;
// fixed buffers stay the rule for paths and settings.
#pragma once

#include <string>

class CString {
public:
    CString() = default;
    CString(const wchar_t* text) : m_text(text ? text : L"") {}
    CString(const wchar_t* text, int length) : m_text(text ? text : L"", text ? length : 0) {}

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    operator const wchar_t*() const { return m_text.c_str(); }
    const wchar_t* GetString() const { return m_text.c_str(); }
    wchar_t GetAt(int index) const { return m_text[static_cast<size_t>(index)]; }

    CString& operator=(const wchar_t* text) {
        m_text = text ? text : L"";
        return *this;
    }
    CString& operator+=(const wchar_t* text) {
        if (text)
            m_text += text;
        return *this;
    }
    CString& operator+=(const CString& other) {
        m_text += other.m_text;
        return *this;
    }
    CString& operator+=(wchar_t ch) {
        m_text += ch;
        return *this;
    }

    // Position of the first occurrence at or after start, or -1.
    int Find(const wchar_t* part, int start = 0) const;
    int Find(wchar_t ch, int start = 0) const;

    bool operator==(const wchar_t* text) const { return m_text == (text ? text : L""); }
    bool operator!=(const wchar_t* text) const { return !(*this == text); }
    bool operator==(const CString& other) const { return m_text == other.m_text; }
    bool operator!=(const CString& other) const { return m_text != other.m_text; }

private:
    std::wstring m_text;
};

CString operator+(const CString& left, const wchar_t* right);
CString operator+(const wchar_t* left, const CString& right);
CString operator+(const CString& left, const CString& right);

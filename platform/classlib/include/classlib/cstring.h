// CString: the class library's ANSI text, with the searching, trimming and printf-style formatting
// that windows and documents use.
#pragma once

#include "classlib/types.h"

#include <string>

class CString {
public:
    CString() = default;
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString(LPCTSTR lpsz);  // null gives an empty text
    CString(LPCTSTR lpch, int nLength);
    CString(TCHAR ch, int nRepeat = 1);
    explicit CString(const std::string& s) : text_(s) {}

    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(LPCTSTR lpsz);
    CString& operator=(TCHAR ch);

    int GetLength() const { return static_cast<int>(text_.size()); }
    BOOL IsEmpty() const { return text_.empty(); }
    void Empty() { text_.clear(); }
    TCHAR GetAt(int nIndex) const { return text_.at(static_cast<size_t>(nIndex)); }
    void SetAt(int nIndex, TCHAR ch) { text_.at(static_cast<size_t>(nIndex)) = ch; }
    TCHAR operator[](int nIndex) const { return GetAt(nIndex); }
    operator LPCTSTR() const { return text_.c_str(); }
    const std::string& str() const { return text_; }

    CString& operator+=(const CString& s);
    CString& operator+=(LPCTSTR lpsz);
    CString& operator+=(TCHAR ch);
    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, LPCTSTR b);
    friend CString operator+(LPCTSTR a, const CString& b);
    friend CString operator+(const CString& a, TCHAR b);

    int Compare(LPCTSTR lpsz) const;        // <0, 0, >0 as strcmp
    int CompareNoCase(LPCTSTR lpsz) const;  // ASCII letters compared without case
    int Collate(LPCTSTR lpsz) const { return Compare(lpsz); }

    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString SpanIncluding(LPCTSTR lpszCharSet) const;
    CString SpanExcluding(LPCTSTR lpszCharSet) const;

    void MakeUpper();
    void MakeLower();
    void MakeReverse();
    int Replace(TCHAR chOld, TCHAR chNew);
    int Replace(LPCTSTR lpszOld, LPCTSTR lpszNew);
    int Remove(TCHAR ch);
    int Insert(int nIndex, TCHAR ch);
    int Insert(int nIndex, LPCTSTR psz);
    int Delete(int nIndex, int nCount = 1);
    void TrimLeft();  // white space
    void TrimLeft(TCHAR chTarget);
    void TrimLeft(LPCTSTR lpszTargets);
    void TrimRight();
    void TrimRight(TCHAR chTarget);
    void TrimRight(LPCTSTR lpszTargets);

    int Find(TCHAR ch, int nStart = 0) const;  // -1 when absent
    int Find(LPCTSTR lpszSub, int nStart = 0) const;
    int ReverseFind(TCHAR ch) const;
    int FindOneOf(LPCTSTR lpszCharSet) const;

    // printf-style; a format that cannot be expanded leaves an empty text.
    void Format(LPCTSTR lpszFormat, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    void FormatV(LPCTSTR lpszFormat, va_list argList);
    // Text of a string-table entry of the resource module; FALSE (text unchanged) when absent.
    // Windows builds only.
    BOOL LoadString(UINT nID);

    // Direct access to a buffer of at least nMinBufLength characters plus the terminator; the
    // text takes its length from the terminator (or nNewLength) at ReleaseBuffer.
    LPTSTR GetBuffer(int nMinBufLength);
    LPTSTR GetBufferSetLength(int nNewLength);
    void ReleaseBuffer(int nNewLength = -1);

private:
    std::string text_;
};

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, LPCTSTR b);
bool operator==(LPCTSTR a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, LPCTSTR b);
bool operator!=(LPCTSTR a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator<(const CString& a, LPCTSTR b);
bool operator>(const CString& a, const CString& b);

// Piece nSub of a text cut at chSep; FALSE (and an empty piece) when there are fewer pieces.
BOOL AfxExtractSubString(CString& rString, LPCTSTR lpszFullString, int iSubString,
                         TCHAR chSep = '\n');

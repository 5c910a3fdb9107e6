// CString: text operations and printf-style formatting, independent of the platform.
#include "classlib/cstring.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

int Clamp(int value, int low, int high) { return std::max(low, std::min(value, high)); }

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

}  // namespace

CString::CString(LPCTSTR lpsz) : text_(lpsz != nullptr ? lpsz : "") {}

CString::CString(LPCTSTR lpch, int nLength) {
    if (lpch != nullptr && nLength > 0) {
        text_.assign(lpch, static_cast<size_t>(nLength));
    }
}

CString::CString(TCHAR ch, int nRepeat) {
    if (nRepeat > 0) {
        text_.assign(static_cast<size_t>(nRepeat), ch);
    }
}

CString& CString::operator=(LPCTSTR lpsz) {
    text_ = lpsz != nullptr ? lpsz : "";
    return *this;
}

CString& CString::operator=(TCHAR ch) {
    text_.assign(1, ch);
    return *this;
}

CString& CString::operator+=(const CString& s) {
    text_ += s.text_;
    return *this;
}

CString& CString::operator+=(LPCTSTR lpsz) {
    if (lpsz != nullptr) {
        text_ += lpsz;
    }
    return *this;
}

CString& CString::operator+=(TCHAR ch) {
    text_ += ch;
    return *this;
}

CString operator+(const CString& a, const CString& b) { return CString(a.text_ + b.text_); }
CString operator+(const CString& a, LPCTSTR b) {
    CString r(a);
    r += b;
    return r;
}
CString operator+(LPCTSTR a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}
CString operator+(const CString& a, TCHAR b) {
    CString r(a);
    r += b;
    return r;
}

int CString::Compare(LPCTSTR lpsz) const { return std::strcmp(text_.c_str(), lpsz ? lpsz : ""); }

int CString::CompareNoCase(LPCTSTR lpsz) const {
    const unsigned char* a = reinterpret_cast<const unsigned char*>(text_.c_str());
    const unsigned char* b = reinterpret_cast<const unsigned char*>(lpsz ? lpsz : "");
    for (;; ++a, ++b) {
        int ca = std::tolower(*a);
        int cb = std::tolower(*b);
        if (ca != cb || ca == 0) {
            return ca - cb;
        }
    }
}

CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength()); }

CString CString::Mid(int nFirst, int nCount) const {
    nFirst = Clamp(nFirst, 0, GetLength());
    nCount = Clamp(nCount, 0, GetLength() - nFirst);
    return CString(text_.substr(static_cast<size_t>(nFirst), static_cast<size_t>(nCount)));
}

CString CString::Left(int nCount) const { return Mid(0, nCount); }

CString CString::Right(int nCount) const {
    nCount = Clamp(nCount, 0, GetLength());
    return Mid(GetLength() - nCount, nCount);
}

CString CString::SpanIncluding(LPCTSTR lpszCharSet) const {
    return Left(static_cast<int>(std::strspn(text_.c_str(), lpszCharSet)));
}

CString CString::SpanExcluding(LPCTSTR lpszCharSet) const {
    return Left(static_cast<int>(std::strcspn(text_.c_str(), lpszCharSet)));
}

void CString::MakeUpper() {
    for (char& c : text_) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
}

void CString::MakeLower() {
    for (char& c : text_) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
}

void CString::MakeReverse() { std::reverse(text_.begin(), text_.end()); }

int CString::Replace(TCHAR chOld, TCHAR chNew) {
    int count = 0;
    for (char& c : text_) {
        if (c == chOld) {
            c = chNew;
            ++count;
        }
    }
    return count;
}

int CString::Replace(LPCTSTR lpszOld, LPCTSTR lpszNew) {
    size_t oldLen = lpszOld != nullptr ? std::strlen(lpszOld) : 0;
    if (oldLen == 0) {
        return 0;
    }
    std::string replacement = lpszNew != nullptr ? lpszNew : "";
    int count = 0;
    size_t pos = 0;
    while ((pos = text_.find(lpszOld, pos, oldLen)) != std::string::npos) {
        text_.replace(pos, oldLen, replacement);
        pos += replacement.size();
        ++count;
    }
    return count;
}

int CString::Remove(TCHAR ch) {
    size_t before = text_.size();
    text_.erase(std::remove(text_.begin(), text_.end(), ch), text_.end());
    return static_cast<int>(before - text_.size());
}

int CString::Insert(int nIndex, TCHAR ch) {
    text_.insert(static_cast<size_t>(Clamp(nIndex, 0, GetLength())), 1, ch);
    return GetLength();
}

int CString::Insert(int nIndex, LPCTSTR psz) {
    if (psz != nullptr) {
        text_.insert(static_cast<size_t>(Clamp(nIndex, 0, GetLength())), psz);
    }
    return GetLength();
}

int CString::Delete(int nIndex, int nCount) {
    nIndex = Clamp(nIndex, 0, GetLength());
    nCount = Clamp(nCount, 0, GetLength() - nIndex);
    text_.erase(static_cast<size_t>(nIndex), static_cast<size_t>(nCount));
    return GetLength();
}

void CString::TrimLeft() {
    size_t n = 0;
    while (n < text_.size() && IsSpace(text_[n])) {
        ++n;
    }
    text_.erase(0, n);
}

void CString::TrimLeft(TCHAR chTarget) {
    size_t n = text_.find_first_not_of(chTarget);
    text_.erase(0, n == std::string::npos ? text_.size() : n);
}

void CString::TrimLeft(LPCTSTR lpszTargets) {
    size_t n = text_.find_first_not_of(lpszTargets != nullptr ? lpszTargets : "");
    text_.erase(0, n == std::string::npos ? text_.size() : n);
}

void CString::TrimRight() {
    while (!text_.empty() && IsSpace(text_.back())) {
        text_.pop_back();
    }
}

void CString::TrimRight(TCHAR chTarget) {
    while (!text_.empty() && text_.back() == chTarget) {
        text_.pop_back();
    }
}

void CString::TrimRight(LPCTSTR lpszTargets) {
    size_t n = text_.find_last_not_of(lpszTargets != nullptr ? lpszTargets : "");
    text_.erase(n == std::string::npos ? 0 : n + 1);
}

int CString::Find(TCHAR ch, int nStart) const {
    if (nStart < 0 || nStart >= GetLength()) {
        return -1;
    }
    size_t pos = text_.find(ch, static_cast<size_t>(nStart));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(LPCTSTR lpszSub, int nStart) const {
    if (lpszSub == nullptr || nStart < 0 || nStart > GetLength()) {
        return -1;
    }
    size_t pos = text_.find(lpszSub, static_cast<size_t>(nStart));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(TCHAR ch) const {
    size_t pos = text_.rfind(ch);
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::FindOneOf(LPCTSTR lpszCharSet) const {
    size_t pos = text_.find_first_of(lpszCharSet != nullptr ? lpszCharSet : "");
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

void CString::Format(LPCTSTR lpszFormat, ...) {
    va_list args;
    va_start(args, lpszFormat);
    FormatV(lpszFormat, args);
    va_end(args);
}

void CString::FormatV(LPCTSTR lpszFormat, va_list argList) {
    va_list measure;
    va_copy(measure, argList);
    int needed = std::vsnprintf(nullptr, 0, lpszFormat, measure);
    va_end(measure);
    if (needed < 0) {
        text_.clear();
        return;
    }
    std::vector<char> buffer(static_cast<size_t>(needed) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), lpszFormat, argList);
    text_.assign(buffer.data(), static_cast<size_t>(needed));
}

LPTSTR CString::GetBuffer(int nMinBufLength) {
    if (nMinBufLength > GetLength()) {
        text_.resize(static_cast<size_t>(nMinBufLength));
    }
    return &text_[0];
}

LPTSTR CString::GetBufferSetLength(int nNewLength) {
    text_.resize(static_cast<size_t>(std::max(nNewLength, 0)));
    return &text_[0];
}

void CString::ReleaseBuffer(int nNewLength) {
    if (nNewLength < 0) {
        text_.resize(std::strlen(text_.c_str()));
    } else {
        text_.resize(static_cast<size_t>(nNewLength));
    }
}

bool operator==(const CString& a, const CString& b) { return a.str() == b.str(); }
bool operator==(const CString& a, LPCTSTR b) { return a.Compare(b) == 0; }
bool operator==(LPCTSTR a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return !(a == b); }
bool operator!=(const CString& a, LPCTSTR b) { return !(a == b); }
bool operator!=(LPCTSTR a, const CString& b) { return !(a == b); }
bool operator<(const CString& a, const CString& b) { return a.str() < b.str(); }
bool operator<(const CString& a, LPCTSTR b) { return a.Compare(b) < 0; }
bool operator>(const CString& a, const CString& b) { return b < a; }

BOOL AfxExtractSubString(CString& rString, LPCTSTR lpszFullString, int iSubString, TCHAR chSep) {
    rString.Empty();
    if (lpszFullString == nullptr || iSubString < 0) {
        return FALSE;
    }
    const char* p = lpszFullString;
    while (iSubString-- > 0) {
        p = std::strchr(p, chSep);
        if (p == nullptr) {
            return FALSE;
        }
        ++p;
    }
    const char* end = std::strchr(p, chSep);
    rString =
        CString(p, end != nullptr ? static_cast<int>(end - p) : static_cast<int>(std::strlen(p)));
    return TRUE;
}

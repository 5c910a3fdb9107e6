// CArchive: buffered value and text transfer through a file.
#include "classlib/archive.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

IMPLEMENT_DYNAMIC(CArchiveException, CException)

namespace {

const char* const kArchiveTexts[] = {
    "No error occurred with %s.",
    "Unexpected file format in %s.",
    "%s was opened for reading and cannot be written.",
    "An attempt was made to read past the end of %s.",
    "%s was opened for writing and cannot be read.",
    "%s holds an invalid reference.",
    "%s holds an object of an unknown kind.",
    "%s holds an object of an unsupported version.",
};

}  // namespace

CArchiveException::CArchiveException(int cause, LPCTSTR lpszArchiveName)
    : m_cause(cause), m_strFileName(lpszArchiveName) {}

BOOL CArchiveException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError,
                                        UINT* pnHelpContext) const {
    if (pnHelpContext != nullptr) {
        *pnHelpContext = 0;
    }
    if (lpszError == nullptr || nMaxError == 0) {
        return FALSE;
    }
    int cause = m_cause >= 0 && m_cause <= badSchema ? m_cause : genericException;
    const char* name = m_strFileName.IsEmpty() ? "the file" : static_cast<LPCTSTR>(m_strFileName);
    std::snprintf(lpszError, nMaxError, kArchiveTexts[cause], name);
    return TRUE;
}

void AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName) {
    throw CArchiveException(cause, lpszArchiveName);
}

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void* lpBuf)
    : m_pFile(pFile), m_nMode(nMode), m_buffer(static_cast<size_t>(std::max(nBufSize, 128))) {
    (void)lpBuf;  // the archive keeps a buffer of its own
}

CArchive::~CArchive() {
    if (m_pFile != nullptr && !(m_nMode & bNoFlushOnDelete)) {
        try {
            Close();
        } catch (const CException&) {
            // A destructor cannot report; callers who care close explicitly.
        }
    }
}

void CArchive::FillBuffer() {
    m_cur = 0;
    m_max = m_pFile->Read(m_buffer.data(), static_cast<UINT>(m_buffer.size()));
}

UINT CArchive::Read(void* lpBuf, UINT nMax) {
    if (m_pFile == nullptr) {
        return 0;
    }
    if (IsStoring()) {
        AfxThrowArchiveException(CArchiveException::writeOnly, m_pFile->GetFilePath());
    }
    auto* out = static_cast<BYTE*>(lpBuf);
    UINT done = 0;
    while (done < nMax) {
        if (m_cur == m_max) {
            FillBuffer();
            if (m_max == 0) {
                break;
            }
        }
        size_t take = std::min(static_cast<size_t>(nMax - done), m_max - m_cur);
        std::memcpy(out + done, m_buffer.data() + m_cur, take);
        m_cur += take;
        done += static_cast<UINT>(take);
    }
    return done;
}

void CArchive::ReadExact(void* lpBuf, UINT n) {
    if (Read(lpBuf, n) != n) {
        AfxThrowArchiveException(
            CArchiveException::endOfFile,
            m_pFile != nullptr ? static_cast<LPCTSTR>(m_pFile->GetFilePath()) : nullptr);
    }
}

void CArchive::Write(const void* lpBuf, UINT nMax) {
    if (m_pFile == nullptr) {
        return;
    }
    if (IsLoading()) {
        AfxThrowArchiveException(CArchiveException::readOnly, m_pFile->GetFilePath());
    }
    const auto* in = static_cast<const BYTE*>(lpBuf);
    UINT done = 0;
    while (done < nMax) {
        if (m_cur == m_buffer.size()) {
            Flush();
        }
        size_t take = std::min(static_cast<size_t>(nMax - done), m_buffer.size() - m_cur);
        std::memcpy(m_buffer.data() + m_cur, in + done, take);
        m_cur += take;
        done += static_cast<UINT>(take);
    }
}

void CArchive::Flush() {
    if (m_pFile == nullptr) {
        return;
    }
    if (IsStoring()) {
        if (m_cur > 0) {
            size_t pending = m_cur;
            m_cur = 0;
            m_pFile->Write(m_buffer.data(), static_cast<UINT>(pending));
        }
        m_pFile->Flush();
    } else if (m_cur != m_max) {
        m_pFile->Seek(-static_cast<LONG>(m_max - m_cur), CFile::current);
        m_cur = m_max = 0;
    }
}

void CArchive::Close() {
    if (m_pFile == nullptr) {
        return;
    }
    // Let go of the file even when the last write fails.
    struct Release {
        CFile*& file;
        ~Release() { file = nullptr; }
    } release{m_pFile};
    Flush();
}

void CArchive::Abort() {
    m_pFile = nullptr;
    m_cur = m_max = 0;
}

BOOL CArchive::ReadString(CString& rString) {
    std::string line;
    BYTE ch = 0;
    bool any = false;
    while (Read(&ch, 1) == 1) {
        any = true;
        if (ch == '\n') {
            break;
        }
        line.push_back(static_cast<char>(ch));
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    rString = CString(line);
    return any ? TRUE : FALSE;
}

void CArchive::WriteString(LPCTSTR lpsz) {
    if (lpsz != nullptr) {
        Write(lpsz, static_cast<UINT>(std::strlen(lpsz)));
    }
}

CArchive& CArchive::operator<<(BYTE by) { return Put(by); }
CArchive& CArchive::operator<<(WORD w) { return Put(w); }
CArchive& CArchive::operator<<(short n) { return Put(n); }
CArchive& CArchive::operator<<(char ch) { return Put(ch); }
CArchive& CArchive::operator<<(int i) { return Put(static_cast<std::int32_t>(i)); }
CArchive& CArchive::operator<<(unsigned u) { return Put(static_cast<std::uint32_t>(u)); }
#if defined(_WIN32)
CArchive& CArchive::operator<<(long l) { return Put(static_cast<std::int32_t>(l)); }
CArchive& CArchive::operator<<(unsigned long dw) { return Put(static_cast<std::uint32_t>(dw)); }
#endif
CArchive& CArchive::operator<<(float f) { return Put(f); }
CArchive& CArchive::operator<<(double d) { return Put(d); }

// A text's length comes first: one byte below 255, else 255 and a word below 65535, else 255,
// 65535 and a 32-bit count.
CArchive& CArchive::operator<<(const CString& s) {
    auto length = static_cast<std::uint32_t>(s.GetLength());
    if (length < 0xFF) {
        *this << static_cast<BYTE>(length);
    } else if (length < 0xFFFE) {
        *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(length);
    } else {
        *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFF) << length;
    }
    Write(static_cast<LPCTSTR>(s), length);
    return *this;
}

CArchive& CArchive::operator>>(BYTE& by) { return Get(by); }
CArchive& CArchive::operator>>(WORD& w) { return Get(w); }
CArchive& CArchive::operator>>(short& n) { return Get(n); }
CArchive& CArchive::operator>>(char& ch) { return Get(ch); }
CArchive& CArchive::operator>>(int& i) {
    std::int32_t v = 0;
    Get(v);
    i = v;
    return *this;
}
CArchive& CArchive::operator>>(unsigned& u) {
    std::uint32_t v = 0;
    Get(v);
    u = v;
    return *this;
}
#if defined(_WIN32)
CArchive& CArchive::operator>>(long& l) {
    std::int32_t v = 0;
    Get(v);
    l = v;
    return *this;
}
CArchive& CArchive::operator>>(unsigned long& dw) {
    std::uint32_t v = 0;
    Get(v);
    dw = v;
    return *this;
}
#endif
CArchive& CArchive::operator>>(float& f) { return Get(f); }
CArchive& CArchive::operator>>(double& d) { return Get(d); }

CArchive& CArchive::operator>>(CString& s) {
    BYTE small = 0;
    *this >> small;
    std::uint32_t length = small;
    if (small == 0xFF) {
        WORD medium = 0;
        *this >> medium;
        length = medium;
        if (medium == 0xFFFE) {
            // The mark of a wide-character text, which this library does not store.
            AfxThrowArchiveException(CArchiveException::badSchema, m_pFile->GetFilePath());
        }
        if (medium == 0xFFFF) {
            unsigned large = 0;
            *this >> large;
            length = large;
        }
    }
    std::string text;
    // Read in pieces so that a corrupt length cannot demand a huge buffer up front.
    while (text.size() < length) {
        char piece[1024];
        UINT want = static_cast<UINT>(std::min<size_t>(sizeof(piece), length - text.size()));
        ReadExact(piece, want);
        text.append(piece, want);
    }
    s = CString(text);
    return *this;
}

// CArchive: buffered storing and loading of values and texts through a CFile, the form in which
// documents read and write their files; CArchiveException for broken or short data.
#pragma once

#include "classlib/file.h"

#include <vector>

class CDocument;

class CArchiveException : public CException {
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum { none, genericException, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema };
    explicit CArchiveException(int cause = none, LPCTSTR lpszArchiveName = nullptr);

    int m_cause;
    CString m_strFileName;

    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError,
                         UINT* pnHelpContext = nullptr) const override;
};

[[noreturn]] void AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName = nullptr);

class CArchive {
public:
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

    // The file stays the caller's; the archive only reads or writes through it.
    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = nullptr);
    // A storing archive that was not closed is flushed (unless bNoFlushOnDelete); errors are
    // dropped here, so close explicitly to learn of them.
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    BOOL IsBufferEmpty() const { return m_cur == m_max; }
    CFile* GetFile() const { return m_pFile; }

    // Bytes read; fewer than asked only at the end of the file.
    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nMax);
    // Storing: writes the buffer out; loading: gives unread buffered bytes back to the file.
    void Flush();
    void Close();  // flushes and lets go of the file
    void Abort();  // lets go of the file without writing the buffer

    // A line of text without its line end; FALSE at the end of the file with nothing read.
    BOOL ReadString(CString& rString);
    // The text as it is (the caller writes its own line ends).
    void WriteString(LPCTSTR lpsz);

    CArchive& operator<<(BYTE by);
    CArchive& operator<<(WORD w);
    CArchive& operator<<(short n);
    CArchive& operator<<(char ch);
    CArchive& operator<<(int i);
    CArchive& operator<<(unsigned u);
#if defined(_WIN32)
    CArchive& operator<<(long l);
    CArchive& operator<<(unsigned long dw);
#endif
    CArchive& operator<<(float f);
    CArchive& operator<<(double d);
    CArchive& operator<<(const CString& s);

    CArchive& operator>>(BYTE& by);
    CArchive& operator>>(WORD& w);
    CArchive& operator>>(short& n);
    CArchive& operator>>(char& ch);
    CArchive& operator>>(int& i);
    CArchive& operator>>(unsigned& u);
#if defined(_WIN32)
    CArchive& operator>>(long& l);
    CArchive& operator>>(unsigned long& dw);
#endif
    CArchive& operator>>(float& f);
    CArchive& operator>>(double& d);
    CArchive& operator>>(CString& s);

    CDocument* m_pDocument = nullptr;
    BOOL m_bForceFlat = TRUE;

private:
    // Reads exactly n bytes or raises endOfFile.
    void ReadExact(void* lpBuf, UINT n);
    template <class T>
    CArchive& Put(T value) {
        Write(&value, sizeof(value));
        return *this;
    }
    template <class T>
    CArchive& Get(T& value) {
        ReadExact(&value, sizeof(value));
        return *this;
    }
    void FillBuffer();

    CFile* m_pFile;
    UINT m_nMode;
    std::vector<BYTE> m_buffer;
    size_t m_cur = 0;  // loading: next byte to hand out; storing: bytes waiting
    size_t m_max = 0;  // loading: bytes in the buffer
};

// CFile: a binary file on disk opened with the library's modes, CFileStatus, and the file
// exception; reads, writes and seeks that fail raise CFileException.
#pragma once

#include "classlib/cstring.h"
#include "classlib/exceptions.h"
#include "classlib/timeval.h"

#include <cstdint>

struct CFileStatus {
    CTime m_ctime;  // creation
    CTime m_mtime;  // last write
    CTime m_atime;  // last access
    LONG m_size = 0;
    BYTE m_attribute = 0;  // CFile::Attribute bits
    char m_szFullName[MAX_PATH] = {};
};

class CFileException : public CException {
    DECLARE_DYNAMIC(CFileException)
public:
    enum {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    explicit CFileException(int cause = none, LONG lOsError = -1, LPCTSTR lpszFileName = nullptr);

    int m_cause;
    LONG m_lOsError;  // the system's own error number, -1 when there is none
    CString m_strFileName;

    // The text for the user, naming the file.
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError,
                         UINT* pnHelpContext = nullptr) const override;

    // The cause that a system error number stands for.
    static int OsErrorToException(LONG lOsError);
    [[noreturn]] static void ThrowOsError(LONG lOsError, LPCTSTR lpszFileName = nullptr);
};

[[noreturn]] void AfxThrowFileException(int cause, LONG lOsError = -1,
                                        LPCTSTR lpszFileName = nullptr);

class CFile : public CObject {
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000
    };
    enum Attribute {
        normal = 0x00,
        readOnly = 0x01,
        hidden = 0x02,
        system = 0x04,
        volume = 0x08,
        directory = 0x10,
        archive = 0x20
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    CFile();
    // Opens at once; a failure raises CFileException.
    CFile(LPCTSTR lpszFileName, UINT nOpenFlags);
    ~CFile() override;  // closes an open file, ignoring errors
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // FALSE on failure, with the cause in *pError when given (nothing is raised).
    virtual BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
    virtual void Close();  // raises on failure
    virtual void Abort();  // closes without raising
    // Bytes read; fewer than asked only at the end of the file.
    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual void Write(const void* lpBuf, UINT nCount);
    virtual LONG Seek(LONG lOff, UINT nFrom);
    void SeekToBegin() { Seek(0, begin); }
    DWORD SeekToEnd() { return static_cast<DWORD>(Seek(0, end)); }
    virtual DWORD GetPosition() const;
    virtual DWORD GetLength() const;
    virtual void SetLength(DWORD dwNewLen);
    virtual void Flush();

    BOOL IsOpen() const { return m_hFile != kNoFile; }
    BOOL GetStatus(CFileStatus& rStatus) const;
    // FALSE when the file's status cannot be read (missing file, bad path).
    static BOOL GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus);
    static void Remove(LPCTSTR lpszFileName);  // raises on failure
    static void Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName);

    CString GetFilePath() const { return m_strFileName; }
    CString GetFileName() const;   // the name with its extension, no folder
    CString GetFileTitle() const;  // the name without folder or extension

    BOOL m_bCloseOnDelete = FALSE;
    CString m_strFileName;

    static constexpr std::intptr_t kNoFile = -1;

private:
    std::intptr_t m_hFile = kNoFile;  // the system's handle (a HANDLE or a descriptor)
};

// The full form of a path (absolute, with the current folder); FALSE when it cannot be formed.
BOOL AfxFullPath(CString& rFullPath, LPCTSTR lpszFileIn);
// Whether two paths name the same file (compared without case, as the file system does).
BOOL AfxComparePath(LPCTSTR lpszPath1, LPCTSTR lpszPath2);

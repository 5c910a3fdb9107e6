// The file calls of CFile over Win32 file handles.
#include "file_system.h"

#include <windows.h>

#include <cstring>

namespace classlib_file {

namespace {

HANDLE Handle(std::intptr_t file) { return reinterpret_cast<HANDLE>(file); }

// FILETIME counts 100 ns steps from 1601; file statuses count seconds from 1970.
std::int64_t ToSeconds(const FILETIME& ft) {
    ULARGE_INTEGER value;
    value.LowPart = ft.dwLowDateTime;
    value.HighPart = ft.dwHighDateTime;
    if (value.QuadPart == 0) {
        return 0;
    }
    return static_cast<std::int64_t>((value.QuadPart - 116444736000000000ULL) / 10000000ULL);
}

}  // namespace

std::intptr_t Open(LPCTSTR path, UINT flags, LONG* error) {
    DWORD access = GENERIC_READ;
    if ((flags & 3) == CFile::modeWrite) {
        access = GENERIC_WRITE;
    } else if ((flags & 3) == CFile::modeReadWrite) {
        access = GENERIC_READ | GENERIC_WRITE;
    }
    DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    switch (flags & 0x70) {
        case CFile::shareExclusive:
            share = 0;
            break;
        case CFile::shareDenyWrite:
            share = FILE_SHARE_READ;
            break;
        case CFile::shareDenyRead:
            share = FILE_SHARE_WRITE;
            break;
        default:
            break;
    }
    DWORD creation = OPEN_EXISTING;
    if (flags & CFile::modeCreate) {
        creation = (flags & CFile::modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    }
    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, (flags & CFile::modeNoInherit) ? FALSE : TRUE};
    HANDLE h = ::CreateFileA(path, access, share, &sa, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        *error = static_cast<LONG>(::GetLastError());
        return CFile::kNoFile;
    }
    return reinterpret_cast<std::intptr_t>(h);
}

bool Close(std::intptr_t file, LONG* error) {
    if (!::CloseHandle(Handle(file))) {
        *error = static_cast<LONG>(::GetLastError());
        return false;
    }
    return true;
}

bool Read(std::intptr_t file, void* buffer, UINT count, UINT* got, LONG* error) {
    DWORD read = 0;
    if (!::ReadFile(Handle(file), buffer, count, &read, nullptr)) {
        *error = static_cast<LONG>(::GetLastError());
        return false;
    }
    *got = read;
    return true;
}

bool Write(std::intptr_t file, const void* buffer, UINT count, LONG* error) {
    DWORD written = 0;
    if (!::WriteFile(Handle(file), buffer, count, &written, nullptr)) {
        *error = static_cast<LONG>(::GetLastError());
        return false;
    }
    if (written != count) {
        *error = ERROR_DISK_FULL;
        return false;
    }
    return true;
}

bool Seek(std::intptr_t file, std::int64_t offset, UINT from, std::int64_t* position, LONG* error) {
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER at;
    DWORD method = from == CFile::begin     ? FILE_BEGIN
                   : from == CFile::current ? FILE_CURRENT
                                            : FILE_END;
    if (!::SetFilePointerEx(Handle(file), distance, &at, method)) {
        *error = static_cast<LONG>(::GetLastError());
        return false;
    }
    *position = at.QuadPart;
    return true;
}

bool Length(std::intptr_t file, std::int64_t* length, LONG* error) {
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(Handle(file), &size)) {
        *error = static_cast<LONG>(::GetLastError());
        return false;
    }
    *length = size.QuadPart;
    return true;
}

bool SetLength(std::intptr_t file, std::int64_t length, LONG* error) {
    std::int64_t position = 0;
    if (!Seek(file, length, CFile::begin, &position, error)) {
        return false;
    }
    if (!::SetEndOfFile(Handle(file))) {
        *error = static_cast<LONG>(::GetLastError());
        return false;
    }
    return true;
}

bool Flush(std::intptr_t file, LONG* error) {
    if (!::FlushFileBuffers(Handle(file))) {
        *error = static_cast<LONG>(::GetLastError());
        return false;
    }
    return true;
}

bool Status(LPCTSTR path, CFileStatus* status) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path, GetFileExInfoStandard, &data)) {
        return false;
    }
    status->m_ctime = CTime(ToSeconds(data.ftCreationTime));
    status->m_mtime = CTime(ToSeconds(data.ftLastWriteTime));
    status->m_atime = CTime(ToSeconds(data.ftLastAccessTime));
    status->m_size = static_cast<LONG>(data.nFileSizeLow);
    status->m_attribute = static_cast<BYTE>(data.dwFileAttributes & 0xFF);
    return true;
}

bool Remove(LPCTSTR path, LONG* error) {
    if (!::DeleteFileA(path)) {
        *error = static_cast<LONG>(::GetLastError());
        return false;
    }
    return true;
}

bool Rename(LPCTSTR from, LPCTSTR to, LONG* error) {
    if (!::MoveFileA(from, to)) {
        *error = static_cast<LONG>(::GetLastError());
        return false;
    }
    return true;
}

bool FullPath(LPCTSTR path, CString* full) {
    char buffer[MAX_PATH];
    LPSTR name = nullptr;
    DWORD length = ::GetFullPathNameA(path, MAX_PATH, buffer, &name);
    if (length == 0 || length >= MAX_PATH) {
        return false;
    }
    *full = buffer;
    return true;
}

int ErrorToCause(LONG error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
            return CFileException::fileNotFound;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_DIRECTORY:
            return CFileException::badPath;
        case ERROR_TOO_MANY_OPEN_FILES:
            return CFileException::tooManyOpenFiles;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
            return CFileException::accessDenied;
        case ERROR_INVALID_HANDLE:
            return CFileException::invalidFile;
        case ERROR_CURRENT_DIRECTORY:
            return CFileException::removeCurrentDir;
        case ERROR_CANNOT_MAKE:
            return CFileException::directoryFull;
        case ERROR_SEEK:
        case ERROR_NEGATIVE_SEEK:
            return CFileException::badSeek;
        case ERROR_CRC:
        case ERROR_WRITE_FAULT:
        case ERROR_READ_FAULT:
            return CFileException::hardIO;
        case ERROR_SHARING_VIOLATION:
            return CFileException::sharingViolation;
        case ERROR_LOCK_VIOLATION:
            return CFileException::lockViolation;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return CFileException::diskFull;
        case ERROR_HANDLE_EOF:
            return CFileException::endOfFile;
        default:
            return CFileException::genericException;
    }
}

std::int64_t Now() {
    FILETIME ft;
    ::GetSystemTimeAsFileTime(&ft);
    return ToSeconds(ft);
}

}  // namespace classlib_file

BOOL AfxComparePath(LPCTSTR lpszPath1, LPCTSTR lpszPath2) {
    CString a;
    CString b;
    if (!AfxFullPath(a, lpszPath1) || !AfxFullPath(b, lpszPath2)) {
        return FALSE;
    }
    return a.CompareNoCase(b) == 0;
}

// The file calls of CFile over POSIX descriptors (native builds). Share modes have no
// counterpart here and are not enforced.
#include "file_system.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace classlib_file {

namespace {

int Fd(std::intptr_t file) { return static_cast<int>(file); }

}  // namespace

std::intptr_t Open(LPCTSTR path, UINT flags, LONG* error) {
    int access = O_RDONLY;
    if ((flags & 3) == CFile::modeWrite) {
        access = O_WRONLY;
    } else if ((flags & 3) == CFile::modeReadWrite) {
        access = O_RDWR;
    }
    if (flags & CFile::modeCreate) {
        access |= O_CREAT;
        if (!(flags & CFile::modeNoTruncate)) {
            access |= O_TRUNC;
        }
    }
    if (flags & CFile::modeNoInherit) {
        access |= O_CLOEXEC;
    }
    int fd = ::open(path, access, 0666);
    if (fd < 0) {
        *error = errno;
        return CFile::kNoFile;
    }
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        *error = EISDIR;
        return CFile::kNoFile;
    }
    return fd;
}

bool Close(std::intptr_t file, LONG* error) {
    if (::close(Fd(file)) != 0) {
        *error = errno;
        return false;
    }
    return true;
}

bool Read(std::intptr_t file, void* buffer, UINT count, UINT* got, LONG* error) {
    UINT total = 0;
    auto* bytes = static_cast<char*>(buffer);
    while (total < count) {
        ssize_t n = ::read(Fd(file), bytes + total, count - total);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            *error = errno;
            return false;
        }
        if (n == 0) {
            break;
        }
        total += static_cast<UINT>(n);
    }
    *got = total;
    return true;
}

bool Write(std::intptr_t file, const void* buffer, UINT count, LONG* error) {
    UINT total = 0;
    const auto* bytes = static_cast<const char*>(buffer);
    while (total < count) {
        ssize_t n = ::write(Fd(file), bytes + total, count - total);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            *error = errno;
            return false;
        }
        total += static_cast<UINT>(n);
    }
    return true;
}

bool Seek(std::intptr_t file, std::int64_t offset, UINT from, std::int64_t* position, LONG* error) {
    int whence = from == CFile::begin ? SEEK_SET : from == CFile::current ? SEEK_CUR : SEEK_END;
    off_t at = ::lseek(Fd(file), static_cast<off_t>(offset), whence);
    if (at < 0) {
        *error = errno;
        return false;
    }
    *position = at;
    return true;
}

bool Length(std::intptr_t file, std::int64_t* length, LONG* error) {
    struct stat st;
    if (::fstat(Fd(file), &st) != 0) {
        *error = errno;
        return false;
    }
    *length = st.st_size;
    return true;
}

bool SetLength(std::intptr_t file, std::int64_t length, LONG* error) {
    if (::ftruncate(Fd(file), static_cast<off_t>(length)) != 0) {
        *error = errno;
        return false;
    }
    return true;
}

bool Flush(std::intptr_t file, LONG* error) {
    if (::fsync(Fd(file)) != 0 && errno != EINVAL) {
        *error = errno;
        return false;
    }
    return true;
}

bool Status(LPCTSTR path, CFileStatus* status) {
    struct stat st;
    if (::stat(path, &st) != 0) {
        return false;
    }
    status->m_ctime = CTime(st.st_ctime);
    status->m_mtime = CTime(st.st_mtime);
    status->m_atime = CTime(st.st_atime);
    status->m_size = static_cast<LONG>(st.st_size);
    status->m_attribute = 0;
    if (S_ISDIR(st.st_mode)) {
        status->m_attribute |= CFile::directory;
    }
    if (!(st.st_mode & S_IWUSR)) {
        status->m_attribute |= CFile::readOnly;
    }
    return true;
}

bool Remove(LPCTSTR path, LONG* error) {
    if (::unlink(path) != 0) {
        *error = errno;
        return false;
    }
    return true;
}

bool Rename(LPCTSTR from, LPCTSTR to, LONG* error) {
    if (std::rename(from, to) != 0) {
        *error = errno;
        return false;
    }
    return true;
}

bool FullPath(LPCTSTR path, CString* full) {
    if (path[0] == '/') {
        *full = path;
        return true;
    }
    char cwd[4096];
    if (::getcwd(cwd, sizeof(cwd)) == nullptr) {
        return false;
    }
    *full = CString(cwd) + "/" + path;
    return true;
}

int ErrorToCause(LONG error) {
    switch (error) {
        case ENOENT:
            return CFileException::fileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case EISDIR:
            return CFileException::badPath;
        case EMFILE:
        case ENFILE:
            return CFileException::tooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EROFS:
            return CFileException::accessDenied;
        case EBADF:
            return CFileException::invalidFile;
        case EBUSY:
            return CFileException::removeCurrentDir;
        case ESPIPE:
            return CFileException::badSeek;
        case EIO:
            return CFileException::hardIO;
        case ENOSPC:
            return CFileException::diskFull;
        default:
            return CFileException::genericException;
    }
}

std::int64_t Now() { return static_cast<std::int64_t>(std::time(nullptr)); }

}  // namespace classlib_file

BOOL AfxComparePath(LPCTSTR lpszPath1, LPCTSTR lpszPath2) {
    CString a;
    CString b;
    if (!AfxFullPath(a, lpszPath1) || !AfxFullPath(b, lpszPath2)) {
        return FALSE;
    }
    return a == b;
}

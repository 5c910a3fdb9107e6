// The file calls of CFile on the platform's own system interface (Win32 or POSIX), behind one
// set of functions; each failure gives the system's error number.
#pragma once

#include "classlib/file.h"

#include <cstdint>

namespace classlib_file {

std::intptr_t Open(LPCTSTR path, UINT flags, LONG* error);  // CFile::kNoFile on failure
bool Close(std::intptr_t file, LONG* error);
bool Read(std::intptr_t file, void* buffer, UINT count, UINT* got, LONG* error);
bool Write(std::intptr_t file, const void* buffer, UINT count, LONG* error);
bool Seek(std::intptr_t file, std::int64_t offset, UINT from, std::int64_t* position,
          LONG* error);
bool Length(std::intptr_t file, std::int64_t* length, LONG* error);
bool SetLength(std::intptr_t file, std::int64_t length, LONG* error);
bool Flush(std::intptr_t file, LONG* error);
bool Status(LPCTSTR path, CFileStatus* status);
bool Remove(LPCTSTR path, LONG* error);
bool Rename(LPCTSTR from, LPCTSTR to, LONG* error);
bool FullPath(LPCTSTR path, CString* full);
int ErrorToCause(LONG error);
std::int64_t Now();

}  // namespace classlib_file

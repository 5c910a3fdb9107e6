// The calling thread's last error and the system's texts for error codes.
#pragma once

#include <cstdarg>

#include "w32/api.h"
#include "w32/types.h"

namespace w32 {

#if defined(_WIN32)
using ::FormatMessageA;
using ::GetLastError;
using ::LocalFree;
using ::SetLastError;
#else
W32_API DWORD GetLastError();
W32_API void SetLastError(DWORD code);
// FORMAT_MESSAGE_FROM_SYSTEM for the codes the system prints, with or without
// FORMAT_MESSAGE_ALLOCATE_BUFFER (then `buffer` receives a LocalAlloc'd pointer that the caller
// frees with LocalFree). Texts end with "\r\n" as the system's do. Returns the length, 0 for an
// unknown code (ERROR_MR_MID_NOT_FOUND) or a too small buffer (ERROR_INSUFFICIENT_BUFFER).
W32_API DWORD FormatMessageA(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId,
                             LPSTR buffer, DWORD size, va_list* arguments);
W32_API HLOCAL LocalFree(HLOCAL memory);
#endif

}  // namespace w32

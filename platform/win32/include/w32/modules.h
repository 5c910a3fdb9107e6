// Loading plug-in modules and resolving their exports.
#pragma once

#include "w32/api.h"
#include "w32/types.h"

namespace w32 {

#if defined(_WIN32)
using ::FreeLibrary;
using ::GetModuleFileNameA;
using ::GetModuleHandleA;
using ::LoadLibraryA;

// Resolves an export by name; on this build the name is looked up exactly as given.
inline FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
    return ::GetProcAddress(module, name);
}
#else
// Loads a shared library. A name without a folder is looked for in the program's own folder
// first, then where the system looks; a ".dll" ending is read as the system's own ending, and a
// name without an ending gets it. The first file found is the one tried. NULL when it does not
// load: ERROR_BAD_EXE_FORMAT for a file that is no shared library, else ERROR_MOD_NOT_FOUND
// (no file, or a library the loader refuses); dlerror() then tells the loader's reason.
W32_API HMODULE LoadLibraryA(LPCSTR name);
W32_API BOOL FreeLibrary(HMODULE module);
// Resolves an export. A decorated name of a 32-bit Windows export table that is not found as
// given, stdcall ("_Name@12") or C++ outside any class ("?Name@@YGHH@Z"), is looked up again
// undecorated ("Name"): this build exports plain names. NULL with ERROR_PROC_NOT_FOUND.
W32_API FARPROC GetProcAddress(HMODULE module, LPCSTR name);
// NULL: the program itself. Otherwise a loaded module whose file name (with or without ending)
// equals `name`, ignoring case; NULL with ERROR_MOD_NOT_FOUND when none is loaded.
W32_API HMODULE GetModuleHandleA(LPCSTR name);
// Full path of the module (NULL: the program). Returns the length copied; when the buffer is too
// small the path is cut to size - 1 characters, terminated, and the result is `size` with
// ERROR_INSUFFICIENT_BUFFER. 0 on failure.
W32_API DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size);
#endif

// GetProcAddress typed as the export's own function type.
template <typename Fn>
Fn GetProcAs(HMODULE module, LPCSTR name) {
    // Through void(*)(): the one cast between function types that compilers take without a warning.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(w32::GetProcAddress(module, name)));
}

}  // namespace w32

// Closing handles: the one way to close a handle of any kind the layer hands out.
#pragma once

#include "w32/api.h"
#include "w32/types.h"

namespace w32 {

#if defined(_WIN32) && !W32_TEST_CONTROLS
using ::CloseHandle;
#else
// Closes a handle from any function of the layer (threads, events, serial ports, virtual ports);
// on Windows other handles go to the system. FALSE with ERROR_INVALID_HANDLE for a handle nobody
// knows.
W32_API BOOL CloseHandle(HANDLE h);
#endif

}  // namespace w32

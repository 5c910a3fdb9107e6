// Sleeping and the tick count, on the layer's clock (which tests may switch to virtual time, see
// w32test/clock.h).
#pragma once

#include "w32/api.h"
#include "w32/types.h"

namespace w32 {

#if defined(_WIN32) && !W32_TEST_CONTROLS
using ::GetTickCount;
using ::Sleep;
#else
// Pauses the calling thread. With virtual time on, advances the clock by `ms` and returns at once.
W32_API void Sleep(DWORD ms);

// Milliseconds since an arbitrary origin, wrapping at 2^32 like the system's tick count.
W32_API DWORD GetTickCount();
#endif

}  // namespace w32

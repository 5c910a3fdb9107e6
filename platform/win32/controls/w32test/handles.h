// Test control of the layer's handles: how many are open, so that a test can catch a handle that
// nobody closes.
#pragma once

#include "w32/api.h"
#include "w32/types.h"

#if !W32_TEST_CONTROLS
#error "this build of the platform layer has no test controls"
#endif

namespace w32test {
namespace handles {

// The number of open handles of the layer's own objects: on Linux every thread, event and port
// handle of w32; on Windows the virtual ports (threads and events are the system's there).
W32_API DWORD OpenCount();

}  // namespace handles
}  // namespace w32test

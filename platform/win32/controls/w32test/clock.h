// Test control of the layer's one clock: real time, or a virtual time that tests switch on so that
// sleeps and time-outs cost no real time.
#pragma once

#include <stdint.h>

#include "w32/api.h"
#include "w32/types.h"

#if !W32_TEST_CONTROLS
#error "this build of the platform layer has no test controls"
#endif

namespace w32test {
namespace clock {

// Microseconds on the layer's clock (monotonic; virtual when virtual time is on).
W32_API uint64_t NowMicros();

// Switches virtual time on or off for the whole process. Switching on starts the virtual clock
// at the current reading, so time never runs backwards for a caller.
W32_API void UseVirtualTime(bool on);
W32_API bool IsVirtual();

// Moves virtual time forward (no effect in real time).
W32_API void AdvanceMicros(uint64_t us);
// Moves virtual time forward to `t` when it is still ahead (no effect in real time).
W32_API void AdvanceToMicros(uint64_t t);

// Blocks until the clock reads at least `t`. Real time: sleeps; virtual time: advances the clock.
W32_API void SleepUntilMicros(uint64_t t);

// Blocks until virtual time has moved past `seen`, or `realTimeoutMs` of real time passed.
// Returns the clock's reading. Lets a thread that waits for something another thread schedules
// on the virtual clock notice each step of time. In real time it sleeps `realTimeoutMs` at most.
W32_API uint64_t WaitForAdvance(uint64_t seen, DWORD realTimeoutMs);

// Switches virtual time on for the life of the object and back to real time after it.
class VirtualTimeScope {
public:
    VirtualTimeScope() { UseVirtualTime(true); }
    ~VirtualTimeScope() { UseVirtualTime(false); }
    VirtualTimeScope(const VirtualTimeScope&) = delete;
    VirtualTimeScope& operator=(const VirtualTimeScope&) = delete;
};

}  // namespace clock
}  // namespace w32test

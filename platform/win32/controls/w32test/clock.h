// Test control of the layer's one clock: real time, or a virtual time that tests switch on so that
// sleeps and time-outs cost no real time, with several threads as well as with one.
#pragma once

#include <stdint.h>

#include "w32/api.h"
#include "w32/types.h"

#if !W32_TEST_CONTROLS
#error "this build of the platform layer has no test controls"
#endif

namespace w32test {
namespace clock {

// Virtual time with several threads:
//  - A thread takes part from its first wait on the clock (a sleep, a read or event wait on a
//    virtual port, WaitForAdvance, an outside wait) or from TakePart, until it ends or virtual
//    time is switched off. The thread that switches virtual time on takes part from then on.
//  - A sleeping thread waits until the clock reaches its deadline; a port wait ends at its
//    deadline or when the port has something for it.
//  - The clock moves only when every thread taking part is waiting, and then to the earliest
//    deadline among them: sleeps of 100 ms on two threads that start together end together,
//    100 ms later. While one of them runs, time stands still for the others.
//  - A thread taking part that waits for another thread outside the layer (joining it, a
//    condition variable, a real-time poll) says so with OutsideWaitScope; otherwise time stands
//    still until it is back, and a thread that waits for time never wakes.
// In real time none of this applies: every wait takes real time.

// Microseconds on the layer's clock (monotonic; virtual when virtual time is on).
W32_API uint64_t NowMicros();

// Switches virtual time on or off for the whole process. Switching on starts the virtual clock
// at the current reading, so time never runs backwards for a caller, and makes the calling thread
// take part. Switching off ends every wait on the virtual clock at once.
W32_API void UseVirtualTime(bool on);
W32_API bool IsVirtual();

// The calling thread takes part in virtual time from now on, before its first wait: a thread
// that another will wait for registers so, before that one may let time pass without it.
W32_API void TakePart();
// The calling thread, taking part, waits outside the layer until EndOutsideWait: it counts as
// waiting without a deadline, so the clock may move while it waits. Nested pairs are allowed.
W32_API void BeginOutsideWait();
W32_API void EndOutsideWait();

// Moves virtual time forward (no effect in real time), ending the waits it passes.
W32_API void AdvanceMicros(uint64_t us);
// Moves virtual time forward to `t` when it is still ahead (no effect in real time).
W32_API void AdvanceToMicros(uint64_t t);

// Blocks until the clock reads at least `t`. Real time: sleeps; virtual time: waits as above.
W32_API void SleepUntilMicros(uint64_t t);
// A sleep that another thread may end early: as SleepUntilMicros, but it also ends once EndSleep
// has been called with the same `flag` (a word the two threads share, 0 before). True when the
// clock reached `t`; false when the sleep was ended, or virtual time switched off under it.
W32_API bool SleepUntilMicrosOrEnd(uint64_t t, LONG* flag);
W32_API void EndSleep(LONG* flag);

// Blocks until virtual time has moved past `seen`, or `realTimeoutMs` of real time passed.
// Returns the clock's reading. Lets a thread that waits for something another thread schedules
// on the virtual clock notice each step of time; it waits without a deadline of its own. In real
// time it sleeps `realTimeoutMs`.
W32_API uint64_t WaitForAdvance(uint64_t seen, DWORD realTimeoutMs);

// Switches virtual time on for the life of the object and back to real time after it.
class VirtualTimeScope {
public:
    VirtualTimeScope() { UseVirtualTime(true); }
    ~VirtualTimeScope() { UseVirtualTime(false); }
    VirtualTimeScope(const VirtualTimeScope&) = delete;
    VirtualTimeScope& operator=(const VirtualTimeScope&) = delete;
};

// An outside wait for the life of the object (see BeginOutsideWait).
class OutsideWaitScope {
public:
    OutsideWaitScope() { BeginOutsideWait(); }
    ~OutsideWaitScope() { EndOutsideWait(); }
    OutsideWaitScope(const OutsideWaitScope&) = delete;
    OutsideWaitScope& operator=(const OutsideWaitScope&) = delete;
};

}  // namespace clock
}  // namespace w32test

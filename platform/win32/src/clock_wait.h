// Waits of the layer's own objects on the virtual clock (see w32test/clock.h for the rules).
#pragma once

#include <cstdint>

namespace w32 {
namespace clockwait {

// Virtual time: waits, as a thread taking part in it, until the clock reads at least `deadline`
// (UINT64_MAX: no deadline), until `woken(context)` holds, or until virtual time is switched off;
// `woken` is asked under the clock's lock, at the start and after every WakeWaiters. Returns
// false at once, without waiting, when the clock runs in real time.
bool WaitVirtualUntil(uint64_t deadline, bool (*woken)(const void*), const void* context);

// Something a waiter may be waiting for has changed: every thread waiting on the clock looks
// again before the clock may move on.
void WakeWaiters();

}  // namespace clockwait
}  // namespace w32

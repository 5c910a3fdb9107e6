// The layer's clock: steady real time, or a virtual time advanced by sleeps and waits.
#include "w32/clock.h"
#include "w32test/clock.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace w32test {
namespace {

struct ClockState {
    std::atomic<bool> isVirtual{false};
    std::mutex mutex;
    std::condition_variable advanced;
    uint64_t virtualNow = 0;  // guarded by mutex
};

ClockState& State() {
    static ClockState state;
    return state;
}

uint64_t RealMicros() {
    using namespace std::chrono;
    return static_cast<uint64_t>(
        duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace

namespace clock {

uint64_t NowMicros() {
    ClockState& s = State();
    if (!s.isVirtual.load()) {
        return RealMicros();
    }
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.virtualNow;
}

void UseVirtualTime(bool on) {
    ClockState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (on && !s.isVirtual.load()) {
        s.virtualNow = RealMicros();
    }
    s.isVirtual.store(on);
    s.advanced.notify_all();
}

bool IsVirtual() { return State().isVirtual.load(); }

void AdvanceToMicros(uint64_t t) {
    ClockState& s = State();
    if (!s.isVirtual.load()) {
        return;
    }
    std::lock_guard<std::mutex> lock(s.mutex);
    if (t > s.virtualNow) {
        s.virtualNow = t;
        s.advanced.notify_all();
    }
}

void AdvanceMicros(uint64_t us) {
    ClockState& s = State();
    if (!s.isVirtual.load()) {
        return;
    }
    std::lock_guard<std::mutex> lock(s.mutex);
    s.virtualNow += us;
    s.advanced.notify_all();
}

void SleepUntilMicros(uint64_t t) {
    if (IsVirtual()) {
        AdvanceToMicros(t);
        return;
    }
    uint64_t now = RealMicros();
    if (t > now) {
        std::this_thread::sleep_for(std::chrono::microseconds(t - now));
    }
}

uint64_t WaitForAdvance(uint64_t seen, DWORD realTimeoutMs) {
    ClockState& s = State();
    if (!s.isVirtual.load()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(realTimeoutMs));
        return RealMicros();
    }
    std::unique_lock<std::mutex> lock(s.mutex);
    s.advanced.wait_for(lock, std::chrono::milliseconds(realTimeoutMs),
                        [&] { return !s.isVirtual.load() || s.virtualNow != seen; });
    return s.isVirtual.load() ? s.virtualNow : RealMicros();
}

}  // namespace clock
}  // namespace w32test

namespace w32 {

namespace clock = w32test::clock;

void Sleep(DWORD ms) {
    if (clock::IsVirtual()) {
        clock::AdvanceMicros(static_cast<uint64_t>(ms) * 1000u);
        return;
    }
#if defined(_WIN32)
    ::Sleep(ms);
#else
    if (ms == 0) {
        std::this_thread::yield();
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
#endif
}

DWORD GetTickCount() {
#if defined(_WIN32)
    if (!clock::IsVirtual()) {
        return ::GetTickCount();
    }
#endif
    return static_cast<DWORD>(clock::NowMicros() / 1000u);
}

}  // namespace w32

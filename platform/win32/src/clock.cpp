// The layer's clock: steady real time, or a virtual time that moves when every thread taking part
// in it waits.
#include "w32/clock.h"

#if !defined(_WIN32)
#include <pthread.h>
#endif

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "clock_wait.h"
#include "w32test/clock.h"

namespace w32test {
namespace {

constexpr uint64_t kNoDeadline = UINT64_MAX;

// One thread's part in virtual time, guarded by the clock's mutex.
struct Taker {
    uint64_t epoch = 0;  // the switch-on it takes part in; 0: none
    bool waiting = false;
    uint64_t deadline = kNoDeadline;  // while waiting: when the wait ends by itself
    bool onAdvance = false;           // while waiting: any move of the clock ends the wait
    int outsideDepth = 0;             // open outside waits: waiting, but not for the clock
};

struct ClockState {
    std::atomic<bool> isVirtual{false};
    std::mutex mutex;
    std::condition_variable changed;
    uint64_t virtualNow = 0;     // guarded by mutex
    uint64_t epoch = 0;          // guarded by mutex; a new one at each switch on or off
    std::vector<Taker*> takers;  // guarded by mutex: the threads taking part
};

ClockState& State() {
    static ClockState* state = new ClockState;  // outlives every thread's Taker
    return *state;
}

uint64_t RealMicros() {
    using namespace std::chrono;
    return static_cast<uint64_t>(
        duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
}

// From here to StopWaiting, the caller holds the clock's mutex.

void Join(ClockState& s, Taker& t) {
    if (t.epoch == s.epoch) {
        return;
    }
    t = Taker{};
    t.epoch = s.epoch;
    s.takers.push_back(&t);
}

// Ends the waits that the clock's reading now satisfies: deadlines reached, and every wait for
// any move when the clock moved.
void ReleaseWaiters(ClockState& s, bool moved) {
    for (Taker* t : s.takers) {
        if (t->waiting && t->outsideDepth == 0 &&
            (t->deadline <= s.virtualNow || (moved && t->onAdvance))) {
            t->waiting = false;
        }
    }
    s.changed.notify_all();
}

// The rule of virtual time: once every thread taking part waits, the clock jumps to the earliest
// deadline among them. While one of them runs, time stands still.
void AdvanceIfAllWait(ClockState& s) {
    if (!s.isVirtual.load()) {
        return;
    }
    uint64_t next = kNoDeadline;
    for (const Taker* t : s.takers) {
        if (!t->waiting) {
            return;
        }
        if (t->outsideDepth == 0) {
            next = std::min(next, t->deadline);
        }
    }
    if (next == kNoDeadline) {
        return;  // everyone waits for something other than time
    }
    bool moved = next > s.virtualNow;
    if (moved) {
        s.virtualNow = next;
    }
    ReleaseWaiters(s, moved);
}

void Leave(ClockState& s, Taker& t) {
    if (t.epoch != s.epoch) {
        return;
    }
    s.takers.erase(std::remove(s.takers.begin(), s.takers.end(), &t), s.takers.end());
    t.epoch = 0;
    AdvanceIfAllWait(s);
}

// Every waiter looks again before the clock may move on: a change may be what it waits for.
void WakeAllWaiters(ClockState& s) {
    for (Taker* t : s.takers) {
        if (t->waiting && t->outsideDepth == 0) {
            t->waiting = false;
        }
    }
    s.changed.notify_all();
}

// The waiting state of a thread between its waits: an open outside wait still counts.
void StopWaiting(Taker& t) {
    t.waiting = t.outsideDepth > 0;
    t.deadline = kNoDeadline;
    t.onAdvance = false;
}

}  // namespace

// A thread that ends leaves virtual time. Its Taker lives on the heap, found through a slot of
// the system's thread-local storage whose clean-up runs when the thread ends (a C++ thread_local
// object may be freed before its destructor runs on some systems).
void EndThread(void* taker) {
    Taker* t = static_cast<Taker*>(taker);
    {
        ClockState& s = State();
        std::lock_guard<std::mutex> lock(s.mutex);
        Leave(s, *t);
    }
    delete t;
}

namespace {

#if defined(_WIN32)
std::atomic<DWORD> g_takerSlot{TLS_OUT_OF_INDEXES};

DWORD TakerSlot() {
    DWORD slot = g_takerSlot.load();
    if (slot != TLS_OUT_OF_INDEXES) {
        return slot;
    }
    DWORD fresh = ::TlsAlloc();
    if (!g_takerSlot.compare_exchange_strong(slot, fresh)) {
        ::TlsFree(fresh);
        return slot;
    }
    return fresh;
}
Taker* CurrentTaker() { return static_cast<Taker*>(::TlsGetValue(TakerSlot())); }
void SetCurrentTaker(Taker* t) { ::TlsSetValue(TakerSlot(), t); }
#else
pthread_key_t TakerKey() {
    static const pthread_key_t key = [] {
        pthread_key_t k;
        pthread_key_create(&k, EndThread);
        return k;
    }();
    return key;
}
Taker* CurrentTaker() { return static_cast<Taker*>(pthread_getspecific(TakerKey())); }
void SetCurrentTaker(Taker* t) { pthread_setspecific(TakerKey(), t); }
#endif

// The calling thread's Taker, made on its first use.
Taker& ThisThread() {
    Taker* t = CurrentTaker();
    if (t == nullptr) {
        t = new Taker;
        SetCurrentTaker(t);
    }
    return *t;
}

// Waits, as a thread taking part, until the clock reads `deadline`, `woken` holds or virtual time
// ends. False at once in real time.
bool WaitVirtual(std::unique_lock<std::mutex>& lock, ClockState& s, uint64_t deadline,
                 bool (*woken)(const void*), const void* context) {
    if (!s.isVirtual.load()) {
        return false;
    }
    Taker& me = ThisThread();
    Join(s, me);
    const uint64_t epoch = s.epoch;
    while (s.epoch == epoch && s.virtualNow < deadline && (woken == nullptr || !woken(context))) {
        me.waiting = true;
        me.deadline = deadline;
        me.onAdvance = false;
        AdvanceIfAllWait(s);
        s.changed.wait(lock, [&] { return !me.waiting || s.epoch != epoch; });
    }
    if (s.epoch == epoch) {
        StopWaiting(me);
        AdvanceIfAllWait(s);  // an outside wait still open lets the others go on
    }
    return true;
}

}  // namespace

namespace clock {

uint64_t NowMicros() {
    ClockState& s = State();
    if (!s.isVirtual.load()) {
        return RealMicros();
    }
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.isVirtual.load() ? s.virtualNow : RealMicros();
}

void UseVirtualTime(bool on) {
    ClockState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (on != s.isVirtual.load()) {
        // A new start: the threads of an earlier virtual time take part no more, and their
        // waits end.
        ++s.epoch;
        s.takers.clear();
        if (on) {
            s.virtualNow = RealMicros();
        }
        s.isVirtual.store(on);
        s.changed.notify_all();
    }
    if (on) {
        Join(s, ThisThread());
    }
}

bool IsVirtual() { return State().isVirtual.load(); }

void TakePart() {
    ClockState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.isVirtual.load()) {
        Join(s, ThisThread());
    }
}

void BeginOutsideWait() {
    ClockState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (!s.isVirtual.load()) {
        return;
    }
    Taker& me = ThisThread();
    Join(s, me);
    ++me.outsideDepth;
    me.waiting = true;
    AdvanceIfAllWait(s);
}

void EndOutsideWait() {
    ClockState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    Taker& me = ThisThread();
    if (me.epoch != s.epoch || me.outsideDepth == 0) {
        return;  // begun in another virtual time, or in real time
    }
    --me.outsideDepth;
    StopWaiting(me);
}

void AdvanceToMicros(uint64_t t) {
    ClockState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.isVirtual.load() && t > s.virtualNow) {
        s.virtualNow = t;
        ReleaseWaiters(s, true);
    }
}

void AdvanceMicros(uint64_t us) {
    ClockState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.isVirtual.load() && us != 0) {
        s.virtualNow += us;
        ReleaseWaiters(s, true);
    }
}

void SleepUntilMicros(uint64_t t) {
    {
        ClockState& s = State();
        std::unique_lock<std::mutex> lock(s.mutex);
        if (WaitVirtual(lock, s, t, nullptr, nullptr)) {
            return;
        }
    }
    uint64_t now = RealMicros();
    if (t > now) {
        std::this_thread::sleep_for(std::chrono::microseconds(t - now));
    }
}

bool SleepUntilMicrosOrEnd(uint64_t t, LONG* flag) {
    ClockState& s = State();
    std::unique_lock<std::mutex> lock(s.mutex);
    // The flag is read and written under the clock's mutex only.
    auto ended = [](const void* f) { return *static_cast<const LONG*>(f) != 0; };
    if (WaitVirtual(lock, s, t, ended, flag)) {
        return *flag == 0 && s.isVirtual.load() && s.virtualNow >= t;
    }
    using namespace std::chrono;
    steady_clock::time_point until{microseconds(t)};
    s.changed.wait_until(lock, until, [&] { return *flag != 0; });
    return *flag == 0;
}

void EndSleep(LONG* flag) {
    ClockState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    *flag = 1;
    WakeAllWaiters(s);
}

uint64_t WaitForAdvance(uint64_t seen, DWORD realTimeoutMs) {
    ClockState& s = State();
    std::unique_lock<std::mutex> lock(s.mutex);
    if (!s.isVirtual.load()) {
        lock.unlock();
        std::this_thread::sleep_for(std::chrono::milliseconds(realTimeoutMs));
        return RealMicros();
    }
    Taker& me = ThisThread();
    Join(s, me);
    const uint64_t epoch = s.epoch;
    auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(realTimeoutMs);
    while (s.epoch == epoch && s.virtualNow == seen) {
        me.waiting = true;
        me.deadline = kNoDeadline;
        me.onAdvance = true;
        AdvanceIfAllWait(s);
        if (!s.changed.wait_until(lock, giveUp, [&] { return !me.waiting || s.epoch != epoch; })) {
            break;  // the real time-out
        }
    }
    if (s.epoch == epoch) {
        StopWaiting(me);
        AdvanceIfAllWait(s);
    }
    return s.isVirtual.load() ? s.virtualNow : RealMicros();
}

}  // namespace clock

#if defined(_WIN32)
// A thread that ends without having taken part finds an empty slot.
void EndThisThreadOnWindows() {
    DWORD slot = g_takerSlot.load();
    if (slot == TLS_OUT_OF_INDEXES) {
        return;
    }
    Taker* t = static_cast<Taker*>(::TlsGetValue(slot));
    if (t != nullptr) {
        ::TlsSetValue(slot, nullptr);
        EndThread(t);
    }
}
#endif

}  // namespace w32test

#if defined(_WIN32)
// The layer's DLL hears of every thread that ends.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_THREAD_DETACH) {
        w32test::EndThisThreadOnWindows();
    }
    return TRUE;
}
#endif

namespace w32 {
namespace clockwait {

bool WaitVirtualUntil(uint64_t deadline, bool (*woken)(const void*), const void* context) {
    w32test::ClockState& s = w32test::State();
    std::unique_lock<std::mutex> lock(s.mutex);
    return w32test::WaitVirtual(lock, s, deadline, woken, context);
}

void WakeWaiters() {
    w32test::ClockState& s = w32test::State();
    if (!s.isVirtual.load()) {
        return;
    }
    std::lock_guard<std::mutex> lock(s.mutex);
    w32test::WakeAllWaiters(s);
}

}  // namespace clockwait

namespace clock = w32test::clock;

void Sleep(DWORD ms) {
    if (clock::IsVirtual()) {
        w32test::ClockState& s = w32test::State();
        std::unique_lock<std::mutex> lock(s.mutex);
        uint64_t deadline = s.virtualNow + static_cast<uint64_t>(ms) * 1000u;
        if (w32test::WaitVirtual(lock, s, deadline, nullptr, nullptr)) {
            return;
        }
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

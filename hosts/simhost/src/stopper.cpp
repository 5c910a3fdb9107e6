// The thread of stop-after.
#include "stopper.h"

#include <atomic>

#include "w32test/clock.h"

namespace simhost {

Stopper::Stopper(ISimTarget& target, Call call, uint64_t delayMicros, std::function<bool()> when)
    : m_call(call) {
    uint64_t deadline = w32test::clock::NowMicros() + delayMicros;
    std::atomic<bool> takesPart{false};
    m_thread = std::thread([this, &target, deadline, &takesPart, when] {
        // The clock must not pass the deadline without this thread: it takes part before the
        // session goes on.
        w32test::clock::TakePart();
        takesPart = true;
        if (!w32test::clock::SleepUntilMicrosOrEnd(deadline, &m_end) || (when && !when())) {
            return;
        }
        {
            std::lock_guard<std::mutex> lock(m_lock);
            m_state = State::Calling;
        }
        SimStatus status = m_call == Call::Stop ? target.Stop() : target.RequestBreak();
        std::lock_guard<std::mutex> lock(m_lock);
        m_status = status;
        m_state = State::Made;
        m_changed.notify_all();
    });
    while (!takesPart.load()) {
        std::this_thread::yield();
    }
}

Stopper::~Stopper() { Finish(); }

bool Stopper::TakeReport(SimStatus* status) {
    std::unique_lock<std::mutex> lock(m_lock);
    if (m_state == State::Calling) {
        // The stop may itself wait on the clock; time passes meanwhile.
        w32test::clock::OutsideWaitScope waiting;
        m_changed.wait(lock, [this] { return m_state == State::Made; });
    }
    if (m_state != State::Made || m_reported) {
        return false;
    }
    m_reported = true;
    *status = m_status;
    return true;
}

bool Stopper::Finish() {
    if (m_thread.joinable()) {
        w32test::clock::EndSleep(&m_end);
        if (m_call == Call::Stop) {
            // A stop under way may wait on the clock: time passes while this thread waits for it.
            w32test::clock::OutsideWaitScope waiting;
            m_thread.join();
        } else {
            // A break request never waits: the clock stands still, and no other thread's time
            // comes while this one ends.
            m_thread.join();
        }
    }
    std::lock_guard<std::mutex> lock(m_lock);
    return m_state == State::Made;
}

}  // namespace simhost

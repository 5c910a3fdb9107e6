// stop-after: a second thread that stops the target once some clock time has passed, as a host
// stops a run from another thread.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

#include "simtarget/sim_interfaces.h"
#include "w32/types.h"

namespace simhost {

class Stopper {
public:
    // How the stop is made: the target's Stop, or its RequestBreak.
    enum class Call { Stop, Break };

    // Starts the thread; it calls `call` of `target` once the layer's clock has moved
    // `delayMicros` on from now, if `when` (when given) still says so then. Under virtual time
    // the thread takes part in it, so the clock reaches that time only as the other threads wait.
    Stopper(ISimTarget& target, Call call, uint64_t delayMicros,
            std::function<bool()> when = nullptr);
    // Ends the thread (Finish).
    ~Stopper();
    Stopper(const Stopper&) = delete;
    Stopper& operator=(const Stopper&) = delete;

    // The status of the stop, once, when it has been made: a stop under way is waited for, so
    // that a run it ended is reported with it. False while the stop is still to come, and after
    // it has been reported.
    bool TakeReport(SimStatus* status);
    // Ends the thread: a stop not yet made is not made. True when it was made.
    bool Finish();

    Call GetCall() const { return m_call; }
    static const char* NameOf(Call call) { return call == Call::Stop ? "Stop" : "RequestBreak"; }

private:
    enum class State { Waiting, Calling, Made };

    const Call m_call;
    LONG m_end = 0;  // shared with the clock's wait (see w32test::clock::EndSleep)
    std::mutex m_lock;
    std::condition_variable m_changed;
    State m_state = State::Waiting;  // guarded
    SimStatus m_status = SIM_OK;     // guarded
    bool m_reported = false;         // guarded
    std::thread m_thread;
};

}  // namespace simhost

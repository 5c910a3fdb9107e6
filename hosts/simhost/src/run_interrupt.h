// Ctrl-C during a run: the running target is asked to break, and simhost goes on with the script.
#pragma once

#include <atomic>

#include "simtarget/sim_interfaces.h"

namespace simhost {

// Lives as long as one run command of a target. Ctrl-C then calls the target's RequestBreak
// (from another thread: the break request is the one call a host may make while a run goes on);
// at any other time Ctrl-C ends simhost as usual.
class RunInterrupt {
public:
    explicit RunInterrupt(ISimTarget& target);
    ~RunInterrupt();
    RunInterrupt(const RunInterrupt&) = delete;
    RunInterrupt& operator=(const RunInterrupt&) = delete;

    // True when Ctrl-C came while this run went on.
    bool Interrupted() const { return m_interrupted.load(); }

    // Routes the program's Ctrl-C to Deliver. Called once by main, before any other thread
    // starts, so that every later thread leaves Ctrl-C to it.
    static void CatchCtrlC();
    // What Ctrl-C does: asks the target of the run going on to break and returns true; false
    // when no run goes on (then the caller ends the program).
    static bool Deliver();

private:
    ISimTarget& m_target;
    RunInterrupt* m_outer;
    std::atomic<bool> m_interrupted{false};
};

}  // namespace simhost

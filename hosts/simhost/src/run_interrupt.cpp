// The run that Ctrl-C breaks into, guarded against the run ending at the same moment.
#include "run_interrupt.h"

#include <mutex>

namespace simhost {

namespace {

std::mutex& Lock() {
    static std::mutex lock;
    return lock;
}

// The innermost run going on; guarded by Lock().
RunInterrupt* current = nullptr;

}  // namespace

RunInterrupt::RunInterrupt(ISimTarget& target) : m_target(target) {
    std::lock_guard<std::mutex> hold(Lock());
    m_outer = current;
    current = this;
}

RunInterrupt::~RunInterrupt() {
    // Once this returns, no Ctrl-C reaches the target through this run any more.
    std::lock_guard<std::mutex> hold(Lock());
    current = m_outer;
}

bool RunInterrupt::Deliver() {
    std::lock_guard<std::mutex> hold(Lock());
    if (current == nullptr) {
        return false;
    }
    current->m_interrupted.store(true);
    current->m_target.RequestBreak();
    return true;
}

}  // namespace simhost

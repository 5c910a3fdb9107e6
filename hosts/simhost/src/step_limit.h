// The port observer simhost installs on a target for a run with a step limit.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "simtarget/sim_interfaces.h"
#include "stopper.h"

namespace simhost {

// A target asks its port observer whether it is active once after every instruction it executes
// (that is where a host steps into a run). This observer counts those questions and asks the
// target to break once the limit is reached; the port values and the answer are the script's
// own observer's, when it has one switched on.
//
// The board debuggers never ask: their instructions run on a board, each at least one command
// and its answer on a serial line, which takes a millisecond or more. A target that has not
// asked once when the limit's time has passed (a millisecond of clock time per instruction) is
// asked to break then, from a second thread. A step is at least eight bytes on the line, so
// the run has gone no further than the limit unless its line is faster than 80000 baud. In real
// time the limit's time is a second at least: a busy machine may take that long to start a
// target that counts.
class StepLimit : public ISimPortObserver {
public:
    // How the run reached the limit: not at all, by its count, or by the limit's time.
    enum class Reached { No, Counted, Timed };

    // `forward` may be null (no port observer switched on); `limit` is at least 1. The limit's
    // time starts now.
    StepLimit(ISimTarget& target, ISimPortObserver* forward, uint32_t limit);
    // Ends the wait for the limit's time; a break not yet asked for is not asked.
    ~StepLimit();
    StepLimit(const StepLimit&) = delete;
    StepLimit& operator=(const StepLimit&) = delete;

    void SIM_CALL UpdateValues(const char* const* names, const uint32_t* values,
                               int32_t count) override;
    int32_t SIM_CALL IsActive() override;

    // Whether and how the run was stopped because of the limit; ends the wait for its time.
    Reached Finish();

    // The limit's time for a target that does not count.
    uint64_t TimeMicros() const { return m_timeMicros; }

private:
    ISimTarget& m_target;
    ISimPortObserver* m_forward;
    uint32_t m_limit;
    uint64_t m_timeMicros;
    // Asked on the target's thread, read by the timer's.
    std::atomic<uint32_t> m_steps{0};
    bool m_reached = false;
    std::unique_ptr<Stopper> m_timer;
};

}  // namespace simhost

// The port observer simhost installs on a target for a run with a step limit.
#pragma once

#include <cstdint>

#include "simtarget/sim_interfaces.h"

namespace simhost {

// A target asks its port observer whether it is active once after every instruction it executes
// (that is where a host steps into a run). This observer counts those questions and asks the
// target to break once the limit is reached; the port values and the answer are the script's
// own observer's, when it has one switched on.
class StepLimit : public ISimPortObserver {
public:
    // `forward` may be null (no port observer switched on); `limit` is at least 1.
    StepLimit(ISimTarget& target, ISimPortObserver* forward, uint32_t limit)
        : m_target(target), m_forward(forward), m_limit(limit) {}

    void SIM_CALL UpdateValues(const char* const* names, const uint32_t* values,
                               int32_t count) override;
    int32_t SIM_CALL IsActive() override;

    // True when the run was stopped because it reached the limit.
    bool Reached() const { return m_reached; }

private:
    ISimTarget& m_target;
    ISimPortObserver* m_forward;
    uint32_t m_limit;
    uint32_t m_steps = 0;
    bool m_reached = false;
};

}  // namespace simhost

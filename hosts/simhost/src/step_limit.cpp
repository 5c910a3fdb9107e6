// Counting a run's instructions through the target's questions to its port observer.
#include "step_limit.h"

namespace simhost {

void StepLimit::UpdateValues(const char* const* names, const uint32_t* values, int32_t count) {
    if (m_forward != nullptr) {
        m_forward->UpdateValues(names, values, count);
    }
}

int32_t StepLimit::IsActive() {
    if (!m_reached && ++m_steps >= m_limit) {
        m_reached = true;
        m_target.RequestBreak();
    }
    return m_forward != nullptr ? m_forward->IsActive() : 0;
}

}  // namespace simhost

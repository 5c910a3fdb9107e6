// Counting a run's instructions through the target's questions to its port observer, and the
// limit's time for a target that never asks.
#include "step_limit.h"

#include "w32test/clock.h"

namespace simhost {

namespace {

constexpr uint64_t kMicrosPerInstruction = 1000;
constexpr uint64_t kLeastRealTimeMicros = 1000000;

}  // namespace

StepLimit::StepLimit(ISimTarget& target, ISimPortObserver* forward, uint32_t limit)
    : m_target(target),
      m_forward(forward),
      m_limit(limit),
      m_timeMicros(limit * kMicrosPerInstruction) {
    if (!w32test::clock::IsVirtual() && m_timeMicros < kLeastRealTimeMicros) {
        m_timeMicros = kLeastRealTimeMicros;
    }
    m_timer = std::make_unique<Stopper>(target, Stopper::Call::Break, m_timeMicros,
                                        [this] { return m_steps.load() == 0; });
}

StepLimit::~StepLimit() { Finish(); }

void StepLimit::UpdateValues(const char* const* names, const uint32_t* values, int32_t count) {
    if (m_forward != nullptr) {
        m_forward->UpdateValues(names, values, count);
    }
}

int32_t StepLimit::IsActive() {
    if (!m_reached && m_steps.fetch_add(1) + 1 >= m_limit) {
        m_reached = true;
        m_target.RequestBreak();
    }
    return m_forward != nullptr ? m_forward->IsActive() : 0;
}

StepLimit::Reached StepLimit::Finish() {
    const bool timed = m_timer != nullptr && m_timer->Finish();
    if (m_reached) {
        return Reached::Counted;
    }
    return timed ? Reached::Timed : Reached::No;
}

}  // namespace simhost

// The timed-access sequence of the Gristan chips, instruction by instruction, and the bits it
// guards.
#include "ostrel/timed_access.h"

#include <algorithm>

#include "ostrel/chip.h"
#include "ostrel/sfr.h"

namespace ostrel {

namespace {

constexpr int32_t kArmingCycles = 2;
constexpr int32_t kWindowCycles = 4;

uint8_t Restore(uint8_t now, uint8_t before, uint8_t mask) {
    return static_cast<uint8_t>((now & ~mask) | (before & mask));
}

}  // namespace

void CTimedAccess::Reset() {
    m_open = 0;
    m_arming = 0;
    m_window = 0;
    Sfr()[sfr::TA] = sfr::TA_IDLE;
    m_previous = sfr::TA_IDLE;
}

SimStatus CTimedAccess::BeforeInstruction() {
    m_pconBefore = Sfr()[sfr::PCON];
    m_ipBefore = Sfr()[sfr::IP];
    return SIM_OK;
}

SimStatus CTimedAccess::AfterInstruction(int cycleClass) {
    if (cycleClass == 2) {
        Tick(cycleClass, 1);
    }
    if (!IsOpen()) {
        uint8_t* const s = Sfr();
        s[sfr::PCON] = Restore(s[sfr::PCON], m_pconBefore, sfr::PCON_TIMED);
        s[sfr::IP] = Restore(s[sfr::IP], m_ipBefore, sfr::IP_TIMED);
    }
    return SIM_OK;
}

void CTimedAccess::EndInstruction(int cycleClass) {
    Tick(cycleClass, cycleClass == 2 ? 1 : cycleClass);
}

void CTimedAccess::Tick(int cycleClass, int32_t cycles) {
    uint8_t* const s = Sfr();
    const uint8_t ta = s[sfr::TA];
    if (m_arming > 0 && m_previous != sfr::TA_OPEN && ta == sfr::TA_OPEN) {
        m_open = 1;
    }
    if (m_window > 0 || m_previous == sfr::TA_ARM || ta != sfr::TA_ARM) {
        m_arming = std::max(0, m_arming - cycles);
        m_window = std::max(0, m_window - cycles);
        if (m_window == 0) {
            m_arming = 0;
            m_open = 0;
        }
    } else {
        // 0xAA just written: a two-cycle write still has its second cycle to run.
        const int32_t extra = cycleClass == 2 ? 1 : 0;
        m_arming = kArmingCycles + extra;
        m_window = kWindowCycles + extra;
    }
    m_previous = ta;
    s[sfr::TA] = sfr::TA_IDLE;
}

}  // namespace ostrel

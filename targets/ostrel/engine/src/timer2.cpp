// One machine cycle of Timer 2: T2EX edges and direction changes with their wait, the latched
// controls, the counting of the three modes, and many cycles at once while it only counts.
#include "ostrel/timer2.h"

#include "ostrel/chip.h"
#include "ostrel/sfr.h"

namespace ostrel {

namespace {

constexpr uint32_t kBaudStep = 6;  // Timer 2 counts six a machine cycle as a baud-rate generator

uint16_t Read16(const uint8_t* s, uint8_t low, uint8_t high) {
    return static_cast<uint16_t>(s[high] << 8 | s[low]);
}

void Write16(uint8_t* s, uint8_t low, uint8_t high, uint32_t value) {
    s[low] = static_cast<uint8_t>(value);
    s[high] = static_cast<uint8_t>(value >> 8);
}

uint8_t T2exOf(const uint8_t* s) { return (s[sfr::P1] & sfr::P1_T2EX) != 0 ? 1 : 0; }

}  // namespace

void CTimer2::Reset() {
    for (uint8_t address : sfr::kTimer2Registers) {
        Sfr()[address] = 0;
    }
}

void CTimer2::PowerOn() {
    Reset();
    m_latchedT2con = 0;
    m_latchedT2mod = 0;
    m_previousT2ex = 1;
    m_countUp = 1;
    m_edge = {};
    m_directionChange = {};
}

bool CTimer2::InterruptRequested() const {
    const uint8_t t2con = Sfr()[sfr::T2CON];
    if ((t2con & sfr::T2CON_TF2) != 0) {
        return true;
    }
    // While counting up and down, EXF2 only tells the direction of the last overflow.
    return (t2con & sfr::T2CON_EXF2) != 0 && (m_latchedT2mod & sfr::T2MOD_DCEN) == 0;
}

bool CTimer2::IsBaudRateGenerator() const {
    return (Sfr()[sfr::T2CON] & (sfr::T2CON_RCLK | sfr::T2CON_TCLK)) != 0;
}

uint8_t CTimer2::T2modSeen() const { return m_variant == 1 ? 0 : Sfr()[sfr::T2MOD]; }

void CTimer2::Latch() {
    m_latchedT2con = Sfr()[sfr::T2CON];
    m_latchedT2mod = T2modSeen();
}

bool CTimer2::Counting() const {
    // Counting pulses on the T2 pin is not simulated.
    return (Sfr()[sfr::T2CON] & sfr::T2CON_CT2) == 0 && (m_latchedT2con & sfr::T2CON_TR2) != 0;
}

void CTimer2::EndCycle(const MachineCycle& cycle) { Step(cycle.cycleClass, cycle.count); }

void CTimer2::Step(int cycleClass, int32_t count) {
    uint8_t* const s = Sfr();
    const uint8_t upBefore = m_countUp;

    // T2EX: a falling edge and any change of direction reach the timer a step later, two steps
    // later when they happened during a two-cycle instruction.
    const uint8_t wait = cycleClass == 2 ? 2 : 1;
    const bool edgeSeen = m_edge.Ripen();
    const uint8_t t2ex = T2exOf(s);
    if (t2ex == 0 && m_previousT2ex != 0) {
        m_edge = {1, wait};
    }
    if (m_directionChange.Ripen()) {
        m_countUp = m_countUp != 0 ? 0 : 1;
    }
    if (t2ex != m_previousT2ex) {
        m_directionChange = {1, wait};
    }
    m_previousT2ex = t2ex;

    // A two-cycle instruction works its first cycle with the controls latched before it, and a
    // start it makes itself counts from its second cycle.
    if (cycleClass != 2) {
        Latch();
    }
    const uint8_t t2con = s[sfr::T2CON];
    if (cycleClass == 2 && ((t2con ^ m_latchedT2con) & sfr::T2CON_TR2) != 0 &&
        (m_latchedT2con & sfr::T2CON_TR2) == 0) {
        m_latchedT2con = t2con;
        return;
    }
    if (Counting()) {
        Count(t2con, count, edgeSeen, m_countUp != upBefore);
    }
    Latch();
}

void CTimer2::Count(uint8_t t2con, int32_t count, bool edgeSeen, bool flipped) {
    uint8_t* const s = Sfr();
    const bool external = edgeSeen && (t2con & sfr::T2CON_EXEN2) != 0;
    const uint32_t t2 = Read16(s, sfr::TL2, sfr::TH2);
    const uint32_t reload = Read16(s, sfr::RCAP2L, sfr::RCAP2H);

    if ((t2con & (sfr::T2CON_RCLK | sfr::T2CON_TCLK)) != 0) {
        // Baud-rate generator: an overflow reloads and clocks the serial port instead of raising
        // TF2. T2EX only raises EXF2.
        if (external) {
            s[sfr::T2CON] |= sfr::T2CON_EXF2;
        }
        const int32_t low = s[sfr::TL2] + static_cast<int32_t>(kBaudStep) * count;
        if (low <= 0xFF) {
            s[sfr::TL2] = static_cast<uint8_t>(low);
        } else if (s[sfr::TH2] != 0xFF) {
            s[sfr::TL2] = static_cast<uint8_t>(low);
            ++s[sfr::TH2];
        } else {
            m_chip.Serial().TimerTwoOverflow();
            s[sfr::TL2] = static_cast<uint8_t>(s[sfr::RCAP2L] + (low - 0x100));
            s[sfr::TH2] = s[sfr::RCAP2H];
        }
        return;
    }

    uint32_t next = t2;
    if ((t2con & sfr::T2CON_CPRL2) != 0) {
        // Capture: a T2EX edge copies the count as it was before this step.
        if (external) {
            s[sfr::T2CON] |= sfr::T2CON_EXF2;
            Write16(s, sfr::RCAP2L, sfr::RCAP2H, t2);
        }
        next = t2 + static_cast<uint32_t>(count);
        if (next > 0xFFFF) {
            s[sfr::T2CON] |= sfr::T2CON_TF2;
        }
    } else if ((m_latchedT2mod & sfr::T2MOD_DCEN) == 0) {
        // Auto-reload on an overflow, or on a T2EX edge, which takes this step's count with it.
        next = t2 + static_cast<uint32_t>(count);
        if (external) {
            s[sfr::T2CON] |= sfr::T2CON_EXF2;
            next = reload;
        } else if (next > 0xFFFF) {
            s[sfr::T2CON] |= sfr::T2CON_TF2;
            next = reload;
        }
    } else {
        // Up and down as T2EX says: up it overflows into RCAP2, down it leaves RCAP2 for FFFFh.
        // The step in which the direction turns counts nothing.
        const uint32_t by = flipped ? 0 : static_cast<uint32_t>(count);
        if (m_countUp != 0) {
            next = t2 + by;
            if (next > 0xFFFF) {
                s[sfr::T2CON] |= sfr::T2CON_TF2 | sfr::T2CON_EXF2;
                next = reload;
            }
        } else if (t2 == reload) {
            s[sfr::T2CON] |= sfr::T2CON_TF2 | sfr::T2CON_EXF2;
            next = 0xFFFF;
        } else {
            next = t2 - by;
        }
    }
    Write16(s, sfr::TL2, sfr::TH2, next);
}

uint32_t CTimer2::QuietCycles() const {
    const uint8_t* const s = Sfr();
    // Controls written since the last latch, or a T2EX that moved or is still on its way, take
    // effect cycle by cycle.
    if ((m_edge.active | m_directionChange.active) != 0 || T2exOf(s) != m_previousT2ex ||
        s[sfr::T2CON] != m_latchedT2con || T2modSeen() != m_latchedT2mod) {
        return 0;
    }
    if (!Counting()) {
        return kQuietForever;
    }
    const uint8_t t2con = s[sfr::T2CON];
    const uint32_t t2 = Read16(s, sfr::TL2, sfr::TH2);
    if ((t2con & (sfr::T2CON_RCLK | sfr::T2CON_TCLK)) != 0) {
        return (0xFFFFu - t2) / kBaudStep;
    }
    if ((t2con & sfr::T2CON_CPRL2) == 0 && (m_latchedT2mod & sfr::T2MOD_DCEN) != 0 &&
        m_countUp == 0) {
        // Down to RCAP2, through 0 to FFFFh when below it: the cycle that finds RCAP2 acts.
        const uint32_t reload = Read16(s, sfr::RCAP2L, sfr::RCAP2H);
        return (t2 - reload) & 0xFFFFu;
    }
    return 0xFFFFu - t2;
}

void CTimer2::PassCycles(uint32_t cycles) {
    if (!Counting()) {
        return;
    }
    uint8_t* const s = Sfr();
    const uint8_t t2con = s[sfr::T2CON];
    const uint32_t t2 = Read16(s, sfr::TL2, sfr::TH2);
    uint32_t next = t2 + cycles;
    if ((t2con & (sfr::T2CON_RCLK | sfr::T2CON_TCLK)) != 0) {
        next = t2 + kBaudStep * cycles;
    } else if ((t2con & sfr::T2CON_CPRL2) == 0 && (m_latchedT2mod & sfr::T2MOD_DCEN) != 0 &&
               m_countUp == 0) {
        next = t2 - cycles;
    }
    Write16(s, sfr::TL2, sfr::TH2, next);
}

}  // namespace ostrel

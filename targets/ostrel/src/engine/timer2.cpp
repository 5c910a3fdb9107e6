// One machine cycle of Timer 2: T2EX edges and direction changes with their wait, the latched
// controls, and the counting of the three modes.
#include "timer2.h"

#include "c8051_target.h"
#include "sfr_map.h"

namespace ostrel {

namespace {

constexpr uint8_t P1_T2EX = 0x02;

uint16_t Read16(const uint8_t* sfr, uint8_t low, uint8_t high) {
    return static_cast<uint16_t>(sfr[high] << 8 | sfr[low]);
}

void Write16(uint8_t* sfr, uint8_t low, uint8_t high, uint32_t value) {
    sfr[low] = static_cast<uint8_t>(value);
    sfr[high] = static_cast<uint8_t>(value >> 8);
}

static_assert(sfr::P1 == 0x90 && sfr::T2CON == 0xC8 && sfr::T2MOD == 0xC9 && sfr::T2CON_TR2 == 0x04,
              "the idle check of Step reads these");

}  // namespace

bool CTimer2::InterruptRequested(const uint8_t* sfr) const {
    const uint8_t t2con = sfr[sfr::T2CON];
    if ((t2con & sfr::T2CON_TF2) != 0) {
        return true;
    }
    // While counting up and down, EXF2 only tells the direction of the last overflow.
    return (t2con & sfr::T2CON_EXF2) != 0 && (latchedT2mod_ & sfr::T2MOD_DCEN) == 0;
}

void CTimer2::StepRunning(uint8_t* sfr, int cycleClass, int32_t count) {
    baudOverflow_ = 0;
    const uint8_t upBefore = countUp_;

    // T2EX: a falling edge and any change of direction reach the timer a step later, two steps
    // later when they happened during a two-cycle instruction.
    const uint8_t wait = cycleClass == 2 ? 2 : 1;
    const bool edgeSeen = edge_.Ripen();
    const uint8_t t2ex = (sfr[sfr::P1] & P1_T2EX) != 0 ? 1 : 0;
    if (t2ex == 0 && previousT2ex_ != 0) {
        edge_ = {1, wait};
    }
    if (directionChange_.Ripen()) {
        countUp_ = countUp_ != 0 ? 0 : 1;
    }
    if (t2ex != previousT2ex_) {
        directionChange_ = {1, wait};
    }
    previousT2ex_ = t2ex;

    // A two-cycle instruction works its first cycle with the controls latched before it, and a
    // start it makes itself counts from its second cycle.
    if (cycleClass != 2) {
        Latch(sfr);
    }
    const uint8_t t2con = sfr[sfr::T2CON];
    if (cycleClass == 2 && ((t2con ^ latchedT2con_) & sfr::T2CON_TR2) != 0 &&
        (latchedT2con_ & sfr::T2CON_TR2) == 0) {
        latchedT2con_ = t2con;
        return;
    }
    // Counting pulses on the T2 pin is not simulated.
    if ((t2con & sfr::T2CON_CT2) == 0 && (latchedT2con_ & sfr::T2CON_TR2) != 0) {
        Count(sfr, t2con, count, edgeSeen, countUp_ != upBefore);
    }
    Latch(sfr);
    baudOverflow_ = 0;
}

void CTimer2::Count(uint8_t* sfr, uint8_t t2con, int32_t count, bool edgeSeen, bool flipped) {
    const bool external = edgeSeen && (t2con & sfr::T2CON_EXEN2) != 0;
    const uint32_t t2 = Read16(sfr, sfr::TL2, sfr::TH2);
    const uint32_t reload = Read16(sfr, sfr::RCAP2L, sfr::RCAP2H);

    if ((t2con & (sfr::T2CON_RCLK | sfr::T2CON_TCLK)) != 0) {
        // Baud-rate generator: six counts a machine cycle; an overflow reloads and clocks the
        // serial port instead of raising TF2. T2EX only raises EXF2.
        if (external) {
            sfr[sfr::T2CON] |= sfr::T2CON_EXF2;
        }
        const int32_t low = sfr[sfr::TL2] + 6 * count;
        if (low <= 0xFF) {
            sfr[sfr::TL2] = static_cast<uint8_t>(low);
        } else if (sfr[sfr::TH2] != 0xFF) {
            sfr[sfr::TL2] = static_cast<uint8_t>(low);
            ++sfr[sfr::TH2];
        } else {
            baudOverflow_ = 1;
            target_.AdvanceSerialPort();
            sfr[sfr::TL2] = static_cast<uint8_t>(sfr[sfr::RCAP2L] + (low - 0x100));
            sfr[sfr::TH2] = sfr[sfr::RCAP2H];
        }
        return;
    }

    uint32_t next = t2;
    if ((t2con & sfr::T2CON_CPRL2) != 0) {
        // Capture: a T2EX edge copies the count as it was before this step.
        if (external) {
            sfr[sfr::T2CON] |= sfr::T2CON_EXF2;
            Write16(sfr, sfr::RCAP2L, sfr::RCAP2H, t2);
        }
        next = t2 + static_cast<uint32_t>(count);
        if (next > 0xFFFF) {
            sfr[sfr::T2CON] |= sfr::T2CON_TF2;
        }
    } else if ((latchedT2mod_ & sfr::T2MOD_DCEN) == 0) {
        // Auto-reload on an overflow, or on a T2EX edge, which takes this step's count with it.
        next = t2 + static_cast<uint32_t>(count);
        if (external) {
            sfr[sfr::T2CON] |= sfr::T2CON_EXF2;
            next = reload;
        } else if (next > 0xFFFF) {
            sfr[sfr::T2CON] |= sfr::T2CON_TF2;
            next = reload;
        }
    } else {
        // Up and down as T2EX says: up it overflows into RCAP2, down it leaves RCAP2 for FFFFh.
        // The step in which the direction turns counts nothing.
        const uint32_t by = flipped ? 0 : static_cast<uint32_t>(count);
        if (countUp_ != 0) {
            next = t2 + by;
            if (next > 0xFFFF) {
                sfr[sfr::T2CON] |= sfr::T2CON_TF2 | sfr::T2CON_EXF2;
                next = reload;
            }
        } else if (t2 == reload) {
            sfr[sfr::T2CON] |= sfr::T2CON_TF2 | sfr::T2CON_EXF2;
            next = 0xFFFF;
        } else {
            next = t2 - by;
        }
    }
    Write16(sfr, sfr::TL2, sfr::TH2, next);
}

}  // namespace ostrel

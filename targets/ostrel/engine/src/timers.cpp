// One machine cycle of Timer 0 and Timer 1, and many at once while they only count.
#include "ostrel/timers.h"

#include <algorithm>

#include "ostrel/chip.h"
#include "ostrel/sfr.h"

namespace ostrel {

namespace {

// What distinguishes Timer 0 from Timer 1.
struct TimerUnit {
    uint8_t tl;
    uint8_t th;
    uint8_t run;       // TR in TCON
    uint8_t overflow;  // TF in TCON
    uint8_t gate;      // in TMOD
    uint8_t counter;   // C/T in TMOD
    int modeShift;     // of the mode bits in TMOD
    uint8_t pin;       // its INT pin in P3, which the gate looks at
    int delayFlag;
};

constexpr TimerUnit kTimer0 = {sfr::TL0,        sfr::TH0,      sfr::TCON_TR0,         sfr::TCON_TF0,
                               sfr::TMOD_GATE0, sfr::TMOD_CT0, sfr::TMOD_MODE0_SHIFT, sfr::P3_INT0,
                               kDelayTimer0};
constexpr TimerUnit kTimer1 = {sfr::TL1,        sfr::TH1,      sfr::TCON_TR1,         sfr::TCON_TF1,
                               sfr::TMOD_GATE1, sfr::TMOD_CT1, sfr::TMOD_MODE1_SHIFT, sfr::P3_INT1,
                               kDelayTimer1};

constexpr uint32_t kForever = CChipPart::kQuietForever;

int ModeOf(uint8_t tmod, const TimerUnit& t) { return (tmod >> t.modeShift) & sfr::TMOD_MODE_BITS; }

// Adds `count` to an 8-bit counter; true when it passed 255 (the byte keeps the excess).
bool CountByte(uint8_t& value, int32_t count) {
    const int32_t sum = value + count;
    value = static_cast<uint8_t>(sum);
    return sum > 0xFF;
}

// What one timer does in a cycle: whether its low (or only) counter runs, and, in Timer 0's
// split mode, whether its high byte runs under TR1.
struct Runs {
    bool low;
    bool high;
};

// Which counters of `t` count by the latched controls and the last pin sample; nothing counts in
// counter mode (pulses on the T pins are not simulated), nor Timer 1 in mode 3.
Runs RunsOf(const TimerUnit& t, int mode, uint8_t latchedTcon, uint8_t latchedTmod,
            uint8_t previousPins) {
    const bool isTimer0 = t.tl == sfr::TL0;
    const bool previousPinHigh = (previousPins & t.pin) != 0;
    Runs runs{(latchedTcon & t.run) != 0 && ((latchedTmod & t.gate) == 0 || previousPinHigh),
              isTimer0 && mode == 3 && (latchedTcon & sfr::TCON_TR1) != 0};
    if ((!isTimer0 && mode == 3) || (latchedTmod & t.counter) != 0) {
        runs = {false, false};
    }
    return runs;
}

// Counts in a cycle before the running counter of `t` overflows.
uint32_t CountsToOverflow(const uint8_t* s, const TimerUnit& t, int mode, Runs runs) {
    const uint8_t tl = s[t.tl];
    const uint8_t th = s[t.th];
    uint32_t quiet = kForever;
    if (runs.low) {
        switch (mode) {
            case 0:
                quiet = (0xFFu - th) * 32u + (31u - (tl & 0x1Fu));
                break;
            case 1:
                quiet = 0xFFFFu - (static_cast<uint32_t>(th) << 8 | tl);
                break;
            default:  // 2, and 3's low byte
                quiet = 0xFFu - tl;
                break;
        }
    }
    if (runs.high) {
        quiet = std::min<uint32_t>(quiet, 0xFFu - th);
    }
    return quiet;
}

}  // namespace

void CTimers::Reset() {
    uint8_t* const s = Sfr();
    for (uint8_t address : {sfr::TCON, sfr::TMOD, sfr::TL0, sfr::TL1, sfr::TH0, sfr::TH1}) {
        s[address] = 0;
    }
    m_latchedTcon = 0;
    m_latchedTmod = 0;
}

void CTimers::BeginCycle(const MachineCycle& cycle) {
    // A two-cycle instruction works its first cycle with the controls latched before it.
    if (cycle.cycleClass != 2) {
        m_latchedTcon = Sfr()[sfr::TCON];
        m_latchedTmod = Sfr()[sfr::TMOD];
    }
}

void CTimers::MidCycle(const MachineCycle& cycle) {
    // Nothing counts without a latched run bit (Timer 0's split high byte runs on TR1).
    if ((m_latchedTcon & (sfr::TCON_TR0 | sfr::TCON_TR1)) == 0) {
        return;
    }
    uint8_t* const s = Sfr();
    const uint8_t tmod = s[sfr::TMOD];
    const uint8_t previousPins = m_chip.Interrupts().PreviousPins();
    // While Timer 0 is split in two, its high byte owns TF1: Timer 1 still counts and reloads
    // (and clocks the serial port) but raises no flag.
    const bool timer0Split = ModeOf(tmod, kTimer0) == 3;
    uint8_t raised = 0;
    bool timer1Overflowed = false;

    for (const TimerUnit* unit : {&kTimer0, &kTimer1}) {
        const TimerUnit& t = *unit;
        const int mode = ModeOf(tmod, t);
        const Runs runs = RunsOf(t, mode, m_latchedTcon, m_latchedTmod, previousPins);
        if (!runs.low && !runs.high) {
            continue;
        }
        // In a two-cycle instruction, a control change made by the instruction itself (a start,
        // a gate being set, the gate pin rising) takes effect after it, for the whole timer.
        if (cycle.cycleClass == 2) {
            const uint8_t tcon = s[sfr::TCON];
            const bool previousPinHigh = (previousPins & t.pin) != 0;
            const bool pinHigh = (s[sfr::P3] & t.pin) != 0;
            if (((tcon ^ m_latchedTcon) & t.run) != 0 && (m_latchedTcon & t.run) == 0) {
                continue;
            }
            if (((tmod ^ m_latchedTmod) & t.gate) != 0 && (m_latchedTmod & t.gate) != 0 &&
                previousPinHigh) {
                continue;
            }
            if (pinHigh != previousPinHigh && (m_latchedTmod & t.gate) == 0 && !previousPinHigh) {
                continue;
            }
        }

        uint8_t& tl = s[t.tl];
        uint8_t& th = s[t.th];
        bool overflow = false;
        switch (mode) {
            case 0:  // 13 bits: TH above the low five bits of TL
                if (runs.low) {
                    const bool carry = (tl & 0x1F) + cycle.count > 0x1F;
                    tl = static_cast<uint8_t>(tl + cycle.count);
                    overflow = carry && CountByte(th, 1);
                }
                break;
            case 1:  // 16 bits
                overflow = runs.low && CountByte(tl, cycle.count) && CountByte(th, 1);
                break;
            case 2:  // 8 bits, reloaded from TH
                if (runs.low) {
                    const int32_t sum = tl + cycle.count;
                    overflow = sum > 0xFF;
                    tl = static_cast<uint8_t>(overflow ? th + (sum - 0x100) : sum);
                }
                break;
            default:  // 3, Timer 0 only: two 8-bit counters
                if (runs.low && CountByte(tl, cycle.count)) {
                    raised |= sfr::TCON_TF0;
                }
                if (runs.high && CountByte(th, cycle.count)) {
                    raised |= sfr::TCON_TF1;
                }
                break;
        }
        if (overflow) {
            if (&t == &kTimer1) {
                timer1Overflowed = true;
                if (!timer0Split) {
                    raised |= t.overflow;
                }
            } else {
                raised |= t.overflow;
            }
        }
    }
    s[sfr::TCON] |= raised;

    // An overflow in the first cycle of a longer instruction needs no further wait.
    CInterruptController& interrupts = m_chip.Interrupts();
    if (cycle.index == 1 && (cycle.cycleClass == 2 || cycle.cycleClass == 3)) {
        if ((raised & sfr::TCON_TF0) != 0) {
            interrupts.SetDelayFlag(kDelayTimer0, true);
        }
        if ((raised & sfr::TCON_TF1) != 0) {
            interrupts.SetDelayFlag(kDelayTimer1, true);
        }
    }
    // Only Timer 1's auto-reload overflows clock the serial port.
    if (timer1Overflowed && ModeOf(tmod, kTimer1) == 2 && (s[sfr::SCON] & sfr::SCON_SM1) != 0 &&
        m_chip.SimulateSerial()) {
        m_chip.Serial().Tick();
    }
}

void CTimers::EndCycle(const MachineCycle&) {
    m_latchedTcon = Sfr()[sfr::TCON];
    m_latchedTmod = Sfr()[sfr::TMOD];
}

uint32_t CTimers::QuietCycles() const {
    const uint8_t* const s = Sfr();
    // A control written since the last latch takes effect cycle by cycle.
    if (s[sfr::TCON] != m_latchedTcon || s[sfr::TMOD] != m_latchedTmod) {
        return 0;
    }
    if ((m_latchedTcon & (sfr::TCON_TR0 | sfr::TCON_TR1)) == 0) {
        return kForever;
    }
    const uint8_t previousPins = m_chip.Interrupts().PreviousPins();
    uint32_t quiet = kForever;
    for (const TimerUnit* unit : {&kTimer0, &kTimer1}) {
        const int mode = ModeOf(m_latchedTmod, *unit);
        const Runs runs = RunsOf(*unit, mode, m_latchedTcon, m_latchedTmod, previousPins);
        quiet = std::min(quiet, CountsToOverflow(s, *unit, mode, runs));
    }
    return quiet;
}

void CTimers::PassCycles(uint32_t cycles) {
    if ((m_latchedTcon & (sfr::TCON_TR0 | sfr::TCON_TR1)) == 0) {
        return;
    }
    uint8_t* const s = Sfr();
    const uint8_t previousPins = m_chip.Interrupts().PreviousPins();
    for (const TimerUnit* unit : {&kTimer0, &kTimer1}) {
        const TimerUnit& t = *unit;
        const int mode = ModeOf(m_latchedTmod, t);
        const Runs runs = RunsOf(t, mode, m_latchedTcon, m_latchedTmod, previousPins);
        uint8_t& tl = s[t.tl];
        uint8_t& th = s[t.th];
        // No overflow lies in these cycles (see QuietCycles), so the counters only add.
        if (runs.low) {
            switch (mode) {
                case 0: {
                    const uint32_t low5 = tl & 0x1Fu;
                    tl = static_cast<uint8_t>(tl + cycles);
                    th = static_cast<uint8_t>(th + ((low5 + cycles) >> 5));
                    break;
                }
                case 1: {
                    const uint32_t value = (static_cast<uint32_t>(th) << 8 | tl) + cycles;
                    tl = static_cast<uint8_t>(value);
                    th = static_cast<uint8_t>(value >> 8);
                    break;
                }
                default:
                    tl = static_cast<uint8_t>(tl + cycles);
                    break;
            }
        }
        if (runs.high) {
            th = static_cast<uint8_t>(th + cycles);
        }
    }
}

}  // namespace ostrel

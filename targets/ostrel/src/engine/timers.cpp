// One machine cycle of the 8051's own peripherals: Timer 0 and Timer 1, the INT0 and INT1 pins,
// and the per-cycle part of the serial port (whose ticks are in serial_port.cpp).
#include "c8051_target.h"
#include "engine/cpu.h"

namespace ostrel {

namespace {

constexpr uint8_t TMOD_GATE0 = 0x08;
constexpr uint8_t TMOD_CT0 = 0x04;
constexpr uint8_t TMOD_GATE1 = 0x80;
constexpr uint8_t TMOD_CT1 = 0x40;
constexpr uint8_t P3_INT0 = 0x04;
constexpr uint8_t P3_INT1 = 0x08;

// What distinguishes Timer 0 from Timer 1.
struct TimerUnit {
    uint8_t tl;
    uint8_t th;
    uint8_t run;       // TR in TCON
    uint8_t overflow;  // TF in TCON
    uint8_t gate;      // in TMOD
    uint8_t counter;   // C/T in TMOD
    int modeShift;     // of the mode bits in TMOD
    uint8_t pin;       // INT pin in P3
    int delayFlag;
};

constexpr TimerUnit kTimer0 = {sfr::TL0, sfr::TH0, sfr::TCON_TR0, sfr::TCON_TF0, TMOD_GATE0,
                               TMOD_CT0, 0,        P3_INT0,       kDelayTimer0};
constexpr TimerUnit kTimer1 = {sfr::TL1, sfr::TH1, sfr::TCON_TR1, sfr::TCON_TF1, TMOD_GATE1,
                               TMOD_CT1, 4,        P3_INT1,       kDelayTimer1};

// Adds `count` to an 8-bit counter; true when it passed 255 (the byte keeps the excess).
bool CountByte(uint8_t& value, int32_t count) {
    const int32_t sum = value + count;
    value = static_cast<uint8_t>(sum);
    return sum > 0xFF;
}

// Counts one timer for one machine cycle. Returns the TCON overflow flag it raised (0 for none).
uint8_t CountTimer(engine::Cpu& c, const PeripheralTiming& timing, const TimerUnit& t,
                   int32_t count, int cycleClass) {
    uint8_t* const s = c.sfr;
    const uint8_t tmod = s[sfr::TMOD];
    const uint8_t latchedTcon = timing.latchedTcon;
    const uint8_t latchedTmod = timing.latchedTmod;
    const bool previousPinHigh = (timing.pinSample[3] & t.pin) != 0;
    const int mode = (tmod >> t.modeShift) & 3;
    const bool isTimer0 = t.tl == sfr::TL0;
    const bool running =
        (latchedTcon & t.run) != 0 && ((latchedTmod & t.gate) == 0 || previousPinHigh);
    // In mode 3 Timer 0's high byte counts under TR1 alone, and Timer 1 stands.
    const bool highRuns = isTimer0 && mode == 3 && (latchedTcon & sfr::TCON_TR1) != 0;
    if ((!running && !highRuns) || (!isTimer0 && mode == 3)) {
        return 0;  // nothing counts in this cycle, whatever else holds
    }

    // In a two-cycle instruction, a control change made by the instruction itself (a start, a
    // gate being set, the gate pin rising) takes effect after it.
    if (cycleClass == 2) {
        const uint8_t tcon = s[sfr::TCON];
        const bool pinHigh = (s[sfr::P3] & t.pin) != 0;
        if (((tcon ^ latchedTcon) & t.run) != 0 && (latchedTcon & t.run) == 0) {
            return 0;
        }
        if (((tmod ^ latchedTmod) & t.gate) != 0 && (latchedTmod & t.gate) != 0 &&
            previousPinHigh) {
            return 0;
        }
        if (pinHigh != previousPinHigh && (latchedTmod & t.gate) == 0 && !previousPinHigh) {
            return 0;
        }
    }
    // Counting pulses on the T pins is not simulated.
    if ((latchedTmod & t.counter) != 0) {
        return 0;
    }

    uint8_t& tl = s[t.tl];
    uint8_t& th = s[t.th];
    uint8_t raised = 0;
    switch (mode) {
        case 0:  // 13 bits: TH above the low five bits of TL
            if (running) {
                const bool carry = (tl & 0x1F) + count > 0x1F;
                tl = static_cast<uint8_t>(tl + count);
                if (carry && CountByte(th, 1)) {
                    raised = t.overflow;
                }
            }
            break;
        case 1:  // 16 bits
            if (running && CountByte(tl, count) && CountByte(th, 1)) {
                raised = t.overflow;
            }
            break;
        case 2:  // 8 bits, reloaded from TH
            if (running) {
                const int32_t sum = tl + count;
                if (sum > 0xFF) {
                    tl = static_cast<uint8_t>(th + (sum - 0x100));
                    raised = t.overflow;
                } else {
                    tl = static_cast<uint8_t>(sum);
                }
            }
            break;
        default:  // 3, Timer 0 only: two 8-bit counters
            if (running && CountByte(tl, count)) {
                raised = sfr::TCON_TF0;
            }
            if (highRuns && CountByte(th, count)) {
                raised |= sfr::TCON_TF1;
            }
            break;
    }
    s[sfr::TCON] |= raised;
    return raised;
}

// The INT0 and INT1 pins (P3.2, P3.3) in one machine cycle, both at once, as bits in the places
// of their requests IE0 and IE1 in TCON, one place above their trigger bits IT0 and IT1.
// Edge-triggered, a high sample followed by a low pin sets the request. Level-triggered, the
// request follows the pin: a high sample clears it, a low pin sets it.
uint8_t SampleInterruptPins(uint8_t tcon, uint8_t previousP3, uint8_t p3) {
    constexpr uint8_t kRequests = sfr::TCON_IE0 | sfr::TCON_IE1;
    const auto asRequests = [](uint8_t pins) {
        return static_cast<uint8_t>(((pins >> 1) & sfr::TCON_IE0) | (pins & sfr::TCON_IE1));
    };
    const uint8_t highBefore = asRequests(previousP3);
    const uint8_t lowNow = static_cast<uint8_t>(~asRequests(p3) & kRequests);
    const uint8_t edgeTriggered = static_cast<uint8_t>((tcon << 1) & kRequests);
    const uint8_t levelTriggered = static_cast<uint8_t>(~edgeTriggered & kRequests);
    tcon |= static_cast<uint8_t>(edgeTriggered & highBefore & lowNow);
    tcon = static_cast<uint8_t>(tcon & ~(levelTriggered & highBefore));
    tcon |= static_cast<uint8_t>(levelTriggered & lowNow);
    return tcon;
}

}  // namespace

void C8051Target::AdvanceTimers(int32_t count, int32_t cycleIndex) {
    engine::Cpu& c = cpu_;
    PeripheralTiming& timing = c.regs->Timing();
    uint8_t* const s = c.sfr;

    if ((timing.serialMarks & kMarkTiPending) != 0) {
        s[sfr::SCON] |= sfr::SCON_TI;
        timing.serialMarks = static_cast<uint8_t>(timing.serialMarks & ~kMarkTiPending);
    }
    // A two-cycle instruction works its first cycle with the controls latched before it.
    if (cycleClass_ != 2) {
        timing.latchedTcon = s[sfr::TCON];
        timing.latchedTmod = s[sfr::TMOD];
    }

    // Nothing counts without a latched run bit (Timer 0's split high byte runs on TR1).
    uint8_t raised0 = 0;
    uint8_t raised1 = 0;
    if ((timing.latchedTcon & (sfr::TCON_TR0 | sfr::TCON_TR1)) != 0) {
        raised0 = CountTimer(c, timing, kTimer0, count, cycleClass_);
        raised1 = CountTimer(c, timing, kTimer1, count, cycleClass_);
        // An overflow in the first cycle of a longer instruction needs no further wait.
        if (cycleIndex == 1 && (cycleClass_ == 2 || cycleClass_ == 3)) {
            if (((raised0 | raised1) & sfr::TCON_TF0) != 0) {
                delayFlags_[kDelayTimer0] = 1;
            }
            if (((raised0 | raised1) & sfr::TCON_TF1) != 0) {
                delayFlags_[kDelayTimer1] = 1;
            }
        }
    }
    const uint8_t scon = s[sfr::SCON];
    const bool simulateSerial = options_[kOptionSerial] != 0;
    // Only Timer 1's auto-reload overflows clock the serial port.
    if ((raised1 & sfr::TCON_TF1) != 0 && ((s[sfr::TMOD] >> 4) & 3) == 2 &&
        (scon & sfr::SCON_SM1) != 0 && simulateSerial) {
        AdvanceSerialPort();
    }

    const uint8_t tcon = SampleInterruptPins(s[sfr::TCON], timing.pinSample[3], s[sfr::P3]);
    s[sfr::TCON] = tcon;
    // A delay waits for a request that is still there.
    if ((tcon & sfr::TCON_IE0) == 0) {
        delayFlags_[kDelayExternal0] = 0;
    }
    if ((tcon & sfr::TCON_IE1) == 0) {
        delayFlags_[kDelayExternal1] = 0;
    }

    if ((scon & (sfr::SCON_SM0 | sfr::SCON_SM1)) == sfr::SCON_SM0) {
        timing.mode2Divider = static_cast<uint8_t>(timing.mode2Divider + 12);
        if (timing.mode2Divider >= 96) {
            timing.mode2Divider = 0;
        }
    }
    if ((scon & sfr::SCON_SM1) == 0 && simulateSerial) {
        AdvanceSerialPort();
    }

    timing.pinSample[3] = s[sfr::P3];
    timing.latchedTcon = s[sfr::TCON];
    timing.latchedTmod = s[sfr::TMOD];
}

void C8051Target::AdvanceTimersSecondCycle(int32_t count) {
    AdvanceTimers(count, 2);
    StepTimer2(count);
}

}  // namespace ostrel

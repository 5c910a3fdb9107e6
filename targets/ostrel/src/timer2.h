// Timer 2 of the 8052 family: auto-reload (counting up, or up and down with DCEN), capture and
// baud-rate generation, with the external input T2EX (P1.1).
#pragma once

#include <cstdint>

namespace ostrel {

class C8051Target;

class CTimer2 {
public:
    // Variant 1 is the 8052, which has no T2MOD (Timer 2 reads it as 0); variant 2 has it.
    CTimer2(C8051Target& target, int variant) : target_(target), variant_(variant) {}
    CTimer2(const CTimer2&) = delete;
    CTimer2& operator=(const CTimer2&) = delete;

    int Variant() const { return variant_; }

    // One machine cycle over the special function registers `sfr`, in an instruction of
    // `cycleClass`; a running timer adds `count`. An overflow in the baud-rate mode clocks the
    // target's serial port.
    void Step(uint8_t* sfr, int cycleClass, int32_t count) {
        // A timer that stands, with nothing changing on T2EX, only latches its controls: that
        // is every cycle of most programs, so it stays cheap.
        const uint8_t t2con = sfr[kT2con];
        if ((edge_.active | directionChange_.active) == 0 &&
            static_cast<uint8_t>((sfr[kP1] >> 1) & 1) == previousT2ex_ &&
            ((t2con | latchedT2con_) & kTr2) == 0) {
            latchedT2con_ = t2con;
            latchedT2mod_ = variant_ == 1 ? 0 : sfr[kT2mod];
            return;
        }
        StepRunning(sfr, cycleClass, count);
    }

    // Set only while an overflow of the baud-rate mode runs the serial port's tick.
    bool BaudOverflow() const { return baudOverflow_ != 0; }
    // Whether TF2, or EXF2 outside the up-and-down counting, asks for the interrupt.
    bool InterruptRequested(const uint8_t* sfr) const;

    uint8_t LatchedT2con() const { return latchedT2con_; }
    uint8_t LatchedT2mod() const { return latchedT2mod_; }
    // 1 counting up, 0 down (only DCEN's counting looks at it).
    bool CountsUp() const { return countUp_ != 0; }

private:
    // Where Step looks first (the register map's addresses and TR2).
    static constexpr uint8_t kP1 = 0x90;
    static constexpr uint8_t kT2con = 0xC8;
    static constexpr uint8_t kT2mod = 0xC9;
    static constexpr uint8_t kTr2 = 0x04;

    void StepRunning(uint8_t* sfr, int cycleClass, int32_t count);

    // A change on T2EX waits one step, two when the instruction lasts two cycles.
    struct Pending {
        uint8_t active = 0;
        uint8_t steps = 0;

        // True in the step in which the wait ends.
        bool Ripen() {
            if (active == 0 || --steps != 0) {
                return false;
            }
            active = 0;
            return true;
        }
    };

    void Latch(const uint8_t* sfr) {
        latchedT2con_ = sfr[kT2con];
        latchedT2mod_ = variant_ == 1 ? 0 : sfr[kT2mod];
    }
    // The counting of one step by the mode of `t2con`; `edgeSeen` is a T2EX falling edge that
    // reaches the timer now, `flipped` a direction change that does.
    void Count(uint8_t* sfr, uint8_t t2con, int32_t count, bool edgeSeen, bool flipped);

    C8051Target& target_;
    int variant_;
    uint8_t latchedT2con_ = 0;
    uint8_t latchedT2mod_ = 0;
    uint8_t previousT2ex_ = 1;
    uint8_t countUp_ = 1;
    Pending edge_;
    Pending directionChange_;
    uint8_t baudOverflow_ = 0;
};

}  // namespace ostrel

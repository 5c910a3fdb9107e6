// The serial port's transmit ticks: the 8051's own (Timer 1 overflows or machine cycles, by the
// mode) and the 8052's, clocked by Timer 2 overflows while it is the baud-rate generator.
#include "c8051_target.h"
#include "engine/cpu.h"
#include "target_variants.h"

namespace ostrel {

namespace {

constexpr uint8_t kTxd = 0xB1;  // P3.1
constexpr uint8_t kRxd = 0xB0;  // P3.0

void SetTiPending(PeripheralTiming& t, bool on) {
    t.serialMarks = static_cast<uint8_t>(on ? (t.serialMarks | kMarkTiPending)
                                            : (t.serialMarks & ~kMarkTiPending));
}

// How one clock drives the frame of the asynchronous modes.
struct FrameClock {
    int ticksPerBitStep;  // ticks that advance the bit-time counter by one (16 steps a bit)
    uint16_t startTicks;  // ticks of a whole frame, counted from the tick after the start bit
    uint16_t tiAt;        // the count at which TI becomes pending
};

// One tick of an asynchronous frame: the start is taken at the tick after a bit boundary, the
// start bit goes out at a boundary while the request waits, then one bit of the shift register
// at every boundary until the count runs out.
void FrameTick(CRegisterFile& r, const FrameClock& clock) {
    PeripheralTiming& t = r.Timing();
    if ((t.serialStatus & kSerialRequested) != 0 && (t.serialMarks & kMarkBitBoundary) != 0 &&
        t.txTicks == 0) {
        t.txTicks = clock.startTicks;
        t.serialStatus = kSerialTransmitting;
    }
    t.serialMarks = static_cast<uint8_t>(t.serialMarks & ~kMarkBitBoundary);
    if (++t.baudPrescaler >= clock.ticksPerBitStep) {
        t.baudPrescaler = 0;
        if (++t.bitTime >= 16) {
            t.bitTime = 0;
            t.serialMarks |= kMarkBitBoundary;
        }
    }
    const bool boundary = (t.serialMarks & kMarkBitBoundary) != 0;
    if ((t.serialStatus & kSerialRequested) != 0 && boundary) {
        r.WriteBit(kTxd, false);  // the start bit
    }
    if ((t.serialStatus & kSerialTransmitting) != 0 && t.txTicks != 0) {
        if (boundary) {
            r.WriteBit(kTxd, (t.shiftRegister & 1) != 0);
            t.shiftRegister = static_cast<uint16_t>(t.shiftRegister >> 1);
        }
        --t.txTicks;
        SetTiPending(t, t.txTicks == clock.tiAt);
    }
}

}  // namespace

void C8051Target::AdvanceSerialPort() {
    CRegisterFile& r = *cpu_.regs;
    PeripheralTiming& t = r.Timing();
    const uint8_t scon = cpu_.sfr[sfr::SCON];
    const bool smod = (cpu_.sfr[sfr::PCON] & sfr::PCON_SMOD) != 0;
    const bool sm0 = (scon & sfr::SCON_SM0) != 0;
    const bool sm1 = (scon & sfr::SCON_SM1) != 0;

    if (sm1) {
        // Modes 1 and 3: a tick is a Timer 1 overflow; a bit lasts 32 ticks, 16 with SMOD. The
        // frame is the start bit, eight data bits, TB8 in mode 3, and the stop bit.
        const uint16_t bitTicks = smod ? 16 : 32;
        const FrameClock clock = {smod ? 1 : 2,
                                  static_cast<uint16_t>((sm0 ? 10 : 9) * bitTicks + 1),
                                  static_cast<uint16_t>(smod ? 2 : 4)};
        FrameTick(r, clock);
    } else if (!sm0) {
        // Mode 0: the bits leave on RXD one per machine cycle.
        if ((t.serialStatus & kSerialTransmitting) != 0 && t.txTicks != 0) {
            r.WriteBit(kRxd, (t.shiftRegister & 1) != 0);
            t.shiftRegister = static_cast<uint16_t>(t.shiftRegister >> 1);
            --t.txTicks;
            if (t.txTicks == 0) {
                r.WriteBit(kRxd, true);
            }
            SetTiPending(t, t.txTicks == 0);
        }
        if ((t.serialStatus & kSerialRequested) != 0) {
            t.serialStatus = kSerialTransmitting;
            t.txTicks = 9;
            t.serialMarks = 0;
        }
    } else {
        // Mode 2: a frame lasts 53 machine cycles (23 with SMOD); no pin is driven.
        const uint8_t divider = t.mode2Divider;
        if ((t.serialStatus & kSerialRequested) != 0 && t.txTicks == 0 &&
            (divider == 0 || divider == 36 || divider == 72)) {
            t.txTicks = smod ? 23 : 53;
            t.serialStatus = kSerialTransmitting;
            t.serialMarks = static_cast<uint8_t>(t.serialMarks & ~kMarkBitBoundary);
        }
        if ((t.serialStatus & kSerialTransmitting) != 0 && t.txTicks != 0) {
            --t.txTicks;
            SetTiPending(t, t.txTicks == 0);
        }
    }
}

void C8052Target::AdvanceSerialPort() {
    if (!SimulateSerial()) {
        return;
    }
    const uint8_t t2con = Engine().sfr[sfr::T2CON];
    if ((t2con & (sfr::T2CON_RCLK | sfr::T2CON_TCLK)) == 0) {
        C8051Target::AdvanceSerialPort();
        return;
    }
    // Timer 2 is the baud-rate generator: only its overflows clock the port, 16 to a bit, in
    // whatever mode the port is; Timer 1's overflows and the per-cycle ticks do nothing.
    if (!timer2_.BaudOverflow()) {
        return;
    }
    const bool sm0 = (Engine().sfr[sfr::SCON] & sfr::SCON_SM0) != 0;
    const FrameClock clock = {1, static_cast<uint16_t>(sm0 ? 161 : 145), 2};
    FrameTick(*Registers(), clock);
}

}  // namespace ostrel

// Interrupt acceptance after an instruction: polling the sources in the 8051's order, priority
// levels, the one-instruction delay of the timer and external sources, and the entry itself.
#include "c8051_target.h"
#include "engine/cpu.h"

namespace ostrel {

namespace {

constexpr uint8_t IE_EA = 0x80;
constexpr uint8_t IE_ES = 0x10;
constexpr uint8_t IP_PS = 0x10;
constexpr uint8_t kSerialVector = 0x23;

// A source whose request the timer step latches from TCON.
struct LatchedSource {
    uint8_t tconFlag;  // request flag in TCON
    uint8_t enable;    // IE bit, also its IP bit
    uint8_t vector;
    int delayFlag;
};

// Polled in this order; among sources of one priority the first wins.
constexpr LatchedSource kLatchedSources[] = {
    {sfr::TCON_IE0, 0x01, 0x03, kDelayExternal0},
    {sfr::TCON_TF0, 0x02, 0x0B, kDelayTimer0},
    {sfr::TCON_IE1, 0x04, 0x13, kDelayExternal1},
    {sfr::TCON_TF1, 0x08, 0x1B, kDelayTimer1},
};

}  // namespace

SimStatus C8051Target::CheckInterrupts() {
    engine::Cpu& c = cpu_;
    CRegisterFile& r = *c.regs;
    const uint8_t ie = c.sfr[sfr::IE];
    if ((ie & IE_EA) == 0) {
        return SIM_OK;
    }
    const uint8_t startLevel = r.InterruptLevel();
    const uint8_t ip = c.sfr[sfr::IP];
    int32_t vector = -1;

    // A source with a higher priority than the level reached so far takes over; the level
    // becomes its priority on top of the level of the routine that runs now.
    auto compete = [&](uint8_t ipBit, uint8_t sourceVector) {
        const uint8_t priority = (ip & ipBit) != 0 ? 2 : 1;
        if (r.InterruptLevel() < priority) {
            vector = sourceVector;
            r.SetInterruptLevel(static_cast<uint8_t>(priority + startLevel));
        }
    };

    const uint8_t latchedTcon = r.Timing().latchedTcon;
    for (const LatchedSource& source : kLatchedSources) {
        if ((latchedTcon & source.tconFlag) == 0 || (ie & source.enable) == 0) {
            continue;
        }
        // A request raised in the last cycle of a one-cycle instruction waits one instruction.
        if (cycleClass_ > 1 || delayFlags_[source.delayFlag] != 0) {
            compete(source.enable, source.vector);
        } else {
            delayFlags_[source.delayFlag] = 1;
        }
    }
    const uint8_t scon = c.sfr[sfr::SCON];
    if ((scon & (sfr::SCON_RI | sfr::SCON_TI)) != 0 && (ie & IE_ES) != 0) {
        compete(IP_PS, kSerialVector);
    }
    CheckExtraInterrupts(&vector, startLevel);
    if (vector < 0) {
        return SIM_OK;
    }

    const uint16_t returnAddress = r.Pc();
    if (!engine::PushReturnAddress(c, returnAddress)) {
        // Nothing is entered: the level falls back and the request stays pending.
        r.SetInterruptLevel(startLevel);
        return SIM_STACK_FAULT;
    }
    for (const LatchedSource& source : kLatchedSources) {
        if (source.vector != vector) {
            continue;
        }
        c.sfr[sfr::TCON] = static_cast<uint8_t>(c.sfr[sfr::TCON] & ~source.tconFlag);
        // An edge-triggered external request is consumed with its delay; a level-triggered
        // one keeps its delay while the pin stays low.
        const bool external = source.tconFlag == sfr::TCON_IE0 || source.tconFlag == sfr::TCON_IE1;
        const uint8_t triggerBit = source.tconFlag == sfr::TCON_IE0 ? sfr::TCON_IT0 : sfr::TCON_IT1;
        if (!external || (c.sfr[sfr::TCON] & triggerBit) != 0) {
            delayFlags_[source.delayFlag] = 0;
        }
    }
    PushCallFrame(static_cast<uint32_t>(vector), returnAddress, kFrameLcall);
    r.SetPc(static_cast<uint16_t>(vector));
    // The hardware's two-cycle call to the vector is timer time whatever the option says.
    AdvanceTimersSecondCycle(1);
    AdvanceTimersSecondCycle(1);
    return SIM_OK;
}

void C8051Target::CheckExtraInterrupts(int32_t*, uint8_t) {}

}  // namespace ostrel

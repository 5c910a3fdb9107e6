// The interrupt controller: polling the sources in the 8051's order, priority levels, the
// one-instruction wait of the timer and external sources, and the INT0 and INT1 pins.
#include "ostrel/interrupt_controller.h"

#include "ostrel/chip.h"
#include "ostrel/sfr.h"

namespace ostrel {

namespace {

constexpr uint8_t kSerialVector = 0x23;
constexpr uint8_t kTimer2Vector = 0x2B;

// A source whose request the timers latch from TCON.
struct LatchedSource {
    uint8_t tconFlag;  // request flag in TCON
    uint8_t enable;    // IE bit, also its IP bit
    uint8_t vector;
    int delayFlag;
};

// Polled in this order; among sources of one priority the first wins.
constexpr LatchedSource kLatchedSources[] = {
    {sfr::TCON_IE0, sfr::IE_EX0, 0x03, kDelayExternal0},
    {sfr::TCON_TF0, sfr::IE_ET0, 0x0B, kDelayTimer0},
    {sfr::TCON_IE1, sfr::IE_EX1, 0x13, kDelayExternal1},
    {sfr::TCON_TF1, sfr::IE_ET1, 0x1B, kDelayTimer1},
};

static_assert(sfr::IE_EX0 == sfr::IP_PX0 && sfr::IE_ET0 == sfr::IP_PT0 &&
                  sfr::IE_EX1 == sfr::IP_PX1 && sfr::IE_ET1 == sfr::IP_PT1 &&
                  sfr::IE_ES == sfr::IP_PS && sfr::IE_ET2 == sfr::IP_PT2,
              "a source's IE and IP bits share their place");

// The INT0 and INT1 pins (P3.2, P3.3) in one machine cycle, both at once, as bits in the places
// of their requests IE0 and IE1 in TCON, one place above their trigger bits IT0 and IT1.
// Edge-triggered, a high sample followed by a low pin sets the request. Level-triggered, the
// request follows the pin: a high sample clears it, a low pin sets it.
constexpr uint8_t kRequests = sfr::TCON_IE0 | sfr::TCON_IE1;
static_assert(sfr::P3_INT0 >> 1 == sfr::TCON_IE0 && sfr::P3_INT1 == sfr::TCON_IE1 &&
                  sfr::TCON_IT0 << 1 == sfr::TCON_IE0 && sfr::TCON_IT1 << 1 == sfr::TCON_IE1,
              "pins, requests and trigger bits line up as the sampling below needs");

uint8_t AsRequests(uint8_t pins) {
    return static_cast<uint8_t>(((pins >> 1) & sfr::TCON_IE0) | (pins & sfr::TCON_IE1));
}

uint8_t SampleInterruptPins(uint8_t tcon, uint8_t previousP3, uint8_t p3) {
    const uint8_t highBefore = AsRequests(previousP3);
    const uint8_t lowNow = static_cast<uint8_t>(~AsRequests(p3) & kRequests);
    const uint8_t edgeTriggered = static_cast<uint8_t>((tcon << 1) & kRequests);
    const uint8_t levelTriggered = static_cast<uint8_t>(~edgeTriggered & kRequests);
    tcon |= static_cast<uint8_t>(edgeTriggered & highBefore & lowNow);
    tcon = static_cast<uint8_t>(tcon & ~(levelTriggered & highBefore));
    tcon |= static_cast<uint8_t>(levelTriggered & lowNow);
    return tcon;
}

}  // namespace

void CInterruptController::Reset() {
    Sfr()[sfr::IE] = 0;
    Sfr()[sfr::IP] = 0;
    m_level = 0;
    for (uint8_t& flag : m_delay) {
        flag = 0;
    }
    m_previousPins = 0xFF;
    m_written = 0;
}

void CInterruptController::PowerOn() {
    Reset();
    const uint8_t atStart[kDelayFlagCount] = {0, 1, 0, 1};
    for (int i = 0; i < kDelayFlagCount; ++i) {
        m_delay[i] = atStart[i];
    }
}

void CInterruptController::WriteRegister(uint8_t address, uint8_t value) {
    Sfr()[address] = value;
    m_written = 1;
}

uint8_t CInterruptController::UnrecordedRequests() const {
    uint8_t waiting = 0;
    for (const LatchedSource& source : kLatchedSources) {
        if (m_delay[source.delayFlag] == 0) {
            waiting |= source.tconFlag;
        }
    }
    return static_cast<uint8_t>(m_chip.Timers().LatchedTcon() & waiting);
}

void CInterruptController::RecordRequests() {
    const uint8_t latchedTcon = m_chip.Timers().LatchedTcon();
    for (const LatchedSource& source : kLatchedSources) {
        if ((latchedTcon & source.tconFlag) != 0) {
            m_delay[source.delayFlag] = 1;
        }
    }
}

bool CInterruptController::AnyRequest() const {
    // A request not yet seen is recorded after the next instruction, whatever IE says.
    if (UnrecordedRequests() != 0) {
        return true;
    }
    const uint8_t* const s = Sfr();
    const uint8_t ie = s[sfr::IE];
    if ((ie & sfr::IE_EA) == 0) {
        return false;
    }
    // The latched requests of the enabled 8051 sources, the serial flags, Timer 2's flags.
    uint8_t latchedEnabled = 0;
    for (const LatchedSource& source : kLatchedSources) {
        if ((ie & source.enable) != 0) {
            latchedEnabled |= source.tconFlag;
        }
    }
    if ((m_chip.Timers().LatchedTcon() & latchedEnabled) != 0) {
        return true;
    }
    if ((ie & sfr::IE_ES) != 0 && (s[sfr::SCON] & (sfr::SCON_RI | sfr::SCON_TI)) != 0) {
        return true;
    }
    return (ie & sfr::IE_ET2) != 0 && m_chip.Timer2() != nullptr &&
           (s[sfr::T2CON] & (sfr::T2CON_TF2 | sfr::T2CON_EXF2)) != 0;
}

int32_t CInterruptController::Choose(int cycleClass) {
    const uint8_t* const s = Sfr();
    const uint8_t ie = s[sfr::IE];
    if ((ie & sfr::IE_EA) == 0) {
        RecordRequests();
        return -1;
    }
    const uint8_t startLevel = m_level;
    const uint8_t ip = s[sfr::IP];
    int32_t vector = -1;

    // A source with a higher priority than the level reached so far takes over; the level
    // becomes its priority on top of the level of the routine that runs now.
    auto compete = [&](uint8_t ipBit, uint8_t sourceVector) {
        const uint8_t priority = (ip & ipBit) != 0 ? 2 : 1;
        if (m_level < priority) {
            vector = sourceVector;
            m_level = static_cast<uint8_t>(priority + startLevel);
        }
    };

    const uint8_t latchedTcon = m_chip.Timers().LatchedTcon();
    for (const LatchedSource& source : kLatchedSources) {
        if ((latchedTcon & source.tconFlag) == 0 || (ie & source.enable) == 0) {
            continue;
        }
        // A request raised in the last cycle of a one-cycle instruction waits one instruction.
        if (cycleClass > 1 || m_delay[source.delayFlag] != 0) {
            compete(source.enable, source.vector);
        }
    }
    // Every request is seen now, enabled or not: from the next instruction on it competes at once.
    RecordRequests();
    if ((s[sfr::SCON] & (sfr::SCON_RI | sfr::SCON_TI)) != 0 && (ie & sfr::IE_ES) != 0) {
        compete(sfr::IP_PS, kSerialVector);
    }
    m_chip.CheckExtraInterrupts(&vector, startLevel);
    return vector;
}

void CInterruptController::ChooseExtra(int32_t* vector, uint8_t startLevel) {
    // Timer 2 waits no instruction: TF2 and EXF2 are read from T2CON itself, and entering the
    // routine clears neither.
    const CTimer2* timer2 = m_chip.Timer2();
    const uint8_t* const s = Sfr();
    if (timer2 == nullptr || (s[sfr::IE] & sfr::IE_ET2) == 0 || !timer2->InterruptRequested()) {
        return;
    }
    const uint8_t priority = (s[sfr::IP] & sfr::IP_PT2) != 0 ? 2 : 1;
    if (m_level < priority) {
        *vector = kTimer2Vector;
        m_level = static_cast<uint8_t>(priority + startLevel);
    }
}

void CInterruptController::Acknowledge(int32_t vector) {
    uint8_t* const s = Sfr();
    for (const LatchedSource& source : kLatchedSources) {
        if (source.vector != vector) {
            continue;
        }
        s[sfr::TCON] = static_cast<uint8_t>(s[sfr::TCON] & ~source.tconFlag);
        // An edge-triggered external request is consumed with its delay; a level-triggered one
        // keeps its delay while the pin stays low.
        const bool external = source.tconFlag == sfr::TCON_IE0 || source.tconFlag == sfr::TCON_IE1;
        const uint8_t triggerBit = source.tconFlag == sfr::TCON_IE0 ? sfr::TCON_IT0 : sfr::TCON_IT1;
        if (!external || (s[sfr::TCON] & triggerBit) != 0) {
            m_delay[source.delayFlag] = 0;
        }
    }
}

void CInterruptController::MidCycle(const MachineCycle&) {
    uint8_t* const s = Sfr();
    const uint8_t tcon = SampleInterruptPins(s[sfr::TCON], m_previousPins, s[sfr::P3]);
    s[sfr::TCON] = tcon;
    // A delay waits for a request that is still there.
    if ((tcon & sfr::TCON_IE0) == 0) {
        m_delay[kDelayExternal0] = 0;
    }
    if ((tcon & sfr::TCON_IE1) == 0) {
        m_delay[kDelayExternal1] = 0;
    }
}

void CInterruptController::EndCycle(const MachineCycle&) { m_previousPins = Sfr()[sfr::P3]; }

uint32_t CInterruptController::QuietCycles() const {
    const uint8_t* const s = Sfr();
    const uint8_t tcon = s[sfr::TCON];
    // Pins that moved since the last sample, a level-triggered request that does not follow its
    // pin yet, or a delay without its request: the next cycle changes something.
    const uint8_t levelTriggered = static_cast<uint8_t>(~(tcon << 1) & kRequests);
    const uint8_t lowPins = static_cast<uint8_t>(~AsRequests(s[sfr::P3]) & kRequests);
    const bool delayWithoutRequest =
        ((tcon & sfr::TCON_IE0) == 0 && m_delay[kDelayExternal0] != 0) ||
        ((tcon & sfr::TCON_IE1) == 0 && m_delay[kDelayExternal1] != 0);
    if (s[sfr::P3] != m_previousPins || ((tcon ^ lowPins) & levelTriggered) != 0 ||
        delayWithoutRequest) {
        return 0;
    }
    return kQuietForever;
}

}  // namespace ostrel

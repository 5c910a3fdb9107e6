// The serial port: the transmit ticks of the 8051's own clock (Timer 1 overflows or machine
// cycles, by the mode) and of Timer 2 as the baud-rate generator, SBUF's two registers, and the
// receiver that takes the host's bytes in order.
#include "ostrel/serial_port.h"

#include <new>

#include "ostrel/chip.h"
#include "ostrel/sfr.h"

namespace ostrel {

namespace {

constexpr int kMode2DividerStep = 12;
constexpr int kMode2DividerEnd = 96;

}  // namespace

void CSerialPort::PowerOn() {
    Reset();
    m_shiftRegister = 0;
}

void CSerialPort::Reset() {
    Sfr()[sfr::SCON] = 0;
    m_status = 0;
    m_ticks = 0;
    m_prescaler = 0;
    m_bitTime = 0;
    m_marks = 0;
    m_mode2Divider = 0;
    m_inputTaken = 1;
    // The reset receiver is off: input still on its way is lost with it.
    DropInput();
}

uint8_t CSerialPort::ReadRegister(uint8_t address, uint8_t mask) {
    const uint8_t value = Sfr()[address];
    // The program has taken the byte, or looked for the next one: the receiver may take it.
    if (address == sfr::SBUF || ((mask & sfr::SCON_RI) != 0 && (value & sfr::SCON_RI) == 0)) {
        m_inputTaken = 1;
    }
    return value;
}

void CSerialPort::WriteRegister(uint8_t address, uint8_t value) {
    if (address == sfr::SBUF) {
        // The transmit register: what a read of SBUF gives stays the receive buffer.
        StartTransmission(value);
        return;
    }
    Sfr()[address] = value;
}

void CSerialPort::StartTransmission(uint8_t value) {
    m_chip.Host().SerialTransmit(value);
    uint8_t* const s = Sfr();
    if (!m_chip.SimulateSerial()) {
        s[sfr::SCON] |= sfr::SCON_TI;
        return;
    }
    // The frame behind the data: TB8 in the 9-bit modes (SM0 set), else the stop bit, then ones.
    const uint8_t scon = s[sfr::SCON];
    const bool zeroNinthBit = (scon & sfr::SCON_SM0) != 0 && (scon & sfr::SCON_TB8) == 0;
    m_shiftRegister = static_cast<uint16_t>((zeroNinthBit ? 0xFE00 : 0xFF00) | value);
    m_status |= kRequested;
}

void CSerialPort::SetTiPending(bool on) {
    m_marks = static_cast<uint8_t>(on ? (m_marks | kMarkTiPending) : (m_marks & ~kMarkTiPending));
}

bool CSerialPort::Timer2Clocks() const {
    const CTimer2* timer2 = m_chip.Timer2();
    return timer2 != nullptr && timer2->IsBaudRateGenerator();
}

void CSerialPort::BeginCycle(const MachineCycle&) {
    if ((m_marks & kMarkTiPending) != 0) {
        Sfr()[sfr::SCON] |= sfr::SCON_TI;
        m_marks = static_cast<uint8_t>(m_marks & ~kMarkTiPending);
    }
}

void CSerialPort::MidCycle(const MachineCycle&) {
    const uint8_t scon = Sfr()[sfr::SCON];
    if ((scon & (sfr::SCON_SM0 | sfr::SCON_SM1)) == sfr::SCON_SM0) {
        m_mode2Divider = static_cast<uint8_t>(m_mode2Divider + kMode2DividerStep);
        if (m_mode2Divider >= kMode2DividerEnd) {
            m_mode2Divider = 0;
        }
    }
    // Modes 0 and 2 tick once a machine cycle; modes 1 and 3 tick on Timer 1's overflows.
    if ((scon & sfr::SCON_SM1) == 0 && m_chip.SimulateSerial()) {
        Tick();
    }
}

uint32_t CSerialPort::QuietCycles() const {
    if ((m_marks & kMarkTiPending) != 0) {
        return 0;
    }
    // The per-cycle ticks of modes 0 and 2 change something only while a byte waits or leaves;
    // the ticks of modes 1 and 3 come with overflows, which the timers never pass over.
    const uint8_t scon = Sfr()[sfr::SCON];
    const bool busy =
        (m_status & kRequested) != 0 || ((m_status & kTransmitting) != 0 && m_ticks != 0);
    if ((scon & sfr::SCON_SM1) == 0 && m_chip.SimulateSerial() && !Timer2Clocks() && busy) {
        return 0;
    }
    return kQuietForever;
}

void CSerialPort::PassCycles(uint32_t cycles) {
    const uint8_t scon = Sfr()[sfr::SCON];
    if ((scon & (sfr::SCON_SM0 | sfr::SCON_SM1)) == sfr::SCON_SM0) {
        const uint32_t steps =
            (m_mode2Divider / kMode2DividerStep + cycles) % (kMode2DividerEnd / kMode2DividerStep);
        m_mode2Divider = static_cast<uint8_t>(steps * kMode2DividerStep);
    }
}

void CSerialPort::Tick() {
    if (!m_chip.SimulateSerial() || Timer2Clocks()) {
        return;  // while Timer 2 clocks the port, only its overflows do
    }
    const uint8_t* const s = Sfr();
    const uint8_t scon = s[sfr::SCON];
    const bool smod = (s[sfr::PCON] & sfr::PCON_SMOD) != 0;
    const bool sm0 = (scon & sfr::SCON_SM0) != 0;
    if ((scon & sfr::SCON_SM1) != 0) {
        // Modes 1 and 3: a tick is a Timer 1 overflow; a bit lasts 32 ticks, 16 with SMOD. The
        // frame is the start bit, eight data bits, TB8 in mode 3, and the stop bit.
        const uint16_t bitTicks = smod ? 16 : 32;
        const FrameClock clock = {smod ? 1 : 2,
                                  static_cast<uint16_t>((sm0 ? 10 : 9) * bitTicks + 1),
                                  static_cast<uint16_t>(smod ? 2 : 4)};
        FrameTick(clock);
    } else if (!sm0) {
        ShiftTick();
    } else {
        Mode2Tick();
    }
}

void CSerialPort::TimerTwoOverflow() {
    if (!m_chip.SimulateSerial()) {
        return;
    }
    // Sixteen overflows to a bit, in whatever mode the port is.
    const bool sm0 = (Sfr()[sfr::SCON] & sfr::SCON_SM0) != 0;
    const FrameClock clock = {1, static_cast<uint16_t>(sm0 ? 161 : 145), 2};
    FrameTick(clock);
}

void CSerialPort::FrameTick(const FrameClock& clock) {
    // The start is taken at the tick after a bit boundary, the start bit goes out at a boundary
    // while the request waits, then one bit of the shift register at every boundary until the
    // count runs out.
    CRegisterFile& registers = m_chip.Registers();
    if ((m_status & kRequested) != 0 && (m_marks & kMarkBitBoundary) != 0 && m_ticks == 0) {
        m_ticks = clock.startTicks;
        m_status = kTransmitting;
    }
    m_marks = static_cast<uint8_t>(m_marks & ~kMarkBitBoundary);
    if (++m_prescaler >= clock.ticksPerBitStep) {
        m_prescaler = 0;
        if (++m_bitTime >= 16) {
            m_bitTime = 0;
            m_marks |= kMarkBitBoundary;
        }
    }
    const bool boundary = (m_marks & kMarkBitBoundary) != 0;
    if ((m_status & kRequested) != 0 && boundary) {
        registers.WriteBit(sfr::BIT_TXD, false);  // the start bit
    }
    if ((m_status & kTransmitting) != 0 && m_ticks != 0) {
        if (boundary) {
            registers.WriteBit(sfr::BIT_TXD, (m_shiftRegister & 1) != 0);
            m_shiftRegister = static_cast<uint16_t>(m_shiftRegister >> 1);
        }
        --m_ticks;
        SetTiPending(m_ticks == clock.tiAt);
    }
}

void CSerialPort::ShiftTick() {
    // Mode 0: the bits leave on RXD one per machine cycle.
    CRegisterFile& registers = m_chip.Registers();
    if ((m_status & kTransmitting) != 0 && m_ticks != 0) {
        registers.WriteBit(sfr::BIT_RXD, (m_shiftRegister & 1) != 0);
        m_shiftRegister = static_cast<uint16_t>(m_shiftRegister >> 1);
        --m_ticks;
        if (m_ticks == 0) {
            registers.WriteBit(sfr::BIT_RXD, true);
        }
        SetTiPending(m_ticks == 0);
    }
    if ((m_status & kRequested) != 0) {
        m_status = kTransmitting;
        m_ticks = 9;
        m_marks = 0;
    }
}

void CSerialPort::Mode2Tick() {
    // Mode 2: a frame lasts 53 machine cycles (23 with SMOD), started at a third of the
    // divider's round; no pin is driven.
    const bool smod = (Sfr()[sfr::PCON] & sfr::PCON_SMOD) != 0;
    const uint8_t divider = m_mode2Divider;
    if ((m_status & kRequested) != 0 && m_ticks == 0 &&
        (divider == 0 || divider == 36 || divider == 72)) {
        m_ticks = smod ? 23 : 53;
        m_status = kTransmitting;
        m_marks = static_cast<uint8_t>(m_marks & ~kMarkBitBoundary);
    }
    if ((m_status & kTransmitting) != 0 && m_ticks != 0) {
        --m_ticks;
        SetTiPending(m_ticks == 0);
    }
}

bool CSerialPort::QueueInput(const uint8_t* bytes, size_t count) {
    // Received bytes are forgotten first, so the queue does not grow with a long session.
    m_input.erase(m_input.begin(), m_input.begin() + static_cast<std::ptrdiff_t>(m_inputNext));
    m_inputNext = 0;
    try {
        m_input.insert(m_input.end(), bytes, bytes + count);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void CSerialPort::DropInput() {
    m_input.clear();  // keeps its room: receiving allocates nothing
    m_inputNext = 0;
}

void CSerialPort::DeliverInput() {
    // A byte has been read when RI is clear and the program took SBUF (or, not wanting the
    // byte, looked at RI again): clearing RI before reading SBUF loses nothing.
    const uint8_t scon = Sfr()[sfr::SCON];
    if (!HasInput() || (scon & (sfr::SCON_RI | sfr::SCON_REN)) != sfr::SCON_REN ||
        m_inputTaken == 0) {
        return;
    }
    m_inputTaken = 0;
    ReceiveByte(m_input[m_inputNext++]);
    if (m_inputNext == m_input.size()) {
        DropInput();
    }
}

void CSerialPort::ReceiveByte(uint8_t value) {
    uint8_t* const s = Sfr();
    const uint8_t scon = s[sfr::SCON];
    uint8_t next = scon | sfr::SCON_RI;
    const int mode = scon >> sfr::SCON_MODE_SHIFT;
    if (mode == 1) {
        next |= sfr::SCON_RB8;  // the stop bit
    } else if (mode >= 2) {
        int ones = 0;
        for (uint8_t b = value; b != 0; b &= static_cast<uint8_t>(b - 1)) {
            ++ones;
        }
        const bool ninthBit =
            (m_parity == 2 && (ones & 1) != 0) || (m_parity == 1 && (ones & 1) == 0);
        next = static_cast<uint8_t>(ninthBit ? (next | sfr::SCON_RB8) : (next & ~sfr::SCON_RB8));
    }
    s[sfr::SCON] = next;
    // Into the receive buffer: a received byte is not sent back out as a write of SBUF is.
    s[sfr::SBUF] = value;
    m_lastReceived = value;
}

}  // namespace ostrel

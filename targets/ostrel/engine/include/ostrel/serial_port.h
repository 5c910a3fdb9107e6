// The serial port: SBUF as two registers (what the program writes goes out through the transmit
// shift register, what it reads is the receive buffer), the transmit timing of the four modes
// with its ticks from Timer 1, Timer 2 or the machine cycle, and the receiver, which takes the
// host's bytes one at a time as the program reads them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ostrel/chip_part.h"

namespace ostrel {

class CSerialPort final : public CChipPart {
public:
    // Transmit status bits.
    static constexpr uint8_t kRequested = 0x01;
    static constexpr uint8_t kTransmitting = 0x02;
    // Marks: the last tick ended a bit time; the next machine cycle sets TI.
    static constexpr uint8_t kMarkBitBoundary = 0x01;
    static constexpr uint8_t kMarkTiPending = 0x02;

    explicit CSerialPort(CChip& chip) : CChipPart(chip) {}

    // --- ticks ---
    // One tick of the 8051's own clock (a machine cycle in modes 0 and 2, a Timer 1 overflow in
    // modes 1 and 3); nothing while Timer 2 is the baud-rate generator or serial timing is off.
    void Tick();
    // One overflow of Timer 2 as the baud-rate generator.
    void TimerTwoOverflow();

    // --- the receiver ---
    // Queues the host's bytes behind those not received yet; false, taking none, when memory
    // runs out.
    bool QueueInput(const uint8_t* bytes, size_t count);
    bool HasInput() const { return m_inputNext != m_input.size(); }
    // Bytes queued that the program has not received yet.
    size_t PendingInput() const { return m_input.size() - m_inputNext; }
    // The next byte into the receive buffer, once the receiver is on and the program has taken
    // the byte before (RI clear, SBUF read or RI looked at since).
    void DeliverInput();
    void DropInput();
    uint8_t LastReceived() const { return m_lastReceived; }
    // The host's parity for the ninth bit of modes 2 and 3: 0 none, 1 odd, 2 even.
    void SetReceiveParity(uint32_t parity) { m_parity = parity; }

    // --- the transmit state, as tests look at it ---
    uint8_t Status() const { return m_status; }
    uint8_t BitTime() const { return m_bitTime; }
    uint8_t BaudPrescaler() const { return m_prescaler; }

    uint8_t ReadRegister(uint8_t address, uint8_t mask) override;
    void WriteRegister(uint8_t address, uint8_t value) override;
    uint32_t Beats() const override { return kBeginBeat | kMidBeat; }
    void BeginCycle(const MachineCycle& cycle) override;
    void MidCycle(const MachineCycle& cycle) override;
    uint32_t QuietCycles() const override;
    void PassCycles(uint32_t cycles) override;
    // SCON 0, no transmission (the shift register keeps its bits), input dropped. The receive
    // buffer keeps its byte.
    void Reset() override;
    void PowerOn() override;

private:
    // How one clock drives the frame of the asynchronous modes.
    struct FrameClock {
        int ticksPerBitStep;  // ticks that advance the bit-time counter (16 steps a bit)
        uint16_t startTicks;  // ticks of a whole frame, from the tick after the start bit
        uint16_t tiAt;        // the count at which TI becomes pending
    };

    void FrameTick(const FrameClock& clock);
    void ShiftTick();
    void Mode2Tick();
    void SetTiPending(bool on);
    // Timer 2, where the chip has it, may take over the port's clock as its baud-rate generator.
    bool Timer2Clocks() const;
    void StartTransmission(uint8_t value);
    void ReceiveByte(uint8_t value);

    uint8_t m_status = 0;
    uint16_t m_ticks = 0;          // ticks left of the transmission, 0 idle
    uint16_t m_shiftRegister = 0;  // survives a reset
    uint8_t m_prescaler = 0;
    uint8_t m_bitTime = 0;  // 0 to 15
    uint8_t m_marks = 0;
    uint8_t m_mode2Divider = 0;  // 0, 12, ... 84
    // Set when the program has read SBUF, or found RI clear, since the last byte came in.
    uint8_t m_inputTaken = 1;
    uint8_t m_lastReceived = 0;
    uint32_t m_parity = 0;
    // The host's input: the bytes before m_inputNext are received already.
    std::vector<uint8_t> m_input;
    size_t m_inputNext = 0;
};

}  // namespace ostrel

// The 8051 board that the simulator's hardware-port mode drives: its chip runs the program in its
// flash (the simulation kernel, which serves reads and writes of the chip's registers over the
// serial line), and its port pins are what the outside world drives them to.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "boards/board.h"
#include "boards/catalogue.h"
#include "boards/program_store.h"
#include "ostrel/chip.h"

namespace boards {

// The chip is an 8051 on the engine the simulator itself uses, with its serial port at the
// board's framing: a byte that arrives at another rate is noise to its receiver and lost. The
// host's RTS is the chip's reset line: on holds it in reset, off (and power-up) runs the flash
// from address 0 with the serial port as a boot loader leaves it (mode 1, receiver on). The chip
// runs for a short while after each byte it receives and after each reset, which is all a program
// that only answers its line needs; what it sends leaves 100 us after the byte that caused it.
//
// A port pin reads as its latch AND what the outside drives it to (a pin driven low reads 0, as
// on the chip's quasi-bidirectional ports); every port write that changes a latch adds
// "port P1 55" to the log.
class SimKernelBoard : public Board, public ProgramStore, private ostrel::IChipHost {
public:
    static constexpr uint32_t kFlashSize = 0x10000;

    struct Settings {
        // What the outside drives the pins of P0 to P3 to (FF: nothing pulls them low).
        uint8_t drive[4] = {0xFF, 0xFF, 0xFF, 0xFF};
        // From this received byte on (counting from 1) the board answers nothing: the chip is
        // no longer heard. 0: never.
        uint32_t silentAt = 0;
    };

    SimKernelBoard(const LineSettings& line, const Settings& settings);
    ~SimKernelBoard() override;

    // Puts a program into the flash (cells outside it are left out) and, while RTS is off,
    // starts it as a reset would.
    void LoadProgram(const std::map<uint32_t, uint8_t>& cells);
    const std::map<uint32_t, uint8_t>& LoadedCells() const override { return m_cells; }

    // The outside world on a port's pins (0 to 3), from now on.
    void Drive(int port, uint8_t pins);
    // What the program last wrote to a port (FF after a reset), and what its pins read.
    uint8_t Latch(int port) const { return m_latches[port].load(); }
    uint8_t Pins(int port) const { return static_cast<uint8_t>(Latch(port) & m_drive[port]); }
    // From now on the board answers nothing (as silentAt does from a chosen byte).
    void FallSilent() { m_silent = true; }
    // Whether the chip is running its program (RTS off, a program in flash, no failure).
    bool Running() const { return m_running.load(); }

protected:
    void OnRts(bool on) override;
    void OnByte(BYTE byte, bool garbled) override;

private:
    // --- the chip's host ---
    uint8_t ReadOutside(ostrel::ChipSpace space, uint32_t address) override;
    bool WriteOutside(ostrel::ChipSpace space, uint32_t address, uint8_t value) override;
    void ChipMessage(int32_t level, const char* text) override;
    void Called(uint16_t, uint16_t, ostrel::CallKind) override {}
    void Returned(uint16_t) override {}
    void SerialTransmit(uint8_t value) override;
    bool HardwarePortsActive() override { return true; }
    bool ReadBoardPort(uint8_t address, uint8_t* value) override;
    void WriteBoardPort(uint8_t address, uint8_t value) override;
    bool ResizeCodeAndData(uint32_t, uint32_t) override { return false; }

    // Resets the chip and runs the flash from 0 (nothing without a program).
    void StartProgram();
    void RunChip();

    Settings m_settings;
    std::vector<uint8_t> m_flash;
    std::map<uint32_t, uint8_t> m_cells;
    std::vector<uint8_t> m_sfr = std::vector<uint8_t>(256);
    std::vector<uint8_t> m_ram = std::vector<uint8_t>(256);
    std::unique_ptr<ostrel::CChip> m_chip;
    std::atomic<uint8_t> m_latches[4] = {{0xFF}, {0xFF}, {0xFF}, {0xFF}};
    std::atomic<uint8_t> m_drive[4];
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_silent{false};
    uint32_t m_received = 0;
};

// The catalogue's maker, kind "sim-kernel": at the options' framing (the rate the kernel answers
// at); keys image=PATH (an Intel HEX file put into the flash, e.g. the kernel), p0= to p3= (what
// the outside drives each port's pins to, default 0xFF), silent-at=K.
std::unique_ptr<Board> MakeSimKernelBoard(BoardOptions& options, std::string* error);

}  // namespace boards

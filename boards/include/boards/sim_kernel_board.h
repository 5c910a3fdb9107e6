// The 8051 board that the simulator's hardware-port mode drives: the '>' boot loader's board with
// the simulation kernel in its flash, which serves reads and writes of the chip's registers over
// the serial line, and port pins that the outside world drives.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "boards/catalogue.h"
#include "boards/prompt_boot_loader_board.h"
#include "ostrel/chip.h"

namespace boards {

// The boot loader is the prompt boot loader's (a kernel is put into the flash with its load
// command), and RTS its reset line, with one difference in timing: the boot loader starts only
// when RTS stays up for 100 ms. A shorter pulse (up, then down again) is a plain reset: the chip
// then runs the program in its flash from address 0, as it does when the boot loader hands over
// after a load. A board made with a program in its flash runs it from power-up.
//
// The program runs on the simulator's own 8051 engine with its serial port at the board's
// framing: a byte that arrives at another rate is noise to its receiver and lost. The chip runs
// for a short while after each byte it receives and after each reset, which is all a program
// that only answers its line needs; what it sends leaves 100 us after the byte that caused it.
//
// A port pin reads as its latch AND what the outside drives it to (a pin driven low reads 0, as
// on the chip's quasi-bidirectional ports); every port write that changes a latch adds
// "port P1 55" to the log.
class SimKernelBoard : public PromptBootLoaderBoard, private ostrel::IChipHost {
public:
    struct Settings {
        PromptBootLoaderSettings loader;
        // What the outside drives the pins of P0 to P3 to (FF: nothing pulls them low).
        uint8_t drive[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    };

    SimKernelBoard(const LineSettings& line, const Settings& settings);
    ~SimKernelBoard() override;

    // Puts a program into the flash as a completed load would and, while RTS is down, runs it.
    void LoadProgram(const std::map<uint32_t, uint8_t>& cells);

    // The outside world on a port's pins (0 to 3), from now on.
    void Drive(int port, uint8_t pins);
    // What the program last wrote to a port (FF after a reset), and what its pins read.
    uint8_t Latch(int port) const { return m_latches[port].load(); }
    uint8_t Pins(int port) const { return static_cast<uint8_t>(Latch(port) & m_drive[port]); }
    // From now on the chip is no longer heard (as silent-at makes the whole board).
    void FallSilent() { m_muted = true; }
    // Whether the chip runs the program in its flash (not held, not in the boot loader).
    bool Running() const { return m_running.load(); }

protected:
    void OnRts(bool on) override;
    void OnByte(BYTE byte, bool garbled) override;
    void ProgramStarted() override { StartProgram(); }

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

    // Resets the chip and runs the flash from 0 (nothing when no program is in it).
    void StartProgram();
    void RunChip();

    std::vector<uint8_t> m_code;
    std::vector<uint8_t> m_sfr = std::vector<uint8_t>(256);
    std::vector<uint8_t> m_ram = std::vector<uint8_t>(256);
    std::unique_ptr<ostrel::CChip> m_chip;
    std::atomic<uint8_t> m_latches[4] = {{0xFF}, {0xFF}, {0xFF}, {0xFF}};
    std::atomic<uint8_t> m_drive[4];
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_muted{false};
    uint64_t m_rtsRoseAt = 0;
    bool m_rtsRose = false;
};

// The catalogue's maker, kind "sim-kernel": at the options' framing (the rate the kernel answers
// at; the boot loader takes 19200); the prompt boot loader's keys, and image=PATH (an Intel HEX
// file in the flash from the start, e.g. the kernel), p0= to p3= (what the outside drives each
// port's pins to, default 0xFF).
std::unique_ptr<Board> MakeSimKernelBoard(BoardOptions& options, std::string* error);

}  // namespace boards

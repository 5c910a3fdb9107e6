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

#include "boards/board_chip.h"
#include "boards/catalogue.h"
#include "boards/prompt_boot_loader_board.h"

namespace boards {

// The boot loader is the prompt boot loader's (a kernel is put into the flash with its load
// command), and RTS its reset line, with one difference in timing: the boot loader starts only
// when RTS stays up for 100 ms. A shorter pulse (up, then down again) is a plain reset: the chip
// then runs the program in its flash from address 0, as it does when the boot loader hands over
// after a load. A board made with a program in its flash runs it from power-up.
//
// The program runs on the board's 8051 (BoardChip) with its serial port at the board's framing:
// a byte that arrives at another rate is noise to its receiver and lost. The chip runs the
// program on the board's clock from the reset on; what it sends leaves when it sends it.
//
// A port pin reads as its latch AND what the outside drives it to (a pin driven low reads 0, as
// on the chip's quasi-bidirectional ports); every port write that changes a latch adds
// "port P1 55" to the log.
class SimKernelBoard : public PromptBootLoaderBoard, private BoardChip::PortPins {
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
    void FallSilent() { m_chip.SetMuted(true); }
    // Whether the chip runs the program in its flash (not held, not in the boot loader, not
    // stopped by an instruction it could not carry out).
    bool Running() const { return m_running.load(); }

protected:
    void OnOpen() override;
    void OnRts(bool on) override;
    void OnByte(BYTE byte, bool garbled) override;
    void ProgramStarted() override { StartProgram(); }

private:
    // --- the chip's port pins ---
    uint8_t ReadPins(int port) override { return Pins(port); }
    void LatchWritten(int port, uint8_t value) override;

    // Resets the chip and runs the flash from 0 (nothing when no program is in it).
    void StartProgram();
    void RunChip();

    BoardChip m_chip;
    std::atomic<uint8_t> m_latches[4] = {{0xFF}, {0xFF}, {0xFF}, {0xFF}};
    std::atomic<uint8_t> m_drive[4];
    std::atomic<bool> m_running{false};
    uint64_t m_rtsRoseAt = 0;
    bool m_rtsRose = false;
    bool m_runOnOpen = false;
};

// The catalogue's maker, kind "sim-kernel": at the options' framing (the rate the kernel answers
// at; the boot loader takes 19200); the prompt boot loader's keys, and image=PATH (an Intel HEX
// file in the flash from the start, e.g. the kernel), p0= to p3= (what the outside drives each
// port's pins to, default 0xFF).
std::unique_ptr<Board> MakeSimKernelBoard(BoardOptions& options, std::string* error);

}  // namespace boards

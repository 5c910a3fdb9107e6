// BoardChip: an 8051 on a simulated board. The simulator's engine runs the board's program
// memory, the chip's serial output goes out on the board's line at the time the instruction that
// sent it ran, and a run of the program takes the board's clock time its machine cycles take.
//
// The board's firmware drives it (a debug kernel, a ROM monitor): it loads the flash, resets
// the chip, steps single instructions, starts runs that end at marked addresses, and hands the
// chip the line's bytes while its program runs. For example, a monitor that runs the program to a
// breakpoint and then reports:
//
//     BoardChip chip(board);
//     chip.LoadFlash(cells);
//     chip.Reset();
//     chip.SetStop(0x0123, true);
//     chip.Run(50, 0, [&](BoardChip::RunEnd end, uint64_t at) {
//         if (end == BoardChip::RunEnd::Stopped) board.SendAt(at, "*");
//     });
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "boards/board.h"

namespace ostrel {
class CChip;
class CRegisterFile;
}  // namespace ostrel

namespace boards {

class BoardChip {
public:
    // How a run ended: at a marked address, with an instruction the chip could not carry out, or
    // after the running time it was given.
    enum class RunEnd { Stopped, Failed, TimeUp };
    // Called at the end of a run with the board's clock time of that end.
    using RunDone = std::function<void(RunEnd end, uint64_t atTime)>;

    // What the chip's port pins meet on the board. While one is set, a read of P0 to P3 takes
    // what ReadPins gives, and every write of a port's latch (the reset's too) reaches
    // LatchWritten as well.
    class PortPins {
    public:
        virtual uint8_t ReadPins(int port) = 0;
        virtual void LatchWritten(int port, uint8_t value) = 0;

    protected:
        ~PortPins() = default;
    };

    // An 8052-family chip on an 11.0592 MHz crystal, its timers and interrupts simulated, a
    // transmitted byte leaving at once; 64 KB of program memory (erased: 0xFF) and of external
    // data, 256 bytes of internal RAM.
    explicit BoardChip(Board& board);
    ~BoardChip();
    BoardChip(const BoardChip&) = delete;
    BoardChip& operator=(const BoardChip&) = delete;

    // Program memory erased, then `cells` written (addresses taken modulo 64 KB).
    void LoadFlash(const std::map<uint32_t, uint8_t>& cells);
    std::vector<uint8_t>& Code();
    const std::vector<uint8_t>& Code() const;
    std::vector<uint8_t>& ExternalData();
    const std::vector<uint8_t>& ExternalData() const;
    std::vector<uint8_t>& InternalRam();
    const std::vector<uint8_t>& InternalRam() const;
    ostrel::CRegisterFile& Registers();
    ostrel::CChip& Engine();

    // The chip's reset: the registers as after a reset, PC 0; RAM keeps its bytes. Ends a run.
    void Reset();
    // Instructions at once, without board time (start-up code): until the PC reaches `stop`
    // (true) or `limit` instructions ran.
    bool RunTo(uint16_t stop, uint32_t limit);
    // One instruction that starts `delay` after now, with the program's interrupts held off
    // unless `interrupts`; the microseconds from now to its end.
    uint64_t Step(uint64_t delay, bool interrupts);
    // A run from `delay` after now in slices on the board's clock, until the PC reaches an
    // address marked with SetStop, an instruction fails, or (when `limitMicros` is not 0) the
    // program has run that long in all its runs together. `done` is called at the end. A new run,
    // Halt or Reset ends the one in progress without calling its `done`.
    void Run(uint64_t delay, uint64_t limitMicros, RunDone done);
    void Halt();
    bool Running() const;
    void SetStop(uint16_t address, bool on);
    // A byte for the chip's serial receiver (dropped while its receiver is off).
    void Receive(BYTE byte);
    // The rate Timer 1 in its reload mode gives the serial port (SMOD doubling), 0 otherwise.
    uint32_t LineBaud();
    // How long the program has run in all runs together.
    uint64_t RanMicros() const;
    // A muted chip's serial output reaches nobody (the board is gone).
    void SetMuted(bool muted);
    // The board's side of the port pins; nullptr: the pins read as the latches.
    void SetPortPins(PortPins* pins);

private:
    class Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace boards

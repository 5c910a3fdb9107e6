// The debug board running our debug kernel: the chip executes the user's program on the
// simulator's engine, and the kernel's firmware answers the debugger's commands between runs.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "boards/board.h"
#include "boards/board_chip.h"
#include "boards/catalogue.h"
#include "boards/corvanec_boards.h"

namespace boards {

// The kernel image as the board's firmware finds it in program memory (boards/kernel/*.asm): the
// chip starts it at 0; its start-up code sets up the serial line and enters the command loop at
// kLoop, where the firmware takes over. Vectors 0x03 to 0x23 pass interrupts on to the program at
// 0x0800 up; LCALL 0x002E (a breakpoint) enters the break handler; the signature names the chip
// the image was built for and the kernel's minor version.
namespace kernelimage {
constexpr uint16_t kBreakEntry = 0x002E;
constexpr uint16_t kSignature = 0x0031;  // 'D' 'K' chip version
constexpr uint16_t kStart = 0x0040;
constexpr uint16_t kLoop = 0x0060;
constexpr uint8_t kChipRx2 = 1;  // t89c51rx2_kernel.hex
constexpr uint8_t kChipS53 = 3;  // corvanec_kernel.hex
}  // namespace kernelimage

// How the kernel misbehaves. `at` picks the occasion (counted from 1): the n-th report for the
// report faults, the n-th acknowledgement for NoAck; for Silent the n-th command since the kernel
// last started, from which on it answers nothing. 0 spoils every occasion (Silent: from the
// first command).
struct KernelFaults {
    enum class Fault {
        None,
        Text,      // "Zap!\r\n" before a break report
        Header,    // a break report's second byte is not 'M'
        Trailer,   // a break report's last byte is wrong
        Truncate,  // a stop report lacks its last byte
        LowPc,     // a stop report gives a PC inside the kernel (the PC's low 11 bits)
        NoAck,     // a write is not acknowledged with 0xA5
        Silent,    // the kernel answers nothing
    };
    Fault fault = Fault::None;
    uint32_t at = 0;
    // The n-th program-memory write of the kernel fails: its first byte is echoed wrong and
    // nothing is written (0: none).
    uint32_t codeWriteFault = 0;
    // After this many milliseconds of the program running, the board is gone: every host call
    // on its port fails from then on, and it sends nothing more (0: never).
    uint32_t vanishAfterMs = 0;
};

// Takes kernel-fault=text|header|trailer|truncate|low-pc|no-ack|silent, kernel-fault-at=N,
// code-write-fault=N and vanish-after=MS out of a board's options.
bool TakeKernelFaults(BoardOptions& options, KernelFaults* faults, std::string* error);

// The chip and its kernel, as a part of a debug board. The board tells it when its chip is
// released from reset and when it is held, and hands it the bytes that reach the running chip.
//
// Commands (host to kernel; counts of 0 mean 256), answered a short time after their last byte:
//   02                      -> PSW B ACC DPH DPL SP RAM[0x00..0x1F]
//   03 pcLo pcHi ie         one instruction from pc    -> 'Z' SP+2 pcHi pcLo
//   E8 context(41)          one instruction            -> 'Z' SP+2 pcHi pcLo
//   FC context(41)          run to a breakpoint        -> 'Z' 'M' A5 D4 PSW B ACC DPH DPL IE
//                                                         pcHi pcLo SP RAM[0..1F] 5B 4C B5 C4
//   D0 n lo hi data         external data              -> A5
//   D4 n lo hi              external data              -> n bytes
//   DC n lo hi, then each byte: program memory         -> the byte's echo once written
//   EC n lo hi              program memory             -> n bytes
//   F0 n start data         internal RAM               -> A5
//   F4 n start              internal RAM               -> n bytes
//   E4                      version (a run of them is answered once) -> the minor version
//   code (a multiple of 8 up to 0xC8): read an SFR -> its byte; code + 4, value: write it
// The register block (context) is RAM[0..1F] SP DPL DPH PSW ACC B pcLo pcHi IE. A step runs with
// the program's interrupts held off (the kernel steps through its own Timer 2 interrupt); a run
// takes the block's IE. While the program runs, what the host sends is the program's serial
// input, what it transmits goes to the host, and a breakpoint's LCALL 0x002E stops it with the
// break report (the PC after the LCALL, SP before it).
class DebugKernel {
public:
    // Writes a byte of program memory for the kernel (the chip programming its own flash), or
    // null when the chip cannot.
    using FlashWriter = std::function<void(uint32_t address, uint8_t value)>;

    DebugKernel(Board& board, uint8_t chipId, FlashWriter flashWriter, const KernelFaults& faults);
    ~DebugKernel();
    DebugKernel(const DebugKernel&) = delete;
    DebugKernel& operator=(const DebugKernel&) = delete;

    // The chip leaves reset with `flash` as its program memory (erased cells 0xFF): the kernel
    // takes the line once its start-up code reaches the command loop.
    void Released(const std::map<uint32_t, uint8_t>& flash);
    // The chip is held in reset: whatever it did stops.
    void Held();
    // A byte that reached the running chip at `host` framing (a baud rate of 0: noise).
    void Take(BYTE byte, const LineSettings& host);

    // Whether the kernel has the line (it started and nothing held the chip since).
    bool Up() const;
    // Whether the user's program is running (between a run command and its breakpoint).
    bool ProgramRunning() const;
    // What the chip holds now, as tests look at it.
    const std::vector<uint8_t>& Code() const;
    const std::vector<uint8_t>& ExternalData() const;
    const std::vector<uint8_t>& InternalRam() const;
    // The baud rate the kernel's start-up code set, 0 before it ran.
    uint32_t Baud() const;

private:
    class Firmware;
    std::unique_ptr<Firmware> m_firmware;
};

// A board whose chip runs the debug kernel: the two arrangements below.
class KernelBoard {
public:
    virtual ~KernelBoard() = default;
    virtual DebugKernel& Kernel() = 0;
};

// CORVANEC2 with the kernel: RTS on resets the chip into its boot loader, off starts it.
class KernelCorvanec2Board : public Corvanec2Board, public KernelBoard {
public:
    KernelCorvanec2Board(const LineSettings& line, const BootLoaderOptions& isp,
                         const KernelFaults& faults, uint32_t silentAt);
    DebugKernel& Kernel() override { return m_kernel; }

protected:
    void OnRts(bool on) override;
    void RunningByte(BYTE byte, const LineSettings& host) override;

private:
    DebugKernel m_kernel;
};

// CORVANEC with the kernel, a T89C51Rx2 or an AT89S53 behind the PIC.
class KernelCorvanecBoard : public CorvanecBoard, public KernelBoard {
public:
    KernelCorvanecBoard(const LineSettings& picLine, Chip chip, const PicSettings& pic,
                        const BootLoaderOptions& isp, const KernelFaults& faults);
    DebugKernel& Kernel() override { return m_kernel; }

protected:
    void Released() override;
    void Held() override;
    void RunningByte(BYTE byte, const LineSettings& host) override;
    bool ChipOwnsLine() const override { return m_kernel.Up(); }

private:
    DebugKernel m_kernel;
};

// The catalogue's maker of kind debug-kernel: board=corvanec2|corvanec (default corvanec2), then
// that board's keys (chip=, the PIC's, the boot loader's, silent-at=) and the kernel's faults.
std::unique_ptr<Board> MakeDebugKernelBoard(BoardOptions& options, std::string* error);

}  // namespace boards

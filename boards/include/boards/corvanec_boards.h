// The maker's 8051 debug boards: CORVANEC (a board PIC with a T89C51Rx2 or an AT89S53 behind it)
// and CORVANEC2 (a T89C51Rx2 whose boot loader answers on the line itself).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "boards/board_pic.h"
#include "boards/catalogue.h"
#include "boards/boot_loader.h"
#include "boards/program_store.h"

namespace boards {

// The debug kernel a released chip runs: it answers the version command 0xE4 with its minor
// version, at its own rate.
struct KernelSettings {
    uint32_t version = 6;
    uint32_t baud = 19200;
};

// Takes kernel= and kernel-baud= out of a board's options.
bool TakeKernelSettings(BoardOptions& options, KernelSettings* settings, std::string* error);

// CORVANEC: the PIC (see BoardPic) listens at the board's framing. Behind it, `chip`:
//  - T89C51Rx2: set type 2 passes the line through to the chip's boot loader (BootLoader),
//    which starts afresh each time; type 1 is refused (status 1).
//  - AT89S53: set type 1 makes the PIC serve the chip's 12 KB of program memory through write and
//    read frames; type 2 is refused.
// Memory a download wrote: the boot loader's programmed cells, or the cells of write frames.
class CorvanecBoard : public BoardPic, public ProgramStore, private BootLoader::Host {
public:
    enum class Chip { T89C51Rx2, AT89S53 };
    CorvanecBoard(const LineSettings& picLine, Chip chip, const PicSettings& pic,
                  const BootLoaderOptions& isp, const KernelSettings& kernel);

    const std::map<uint32_t, uint8_t>& LoadedCells() const override;
    const boards::BootLoader& BootLoader() const { return m_loader; }

protected:
    BYTE SetType(BYTE type) override;
    bool PassesThrough(BYTE type) const override;
    void EnterPassThrough(BYTE type) override;
    void PassThroughByte(BYTE byte, const LineSettings& host) override;
    bool ChipAsksToRun() const override { return m_loader.RunRequested(); }
    BYTE WriteProgram(unsigned address, const std::vector<BYTE>& data) override;
    BYTE ReadProgram(unsigned address, std::vector<BYTE>* data) override;
    void RunningByte(BYTE byte, const LineSettings& host) override;

    Chip GetChip() const { return m_chip; }
    boards::BootLoader& Loader() { return m_loader; }

private:
    // The chip's echoes and answers go out as they are; its notes stay out of the log.
    void Answer(boards::Reply reply) override { SendAfter(reply.delayMicros, reply.bytes); }
    void ProgramStarted() override {}
    void Note(const std::string&) override {}

    Chip m_chip;
    boards::BootLoader m_loader;
    KernelSettings m_kernel;
    std::map<uint32_t, uint8_t> m_program;  // the AT89S53's cells the PIC wrote
};

// CORVANEC2: the host's RTS is the chip's program-mode line: on resets it into its boot loader
// (which must learn the rate from a 'U' again), off lets it run its program.
class Corvanec2Board : public Board, public ProgramStore, private BootLoader::Host {
public:
    // `silentAt`: from the k-th byte it receives (counting from 1) the board answers nothing.
    Corvanec2Board(const LineSettings& line, const BootLoaderOptions& isp,
                   const KernelSettings& kernel, uint32_t silentAt);

    const std::map<uint32_t, uint8_t>& LoadedCells() const override {
        return m_loader.Programmed();
    }
    const boards::BootLoader& BootLoader() const { return m_loader; }
    bool Running() const { return m_running; }

protected:
    void OnOpen() override;
    void OnHostSettings(const LineSettings& line) override;
    void OnRts(bool on) override;
    void OnByte(BYTE byte, bool garbled) override;
    // What the running chip is sent (its kernel answers the version command).
    virtual void RunningByte(BYTE byte, const LineSettings& host);

    boards::BootLoader& Loader() { return m_loader; }

private:
    void Answer(boards::Reply reply) override { SendAfter(reply.delayMicros, reply.bytes); }
    void ProgramStarted() override {}
    void Note(const std::string&) override {}

    boards::BootLoader m_loader;
    KernelSettings m_kernel;
    uint32_t m_silentAt;
    uint32_t m_received = 0;
    bool m_running = true;
};

// The catalogue's makers. corvanec: chip=t89c51rx2|at89s53 (default t89c51rx2), the PIC's keys
// (TakePicSettings), the boot loader's (TakeBootLoaderKeys), kernel= and kernel-baud=. corvanec2:
// the boot loader's keys, the kernel's and silent-at=.
std::unique_ptr<Board> MakeCorvanecBoard(BoardOptions& options, std::string* error);
std::unique_ptr<Board> MakeCorvanec2Board(BoardOptions& options, std::string* error);

}  // namespace boards

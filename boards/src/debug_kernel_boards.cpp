// The two arrangements of the debug board with the debug kernel in their chip, and their maker.
#include "boards/debug_kernel.h"

namespace boards {

KernelCorvanec2Board::KernelCorvanec2Board(const LineSettings& line, const BootLoaderOptions& isp,
                                           const KernelFaults& faults, uint32_t silentAt)
    : Corvanec2Board(line, isp, KernelSettings(), silentAt),
      m_kernel(
          *this, kernelimage::kChipRx2,
          [this](uint32_t address, uint8_t value) { Loader().WriteCell(address, value); }, faults) {
}

void KernelCorvanec2Board::OnRts(bool on) {
    const bool wasRunning = Running();
    Corvanec2Board::OnRts(on);
    if (on) {
        m_kernel.Held();
    } else if (!wasRunning) {
        m_kernel.Released(LoadedCells());
    }
}

void KernelCorvanec2Board::RunningByte(BYTE byte, const LineSettings& host) {
    m_kernel.Take(byte, host);
}

KernelCorvanecBoard::KernelCorvanecBoard(const LineSettings& picLine, Chip chip,
                                         const PicSettings& pic, const BootLoaderOptions& isp,
                                         const KernelFaults& faults)
    : CorvanecBoard(picLine, chip, pic, isp, KernelSettings()),
      m_kernel(
          *this, chip == Chip::AT89S53 ? kernelimage::kChipS53 : kernelimage::kChipRx2,
          chip == Chip::AT89S53
              // The AT89S53 cannot write its own program memory: only the PIC can.
              ? DebugKernel::FlashWriter()
              : [this](uint32_t address, uint8_t value) { Loader().WriteCell(address, value); },
          faults) {}

void KernelCorvanecBoard::Released() { m_kernel.Released(LoadedCells()); }

void KernelCorvanecBoard::Held() { m_kernel.Held(); }

void KernelCorvanecBoard::RunningByte(BYTE byte, const LineSettings& host) {
    m_kernel.Take(byte, host);
}

std::unique_ptr<Board> MakeDebugKernelBoard(BoardOptions& options, std::string* error) {
    std::string board = "corvanec2";
    options.Take("board", &board);
    BootLoaderOptions isp;
    KernelFaults faults;
    if (!TakeBootLoaderKeys(options, &isp, error) || !TakeKernelFaults(options, &faults, error)) {
        return nullptr;
    }
    if (board == "corvanec2") {
        uint32_t silentAt = 0;
        if (!options.TakeNumber("silent-at", &silentAt, error)) {
            return nullptr;
        }
        return std::make_unique<KernelCorvanec2Board>(options.Framing(), isp, faults, silentAt);
    }
    if (board != "corvanec") {
        *error = "board must be corvanec2 or corvanec";
        return nullptr;
    }
    CorvanecBoard::Chip chip = CorvanecBoard::Chip::T89C51Rx2;
    std::string text;
    if (options.Take("chip", &text)) {
        if (text == "at89s53") {
            chip = CorvanecBoard::Chip::AT89S53;
        } else if (text != "t89c51rx2") {
            *error = "chip must be t89c51rx2 or at89s53";
            return nullptr;
        }
    }
    PicSettings pic;
    if (!TakePicSettings(options, &pic, error)) {
        return nullptr;
    }
    return std::make_unique<KernelCorvanecBoard>(options.Framing(), chip, pic, isp, faults);
}

}  // namespace boards

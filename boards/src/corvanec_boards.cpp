// The debug boards: what sits behind the PIC, the direct boot loader, and the running kernel.
#include "boards/corvanec_boards.h"

namespace boards {
namespace {

constexpr BYTE kKernelVersionCommand = 0xE4;
constexpr uint64_t kKernelReplyMicros = 200;
constexpr unsigned kAt89s53Memory = 0x3000;

// The running kernel's answer to what the host sends it.
void KernelTakes(Board& board, const KernelSettings& kernel, BYTE byte, const LineSettings& host) {
    if (host.baud == kernel.baud && byte == kKernelVersionCommand) {
        board.SendAfter(kKernelReplyMicros, std::vector<BYTE>{static_cast<BYTE>(kernel.version)});
    }
}

}  // namespace

bool TakeKernelSettings(BoardOptions& options, KernelSettings* settings, std::string* error) {
    if (!options.TakeNumber("kernel", &settings->version, error) ||
        !options.TakeNumber("kernel-baud", &settings->baud, error)) {
        return false;
    }
    if (settings->version > 0xFF) {
        *error = "kernel must be a byte";
        return false;
    }
    return true;
}

CorvanecBoard::CorvanecBoard(const LineSettings& picLine, Chip chip, const PicSettings& pic,
                             const BootLoaderOptions& isp, const KernelSettings& kernel)
    : BoardPic(picLine, pic), m_chip(chip), m_loader(*this, isp), m_kernel(kernel) {}

const std::map<uint32_t, uint8_t>& CorvanecBoard::LoadedCells() const {
    return m_chip == Chip::T89C51Rx2 ? m_loader.Programmed() : m_program;
}

BYTE CorvanecBoard::SetType(BYTE type) {
    if (m_chip == Chip::T89C51Rx2) {
        return type == 2 ? 0 : 1;
    }
    return type == 1 ? 0 : 1;
}

bool CorvanecBoard::PassesThrough(BYTE type) const {
    return m_chip == Chip::T89C51Rx2 && type == 2;
}

void CorvanecBoard::EnterPassThrough(BYTE) { m_loader.EnterLoader(); }

void CorvanecBoard::PassThroughByte(BYTE byte, const LineSettings& host) {
    m_loader.OnByte(byte, host);
}

BYTE CorvanecBoard::WriteProgram(unsigned address, const std::vector<BYTE>& data) {
    if (m_chip != Chip::AT89S53 || address + data.size() > kAt89s53Memory) {
        return 1;
    }
    for (size_t i = 0; i < data.size(); ++i) {
        m_program[static_cast<uint32_t>(address + i)] = data[i];
    }
    return 0;
}

BYTE CorvanecBoard::ReadProgram(unsigned address, std::vector<BYTE>* data) {
    if (m_chip != Chip::AT89S53 || address + data->size() > kAt89s53Memory) {
        return 1;
    }
    for (size_t i = 0; i < data->size(); ++i) {
        auto found = m_program.find(static_cast<uint32_t>(address + i));
        (*data)[i] = found == m_program.end() ? 0xFF : found->second;
    }
    return 0;
}

void CorvanecBoard::RunningByte(BYTE byte, const LineSettings& host) {
    KernelTakes(*this, m_kernel, byte, host);
}

Corvanec2Board::Corvanec2Board(const LineSettings& line, const BootLoaderOptions& isp,
                               const KernelSettings& kernel, uint32_t silentAt)
    : Board(line), m_loader(*this, isp), m_kernel(kernel), m_silentAt(silentAt) {}

void Corvanec2Board::OnOpen() {
    if (HostLine() != BoardLine()) {
        Listen(HostLine());
    }
}

void Corvanec2Board::OnHostSettings(const LineSettings&) { OnOpen(); }

void Corvanec2Board::OnRts(bool on) {
    m_running = !on;
    if (on) {
        m_loader.EnterLoader();
    }
}

void Corvanec2Board::OnByte(BYTE byte, bool garbled) {
    ++m_received;
    if (m_silentAt != 0 && m_received >= m_silentAt) {
        return;
    }
    LineSettings host = HostLine();
    if (garbled) {
        host.baud = 0;
    }
    if (m_running) {
        RunningByte(byte, host);
    } else {
        m_loader.OnByte(byte, host);
    }
}

void Corvanec2Board::RunningByte(BYTE byte, const LineSettings& host) {
    KernelTakes(*this, m_kernel, byte, host);
}

std::unique_ptr<Board> MakeCorvanecBoard(BoardOptions& options, std::string* error) {
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
    BootLoaderOptions isp;
    KernelSettings kernel;
    if (!TakePicSettings(options, &pic, error) || !TakeBootLoaderKeys(options, &isp, error) ||
        !TakeKernelSettings(options, &kernel, error)) {
        return nullptr;
    }
    return std::make_unique<CorvanecBoard>(options.Framing(), chip, pic, isp, kernel);
}

std::unique_ptr<Board> MakeCorvanec2Board(BoardOptions& options, std::string* error) {
    BootLoaderOptions isp;
    KernelSettings kernel;
    uint32_t silentAt = 0;
    if (!TakeBootLoaderKeys(options, &isp, error) || !TakeKernelSettings(options, &kernel, error) ||
        !options.TakeNumber("silent-at", &silentAt, error)) {
        return nullptr;
    }
    return std::make_unique<Corvanec2Board>(options.Framing(), isp, kernel, silentAt);
}

}  // namespace boards

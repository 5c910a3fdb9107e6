// The simulation kernel's board: the '>' boot loader's board whose 8051 runs its flash, its serial
// port on the line, its ports on pins the outside drives.
#include "boards/sim_kernel_board.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "boards/hex_text_memory.h"
#include "ostrel/sfr.h"

namespace boards {
namespace {

constexpr uint64_t kReplyMicros = 100;
// Steps the chip runs after each received byte or reset: far more than a program that only
// answers its line needs to take a byte, answer it and wait for the next.
constexpr uint32_t kStepsPerEvent = 2000;
constexpr uint8_t kSerialMode1WithReceiver = 0x50;
constexpr size_t kFlashSize = 0x10000;
// RTS up for this long starts the boot loader; a shorter pulse is a plain reset.
constexpr uint64_t kBootLoaderStartMs = 100;

const char* const kPortNames[4] = {"P0", "P1", "P2", "P3"};

}  // namespace

SimKernelBoard::SimKernelBoard(const LineSettings& line, const Settings& settings)
    : PromptBootLoaderBoard(line, settings.loader),
      m_code(kFlashSize, 0xFF),
      m_chip(std::make_unique<ostrel::CChip>(ostrel::ChipFamily::k8051,
                                             static_cast<ostrel::IChipHost&>(*this))) {
    for (int i = 0; i < 4; ++i) {
        m_drive[i] = settings.drive[i];
    }
    m_chip->BindMemory({m_sfr.data(), static_cast<uint32_t>(m_sfr.size())},
                       {m_code.data(), static_cast<uint32_t>(m_code.size())},
                       {m_ram.data(), static_cast<uint32_t>(m_ram.size())}, {});
}

SimKernelBoard::~SimKernelBoard() = default;

void SimKernelBoard::LoadProgram(const std::map<uint32_t, uint8_t>& cells) {
    Preload(cells);
    if (!Rts()) {
        StartProgram();
    }
}

void SimKernelBoard::Drive(int port, uint8_t pins) { m_drive[port] = pins; }

void SimKernelBoard::OnRts(bool on) {
    if (on) {
        // Held in reset, or on the way into the boot loader.
        m_running = false;
        m_rtsRose = true;
        m_rtsRoseAt = Now();
        PromptBootLoaderBoard::OnRts(true);
        return;
    }
    // Down again before the boot loader started: a plain reset, after which the flash runs.
    const bool plainReset = m_rtsRose && Now() - m_rtsRoseAt < kBootLoaderStartMs * 1000;
    m_rtsRose = false;
    PromptBootLoaderBoard::OnRts(false);
    if (plainReset && !LoadedCells().empty()) {
        Log().Add(Now(), "program runs");
        StartProgram();
    }
}

void SimKernelBoard::OnByte(BYTE byte, bool garbled) {
    // The boot loader counts every byte (its silence) and serves those meant for it.
    PromptBootLoaderBoard::OnByte(byte, garbled);
    if (!m_running || garbled || Silent()) {
        return;
    }
    ostrel::CSerialPort& serial = m_chip->Serial();
    serial.QueueInput(&byte, 1);
    serial.DeliverInput();
    RunChip();
}

void SimKernelBoard::StartProgram() {
    m_running = false;
    if (LoadedCells().empty()) {
        return;
    }
    // A fresh chip on what the flash holds now: the register file's reset sets every latch to FF
    // through the ports.
    std::copy(Flash().begin(), Flash().end(), m_code.begin());
    std::fill(m_sfr.begin(), m_sfr.end(), 0);
    std::fill(m_ram.begin(), m_ram.end(), 0);
    m_chip->PowerOn();
    m_chip->Reset();
    m_chip->Registers().SetPc(0);
    // The serial port as the boot loader leaves it; its rate is the line's, the board's framing.
    m_sfr[ostrel::sfr::SCON] = kSerialMode1WithReceiver;
    m_running = true;
    RunChip();
}

void SimKernelBoard::RunChip() {
    uint32_t steps = 0;
    const SimStatus status = m_chip->Run(kStepsPerEvent, nullptr, &steps);
    if (status != SIM_OK) {
        // A program that fails stops the chip until the next reset.
        char note[64];
        std::snprintf(note, sizeof note, "chip stopped at %04X (status %d)",
                      static_cast<unsigned>(m_chip->Registers().Pc()), static_cast<int>(status));
        Log().Add(Now(), note);
        m_running = false;
    }
}

uint8_t SimKernelBoard::ReadOutside(ostrel::ChipSpace, uint32_t) { return 0xFF; }

bool SimKernelBoard::WriteOutside(ostrel::ChipSpace, uint32_t, uint8_t) { return false; }

void SimKernelBoard::ChipMessage(int32_t, const char*) {}

void SimKernelBoard::SerialTransmit(uint8_t value) {
    if (!m_muted && !Silent()) {
        SendAfter(kReplyMicros, std::vector<BYTE>{value});
    }
}

bool SimKernelBoard::ReadBoardPort(uint8_t address, uint8_t* value) {
    const int port = ostrel::sfr::PortIndex(address);
    *value = Pins(port);
    return true;
}

void SimKernelBoard::WriteBoardPort(uint8_t address, uint8_t value) {
    const int port = ostrel::sfr::PortIndex(address);
    if (m_latches[port].exchange(value) != value) {
        char note[32];
        std::snprintf(note, sizeof note, "port %s %02X", kPortNames[port], value);
        Log().Add(Now(), note);
    }
}

std::unique_ptr<Board> MakeSimKernelBoard(BoardOptions& options, std::string* error) {
    SimKernelBoard::Settings settings;
    settings.loader.startMs = kBootLoaderStartMs;
    if (!TakePromptBootLoaderSettings(options, &settings.loader, error)) {
        return nullptr;
    }
    for (int i = 0; i < 4; ++i) {
        uint32_t pins = settings.drive[i];
        const std::string key = "p" + std::to_string(i);
        if (!options.TakeNumber(key, &pins, error)) {
            return nullptr;
        }
        if (pins > 0xFF) {
            *error = key + " must be a byte";
            return nullptr;
        }
        settings.drive[i] = static_cast<uint8_t>(pins);
    }
    HexTextMemory image;
    std::string path;
    if (options.Take("image", &path)) {
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            *error = "cannot read image '" + path + "'";
            return nullptr;
        }
        for (std::istreambuf_iterator<char> it(file), end; it != end; ++it) {
            image.Take(static_cast<uint8_t>(*it));
        }
        image.Take('\n');
        if (image.BadLines() != 0 || image.Cells().empty()) {
            *error = "image '" + path + "' is no Intel HEX program";
            return nullptr;
        }
    }
    auto board = std::make_unique<SimKernelBoard>(options.Framing(), settings);
    board->LoadProgram(image.Cells());
    return board;
}

}  // namespace boards

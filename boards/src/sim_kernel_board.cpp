// The simulation kernel's board: an 8051 running its flash, its serial port on the line, its
// ports on pins the outside drives.
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

const char* const kPortNames[4] = {"P0", "P1", "P2", "P3"};

}  // namespace

SimKernelBoard::SimKernelBoard(const LineSettings& line, const Settings& settings)
    : Board(line),
      m_settings(settings),
      m_flash(kFlashSize, 0xFF),
      m_chip(std::make_unique<ostrel::CChip>(ostrel::ChipFamily::k8051,
                                             static_cast<ostrel::IChipHost&>(*this))) {
    for (int i = 0; i < 4; ++i) {
        m_drive[i] = settings.drive[i];
    }
    m_chip->BindMemory({m_sfr.data(), static_cast<uint32_t>(m_sfr.size())},
                       {m_flash.data(), static_cast<uint32_t>(m_flash.size())},
                       {m_ram.data(), static_cast<uint32_t>(m_ram.size())}, {});
}

SimKernelBoard::~SimKernelBoard() = default;

void SimKernelBoard::LoadProgram(const std::map<uint32_t, uint8_t>& cells) {
    for (const auto& cell : cells) {
        if (cell.first < kFlashSize) {
            m_flash[cell.first] = cell.second;
            m_cells[cell.first] = cell.second;
        }
    }
    if (!Rts()) {
        StartProgram();
    }
}

void SimKernelBoard::Drive(int port, uint8_t pins) { m_drive[port] = pins; }

void SimKernelBoard::OnRts(bool on) {
    if (on) {
        m_running = false;
    } else {
        StartProgram();
    }
}

void SimKernelBoard::OnByte(BYTE byte, bool garbled) {
    ++m_received;
    if (m_settings.silentAt != 0 && m_received >= m_settings.silentAt) {
        m_silent = true;
    }
    if (m_silent || garbled || !m_running) {
        return;
    }
    ostrel::CSerialPort& serial = m_chip->Serial();
    serial.QueueInput(&byte, 1);
    serial.DeliverInput();
    RunChip();
}

void SimKernelBoard::StartProgram() {
    m_running = false;
    if (m_cells.empty()) {
        return;
    }
    // A fresh chip: the register file's reset sets every latch to FF through the ports.
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
    if (!m_silent) {
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
    if (!options.TakeNumber("silent-at", &settings.silentAt, error)) {
        return nullptr;
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

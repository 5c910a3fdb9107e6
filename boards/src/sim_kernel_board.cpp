// The simulation kernel's board: the '>' boot loader's board whose 8051 runs its flash, its serial
// port on the line, its ports on pins the outside drives.
#include "boards/sim_kernel_board.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "boards/hex_text_memory.h"
#include "ostrel/register_file.h"
#include "ostrel/sfr.h"

namespace boards {
namespace {

namespace sfr = ostrel::sfr;

constexpr uint8_t kSerialMode1WithReceiver = 0x50;
const char* const kPortNames[4] = {"P0", "P1", "P2", "P3"};
// RTS up for this long starts the boot loader; a shorter pulse is a plain reset.
constexpr uint64_t kBootLoaderStartMs = 100;

}  // namespace

SimKernelBoard::SimKernelBoard(const LineSettings& line, const Settings& settings)
    : PromptBootLoaderBoard(line, settings.loader), m_chip(*this) {
    for (int i = 0; i < 4; ++i) {
        m_drive[i] = settings.drive[i];
    }
    m_chip.SetPortPins(this);
}

SimKernelBoard::~SimKernelBoard() {
    // The chip's runs are timers of this board: none may reach it once it is gone.
    m_chip.Halt();
    m_chip.SetMuted(true);
}

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
        m_chip.Halt();
        m_running = false;
        m_runOnOpen = false;
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
    if (Silent()) {
        m_chip.SetMuted(true);
    }
    if (m_running && !garbled) {
        m_chip.Receive(byte);
    }
}

void SimKernelBoard::StartProgram() {
    m_chip.Halt();
    m_running = false;
    m_runOnOpen = false;
    if (LoadedCells().empty()) {
        return;
    }
    // The chip on what the flash holds now; its reset sets every latch to FF through the pins.
    m_chip.Code() = Flash();
    m_chip.Reset();
    // The serial port as the boot loader leaves it (mode 1, the receiver on); its rate is the
    // line's, the board's framing.
    m_chip.Registers().WriteDirect(sfr::SCON, kSerialMode1WithReceiver);
    m_running = true;
    // A board made with its program starts it once it is on the line: its clock runs from then.
    m_runOnOpen = !HostOpen();
    if (!m_runOnOpen) {
        RunChip();
    }
}

void SimKernelBoard::OnOpen() {
    if (m_runOnOpen) {
        m_runOnOpen = false;
        RunChip();
    }
}

void SimKernelBoard::RunChip() {
    m_chip.Run(0, 0, [this](BoardChip::RunEnd end, uint64_t at) {
        // A program that fails stops the chip until the next reset.
        if (end == BoardChip::RunEnd::Failed) {
            char note[32];
            std::snprintf(note, sizeof note, "chip stopped at %04X",
                          static_cast<unsigned>(m_chip.Registers().Pc()));
            Log().Add(at, note);
        }
        m_running = false;
    });
}

void SimKernelBoard::LatchWritten(int port, uint8_t value) {
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

// An 8051 on a simulated board: the engine over the board's memories, serial output timed by the
// instruction that sent it, runs in slices on the board's clock.
#include "boards/board_chip.h"

#include <algorithm>
#include <string>

#include "ostrel/chip.h"
#include "ostrel/sfr.h"

namespace boards {
namespace {

namespace sfr = ostrel::sfr;

constexpr uint32_t kCodeSize = 0x10000;
constexpr uint32_t kExternalSize = 0x10000;
constexpr uint32_t kRamSize = 0x100;
// The board's crystal; a machine cycle is twelve of its periods.
constexpr uint64_t kCrystalHz = 11059200;
// A running program is simulated in slices of this many instructions, each at its own time.
constexpr uint32_t kSliceSteps = 1000;

uint64_t CycleMicros(uint64_t cycles) { return cycles * 12 * 1000000 / kCrystalHz; }

}  // namespace

class BoardChip::Impl : public ostrel::IChipHost {
public:
    explicit Impl(Board& board) : m_board(board), m_chip(ostrel::ChipFamily::k8052, *this) {
        m_chip.BindMemory({m_sfr.data(), kRamSize}, {m_code.data(), kCodeSize},
                          {m_ram.data(), kRamSize}, {m_external.data(), kExternalSize});
        m_chip.PowerOn();
        m_chip.SetSimulateTimers(true);
        m_chip.SetSimulateInterrupts(true);
    }

    void Run(uint64_t delay, uint64_t limitMicros, RunDone done) {
        ++m_generation;
        m_running = true;
        m_limitMicros = limitMicros;
        m_done = std::move(done);
        ScheduleSlice(delay);
    }
    void Halt() {
        ++m_generation;
        m_running = false;
    }
    uint64_t Step(uint64_t delay, bool interrupts) {
        ostrel::CRegisterFile& r = m_chip.Registers();
        m_sliceStart = m_board.Now() + delay;
        m_sliceCycles = r.Cycles();
        m_chip.SetSimulateInterrupts(interrupts);
        m_chip.Step();
        m_chip.SetSimulateInterrupts(true);
        return delay + CycleMicros(static_cast<uint16_t>(r.Cycles() - m_sliceCycles));
    }
    bool RunTo(uint16_t stop, uint32_t limit) {
        uint64_t stops[kCodeSize / 64] = {};
        stops[stop >> 6] = uint64_t{1} << (stop & 63);
        uint32_t steps = 0;
        m_chip.Run(limit, stops, &steps);
        return m_chip.Registers().Pc() == stop;
    }

    Board& m_board;
    std::vector<uint8_t> m_sfr = std::vector<uint8_t>(kRamSize);
    std::vector<uint8_t> m_code = std::vector<uint8_t>(kCodeSize, 0xFF);
    std::vector<uint8_t> m_ram = std::vector<uint8_t>(kRamSize);
    std::vector<uint8_t> m_external = std::vector<uint8_t>(kExternalSize);
    ostrel::CChip m_chip;
    uint64_t m_stops[kCodeSize / 64] = {};
    bool m_running = false;
    bool m_muted = false;
    PortPins* m_pins = nullptr;
    uint64_t m_ranMicros = 0;

private:
    void ScheduleSlice(uint64_t delay) {
        const uint64_t generation = m_generation;
        m_board.After(delay, [this, generation] {
            if (generation == m_generation && m_running) {
                RunSlice();
            }
        });
    }
    void End(RunEnd end, uint64_t at) {
        m_running = false;
        RunDone done = std::move(m_done);
        m_done = nullptr;
        if (done) {
            done(end, at);
        }
    }
    void RunSlice() {
        if (m_limitMicros != 0 && m_ranMicros >= m_limitMicros) {
            End(RunEnd::TimeUp, m_board.Now());
            return;
        }
        ostrel::CRegisterFile& r = m_chip.Registers();
        m_sliceStart = m_board.Now();
        m_sliceCycles = r.Cycles();
        uint32_t steps = 0;
        const SimStatus status = m_chip.Run(kSliceSteps, m_stops, &steps);
        const uint64_t elapsed = CycleMicros(static_cast<uint16_t>(r.Cycles() - m_sliceCycles));
        m_ranMicros += elapsed;
        const uint16_t pc = r.Pc();
        if (status != SIM_OK) {
            End(RunEnd::Failed, m_sliceStart + elapsed);
        } else if (((m_stops[pc >> 6] >> (pc & 63)) & 1) != 0) {
            End(RunEnd::Stopped, m_sliceStart + elapsed);
        } else {
            ScheduleSlice(elapsed);
        }
    }

    // --- ostrel::IChipHost ---
    uint8_t ReadOutside(ostrel::ChipSpace, uint32_t) override { return 0; }
    bool WriteOutside(ostrel::ChipSpace, uint32_t, uint8_t) override { return false; }
    void ChipMessage(int32_t, const char* text) override {
        m_board.Log().Add(m_board.Now(), std::string("chip: ") + text);
    }
    void Called(uint16_t, uint16_t, ostrel::CallKind) override {}
    void Returned(uint16_t) override {}
    void SerialTransmit(uint8_t value) override {
        if (m_muted) {
            return;
        }
        // The byte leaves when the instruction that wrote it ran.
        const uint16_t cycles = static_cast<uint16_t>(m_chip.Registers().Cycles() - m_sliceCycles);
        m_board.SendAt(m_sliceStart + CycleMicros(cycles), std::vector<BYTE>{value});
    }
    bool HardwarePortsActive() override { return m_pins != nullptr; }
    bool ReadBoardPort(uint8_t address, uint8_t* value) override {
        *value = m_pins->ReadPins(sfr::PortIndex(address));
        return true;
    }
    void WriteBoardPort(uint8_t address, uint8_t value) override {
        m_pins->LatchWritten(sfr::PortIndex(address), value);
    }
    bool ResizeCodeAndData(uint32_t, uint32_t) override { return false; }

    uint64_t m_generation = 0;
    uint64_t m_limitMicros = 0;
    RunDone m_done;
    // Where the instruction in hand stands in time: the start of its slice (or step) and the
    // cycle count there.
    uint64_t m_sliceStart = 0;
    uint16_t m_sliceCycles = 0;
};

BoardChip::BoardChip(Board& board) : m_impl(std::make_unique<Impl>(board)) {}

BoardChip::~BoardChip() = default;

void BoardChip::LoadFlash(const std::map<uint32_t, uint8_t>& cells) {
    std::fill(m_impl->m_code.begin(), m_impl->m_code.end(), 0xFF);
    for (const auto& cell : cells) {
        m_impl->m_code[cell.first & 0xFFFF] = cell.second;
    }
}

std::vector<uint8_t>& BoardChip::Code() { return m_impl->m_code; }
const std::vector<uint8_t>& BoardChip::Code() const { return m_impl->m_code; }
std::vector<uint8_t>& BoardChip::ExternalData() { return m_impl->m_external; }
const std::vector<uint8_t>& BoardChip::ExternalData() const { return m_impl->m_external; }
std::vector<uint8_t>& BoardChip::InternalRam() { return m_impl->m_ram; }
const std::vector<uint8_t>& BoardChip::InternalRam() const { return m_impl->m_ram; }
ostrel::CRegisterFile& BoardChip::Registers() { return m_impl->m_chip.Registers(); }
ostrel::CChip& BoardChip::Engine() { return m_impl->m_chip; }

void BoardChip::Reset() {
    m_impl->Halt();
    m_impl->m_chip.Reset();
    m_impl->m_chip.Registers().SetPc(0);
}

bool BoardChip::RunTo(uint16_t stop, uint32_t limit) { return m_impl->RunTo(stop, limit); }

uint64_t BoardChip::Step(uint64_t delay, bool interrupts) {
    return m_impl->Step(delay, interrupts);
}

void BoardChip::Run(uint64_t delay, uint64_t limitMicros, RunDone done) {
    m_impl->Run(delay, limitMicros, std::move(done));
}

void BoardChip::Halt() { m_impl->Halt(); }

bool BoardChip::Running() const { return m_impl->m_running; }

void BoardChip::SetStop(uint16_t address, bool on) {
    uint64_t& word = m_impl->m_stops[address >> 6];
    const uint64_t bit = uint64_t{1} << (address & 63);
    word = on ? word | bit : word & ~bit;
}

void BoardChip::Receive(BYTE byte) {
    ostrel::CSerialPort& serial = m_impl->m_chip.Serial();
    serial.QueueInput(&byte, 1);
    serial.DeliverInput();
}

uint32_t BoardChip::LineBaud() {
    ostrel::CRegisterFile& r = m_impl->m_chip.Registers();
    if ((r.ReadDirect(sfr::TMOD) & 0x30) != 0x20) {
        return 0;
    }
    const uint32_t reload = 256u - r.ReadDirect(sfr::TH1);
    const uint32_t doubled = (r.ReadDirect(sfr::PCON) & sfr::PCON_SMOD) != 0 ? 2 : 1;
    return static_cast<uint32_t>(kCrystalHz / 12 / 32 * doubled / reload);
}

uint64_t BoardChip::RanMicros() const { return m_impl->m_ranMicros; }

void BoardChip::SetMuted(bool muted) { m_impl->m_muted = muted; }

void BoardChip::SetPortPins(PortPins* pins) { m_impl->m_pins = pins; }

}  // namespace boards

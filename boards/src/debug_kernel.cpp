// The debug kernel on the board: the chip that runs the user's program on the simulator's engine,
// the kernel's start-up from its image, its commands, its reports and its misbehaviours.
#include "boards/debug_kernel.h"

#include <cstdio>

#include "ostrel/chip.h"
#include "ostrel/sfr.h"
#include "w32/errors.h"

namespace boards {
namespace {

namespace sfr = ostrel::sfr;

constexpr uint32_t kCodeSize = 0x10000;
constexpr uint32_t kExternalSize = 0x10000;
constexpr uint32_t kRamSize = 0x100;
// The board's crystal; a machine cycle is twelve of its periods.
constexpr uint64_t kCrystalHz = 11059200;
// How long the kernel takes to act on a command before its answer leaves.
constexpr uint64_t kAnswerMicros = 60;
// A running program is simulated in slices of this many instructions, each at its own time.
constexpr uint32_t kSliceSteps = 1000;
// The kernel's start-up code is a handful of instructions.
constexpr uint32_t kStartUpSteps = 64;

constexpr BYTE kReportStart = 'Z';
constexpr BYTE kAck = 0xA5;
constexpr BYTE kVersion = 0xE4;
constexpr size_t kContextSize = 41;

// The SFR behind each kernel code (code / 8); codes past the table read 0 and write nothing.
constexpr uint8_t kSfrOfCode[] = {sfr::P0,   sfr::P1,  sfr::P2,  sfr::P3,   sfr::TCON,
                                  sfr::TMOD, sfr::TL0, sfr::TL1, sfr::TH0,  sfr::TH1,
                                  sfr::SP,   sfr::DPL, sfr::DPH, sfr::PCON, sfr::SCON,
                                  sfr::IE,   sfr::IP,  sfr::PSW, sfr::B};
constexpr BYTE kHighestSfrCode = 0xCC;

uint64_t CycleMicros(uint64_t cycles) { return cycles * 12 * 1000000 / kCrystalHz; }

// A count byte of the kernel's commands: 0 stands for 256, as its loops count.
size_t Count(BYTE byte) { return byte == 0 ? 256 : byte; }

}  // namespace

bool TakeKernelFaults(BoardOptions& options, KernelFaults* faults, std::string* error) {
    std::string text;
    if (options.Take("kernel-fault", &text)) {
        static const struct {
            const char* name;
            KernelFaults::Fault fault;
        } kFaults[] = {
            {"text", KernelFaults::Fault::Text},       {"header", KernelFaults::Fault::Header},
            {"trailer", KernelFaults::Fault::Trailer}, {"truncate", KernelFaults::Fault::Truncate},
            {"low-pc", KernelFaults::Fault::LowPc},    {"no-ack", KernelFaults::Fault::NoAck},
            {"silent", KernelFaults::Fault::Silent}};
        bool known = false;
        for (const auto& entry : kFaults) {
            if (text == entry.name) {
                faults->fault = entry.fault;
                known = true;
            }
        }
        if (!known) {
            *error =
                "kernel-fault must be text, header, trailer, truncate, low-pc, no-ack or silent";
            return false;
        }
    }
    return options.TakeNumber("kernel-fault-at", &faults->at, error) &&
           options.TakeNumber("code-write-fault", &faults->codeWriteFault, error) &&
           options.TakeNumber("vanish-after", &faults->vanishAfterMs, error);
}

class DebugKernel::Chip : public ostrel::IChipHost {
public:
    Chip(Board& board, uint8_t chipId, FlashWriter flashWriter, const KernelFaults& faults)
        : m_board(board),
          m_chipId(chipId),
          m_flashWriter(std::move(flashWriter)),
          m_faults(faults),
          m_chip(ostrel::ChipFamily::k8052, *this) {
        m_chip.BindMemory({m_sfr.data(), kRamSize}, {m_code.data(), kCodeSize},
                          {m_ram.data(), kRamSize}, {m_external.data(), kExternalSize});
        m_chip.PowerOn();
        m_chip.SetSimulateTimers(true);
        m_chip.SetSimulateInterrupts(true);
        Mark(m_runStops, kernelimage::kBreakEntry);
        Mark(m_runStops, kernelimage::kStart);
        Mark(m_startStops, kernelimage::kLoop);
    }

    void Released(const std::map<uint32_t, uint8_t>& flash);
    void Held();
    void Take(BYTE byte, const LineSettings& host);

    bool Up() const { return m_up; }
    bool ProgramRunning() const { return m_programRunning; }
    const std::vector<uint8_t>& Code() const { return m_code; }
    const std::vector<uint8_t>& ExternalData() const { return m_external; }
    const std::vector<uint8_t>& InternalRam() const { return m_ram; }
    uint32_t Baud() const { return m_baud; }

private:
    static void Mark(uint64_t* bits, uint16_t address) {
        bits[address >> 6] |= uint64_t{1} << (address & 63);
    }

    // --- the kernel ---
    bool StartUp();
    size_t CommandLength() const;
    void Execute();
    void TakeCodeByte(BYTE byte);
    void LoadContext(const BYTE* context, bool withInterruptMask);
    std::vector<BYTE> ContextReply();
    // One instruction as the kernel's step interrupt runs it; its time in microseconds.
    uint64_t StepOne();
    void SendShortReport(uint64_t delay);
    void SendBreakReport(uint64_t at);
    void Answer(const std::vector<BYTE>& bytes) { m_board.SendAfter(kAnswerMicros, bytes); }
    void Acknowledge();
    // Whether this occasion of the chosen fault is spoilt (counting the occasion).
    bool Spoils(KernelFaults::Fault fault, uint32_t* occasions);
    bool Is(KernelFaults::Fault fault) const { return m_faults.fault == fault; }
    void Note(const char* text) { m_board.Log().Add(m_board.Now(), text); }

    // --- the user's program ---
    void RunProgram();
    void ScheduleSlice(uint64_t delay);
    void RunSlice();
    void Vanish();

    // --- ostrel::IChipHost ---
    uint8_t ReadOutside(ostrel::ChipSpace, uint32_t) override { return 0; }
    bool WriteOutside(ostrel::ChipSpace, uint32_t, uint8_t) override { return false; }
    void ChipMessage(int32_t, const char* text) override {
        m_board.Log().Add(m_board.Now(), std::string("chip: ") + text);
    }
    void Called(uint16_t, uint16_t, ostrel::CallKind) override {}
    void Returned(uint16_t) override {}
    void SerialTransmit(uint8_t value) override;
    bool HardwarePortsActive() override { return false; }
    bool ReadBoardPort(uint8_t, uint8_t*) override { return false; }
    void WriteBoardPort(uint8_t, uint8_t) override {}
    bool ResizeCodeAndData(uint32_t, uint32_t) override { return false; }

    Board& m_board;
    const uint8_t m_chipId;
    FlashWriter m_flashWriter;
    KernelFaults m_faults;
    std::vector<uint8_t> m_sfr = std::vector<uint8_t>(kRamSize);
    std::vector<uint8_t> m_code = std::vector<uint8_t>(kCodeSize, 0xFF);
    std::vector<uint8_t> m_ram = std::vector<uint8_t>(kRamSize);
    std::vector<uint8_t> m_external = std::vector<uint8_t>(kExternalSize);
    ostrel::CChip m_chip;
    uint64_t m_runStops[kCodeSize / 64] = {};
    uint64_t m_startStops[kCodeSize / 64] = {};

    bool m_up = false;
    uint32_t m_baud = 0;
    BYTE m_version = 0;
    bool m_gone = false;
    // The command being received, and a program-memory write taking its bytes one by one.
    std::vector<BYTE> m_command;
    BYTE m_lastCommand = 0;
    uint32_t m_codeAddress = 0;
    size_t m_codeLeft = 0;
    bool m_codeRefused = false;
    // Occasions counted for the faults.
    uint32_t m_commands = 0;
    uint32_t m_reports = 0;
    uint32_t m_breakReports = 0;
    uint32_t m_acks = 0;
    uint32_t m_codeWrites = 0;
    // The program's run: a run is ended by a breakpoint or by holding the chip; slices of an
    // older run find their generation past.
    bool m_programRunning = false;
    uint64_t m_generation = 0;
    uint64_t m_ranMicros = 0;
    // Where the instruction in hand stands in time: the start of its slice (or step) and the
    // cycle count there.
    uint64_t m_sliceStart = 0;
    uint16_t m_sliceCycles = 0;
};

void DebugKernel::Chip::Released(const std::map<uint32_t, uint8_t>& flash) {
    ++m_generation;
    m_programRunning = false;
    m_up = false;
    m_command.clear();
    m_codeLeft = 0;
    m_lastCommand = 0;
    m_commands = 0;
    if (m_gone) {
        return;
    }
    std::fill(m_code.begin(), m_code.end(), 0xFF);
    for (const auto& cell : flash) {
        m_code[cell.first & 0xFFFF] = cell.second;
    }
    m_chip.Reset();
    m_chip.Registers().SetPc(0);
    if (StartUp()) {
        char note[64];
        std::snprintf(note, sizeof note, "kernel: up at %u baud, V1.%02u", m_baud, m_version);
        Note(note);
    }
}

bool DebugKernel::Chip::StartUp() {
    uint32_t steps = 0;
    m_chip.Run(kStartUpSteps, m_startStops, &steps);
    const uint8_t* signature = &m_code[kernelimage::kSignature];
    if (m_chip.Registers().Pc() != kernelimage::kLoop || signature[0] != 'D' ||
        signature[1] != 'K' || signature[2] != m_chipId) {
        return false;
    }
    m_version = signature[3];
    // The line's rate as the start-up code set it: Timer 1 reloading from TH1, SMOD doubling.
    ostrel::CRegisterFile& r = m_chip.Registers();
    const uint32_t reload = 256u - r.ReadDirect(sfr::TH1);
    const bool timer1Mode2 = (r.ReadDirect(sfr::TMOD) & 0x30) == 0x20;
    const uint32_t doubled = (r.ReadDirect(sfr::PCON) & sfr::PCON_SMOD) != 0 ? 2 : 1;
    m_baud = timer1Mode2 ? static_cast<uint32_t>(kCrystalHz / 12 / 32 * doubled / reload) : 0;
    m_up = m_baud != 0;
    return m_up;
}

void DebugKernel::Chip::Held() {
    ++m_generation;
    m_programRunning = false;
    m_up = false;
    m_command.clear();
    m_codeLeft = 0;
}

void DebugKernel::Chip::Take(BYTE byte, const LineSettings& host) {
    if (!m_up || m_gone) {
        return;
    }
    const bool atRate = host.baud == m_baud && host.dataBits == 8 && host.parity == NOPARITY &&
                        host.stopBits == ONESTOPBIT;
    if (m_programRunning) {
        if (atRate) {
            m_chip.Serial().QueueInput(&byte, 1);
            m_chip.Serial().DeliverInput();
        }
        return;
    }
    if (!atRate) {
        m_command.clear();  // noise breaks the command in hand
        return;
    }
    if (m_codeLeft != 0) {
        TakeCodeByte(byte);
        return;
    }
    m_command.push_back(byte);
    if (m_command.size() == 1) {
        ++m_commands;
        if (Is(KernelFaults::Fault::Silent) && m_commands >= m_faults.at) {
            // The kernel hangs: nothing it is sent is taken from now on, until a reset.
            Note("kernel: silent");
            m_up = false;
            return;
        }
    }
    const size_t length = CommandLength();
    if (length == 0) {
        m_command.clear();  // no command of the kernel: it waits for one
        return;
    }
    if (m_command.size() == length) {
        Execute();
        m_lastCommand = m_command[0];
        m_command.clear();
    }
}

size_t DebugKernel::Chip::CommandLength() const {
    const BYTE command = m_command[0];
    const bool counted = m_command.size() >= 2;
    switch (command) {
        case 0x02:
        case kVersion:
            return 1;
        case 0x03:
        case 0xD4:
        case 0xDC:
        case 0xEC:
            return 4;
        case 0xD0:
            return counted ? 4 + Count(m_command[1]) : 4;
        case 0xE8:
        case 0xFC:
            return 1 + kContextSize;
        case 0xF0:
            return counted ? 3 + Count(m_command[1]) : 3;
        case 0xF4:
            return 3;
        default:
            if (command % 4 == 0 && command <= kHighestSfrCode) {
                return command % 8 == 0 ? 1 : 2;
            }
            return 0;
    }
}

void DebugKernel::Chip::Execute() {
    const std::vector<BYTE>& c = m_command;
    ostrel::CRegisterFile& r = m_chip.Registers();
    const uint16_t address = c.size() >= 4 ? static_cast<uint16_t>(c[2] | c[3] << 8) : 0;
    switch (c[0]) {
        case 0x02:
            Answer(ContextReply());
            return;
        case 0x03:
            r.SetPc(static_cast<uint16_t>(c[1] | c[2] << 8));
            SendShortReport(StepOne());
            return;
        case 0xE8:
            LoadContext(&c[1], false);
            SendShortReport(StepOne());
            return;
        case 0xFC:
            LoadContext(&c[1], true);
            RunProgram();
            return;
        case 0xD0:
            for (size_t i = 0; i < Count(c[1]); ++i) {
                m_external[(address + i) & 0xFFFF] = c[4 + i];
            }
            Acknowledge();
            return;
        case 0xD4: {
            std::vector<BYTE> bytes(Count(c[1]));
            for (size_t i = 0; i < bytes.size(); ++i) {
                bytes[i] = m_external[(address + i) & 0xFFFF];
            }
            Answer(bytes);
            return;
        }
        case 0xDC:
            ++m_codeWrites;
            m_codeAddress = address;
            m_codeLeft = Count(c[1]);
            m_codeRefused = m_flashWriter == nullptr || m_codeWrites == m_faults.codeWriteFault;
            return;
        case 0xEC: {
            std::vector<BYTE> bytes(Count(c[1]));
            for (size_t i = 0; i < bytes.size(); ++i) {
                bytes[i] = m_code[(address + i) & 0xFFFF];
            }
            Answer(bytes);
            return;
        }
        case kVersion:
            // The host sends the version command twice after a download: one answer for the run.
            if (m_lastCommand != kVersion) {
                Answer({m_version});
            }
            return;
        case 0xF0:
            for (size_t i = 0; i < Count(c[1]); ++i) {
                m_ram[(c[2] + i) & 0xFF] = c[3 + i];
            }
            Acknowledge();
            return;
        case 0xF4: {
            std::vector<BYTE> bytes(Count(c[1]));
            for (size_t i = 0; i < bytes.size(); ++i) {
                bytes[i] = m_ram[(c[2] + i) & 0xFF];
            }
            Answer(bytes);
            return;
        }
        default:
            break;
    }
    const size_t index = c[0] / 8;
    const bool known = index < sizeof kSfrOfCode;
    if (c[0] % 8 == 0) {
        Answer({known ? r.ReadDirect(kSfrOfCode[index]) : BYTE{0}});
    } else if (known) {
        r.WriteDirect(kSfrOfCode[index], c[1]);
    }
}

void DebugKernel::Chip::TakeCodeByte(BYTE byte) {
    if (m_codeRefused) {
        // The flash would not take it: a wrong echo, and the kernel waits for a command again.
        Answer({static_cast<BYTE>(~byte)});
        m_codeLeft = 0;
        return;
    }
    m_code[m_codeAddress & 0xFFFF] = byte;
    m_flashWriter(m_codeAddress & 0xFFFF, byte);
    ++m_codeAddress;
    --m_codeLeft;
    Answer({byte});
}

void DebugKernel::Chip::LoadContext(const BYTE* context, bool withInterruptMask) {
    ostrel::CRegisterFile& r = m_chip.Registers();
    for (int i = 0; i < 32; ++i) {
        m_ram[i] = context[i];
    }
    r.SetSp(context[32]);
    r.SetDptr(static_cast<uint16_t>(context[34] << 8 | context[33]));
    r.SetPsw(context[35]);
    r.SetAcc(context[36]);  // the parity bit follows ACC, as on the chip
    r.SetB(context[37]);
    r.SetPc(static_cast<uint16_t>(context[39] << 8 | context[38]));
    // A step's mask is the kernel's own (its step interrupt); a run takes the program's.
    if (withInterruptMask) {
        r.WriteDirect(sfr::IE, context[40]);
    }
}

std::vector<BYTE> DebugKernel::Chip::ContextReply() {
    ostrel::CRegisterFile& r = m_chip.Registers();
    const uint16_t dptr = r.Dptr();
    std::vector<BYTE> reply = {
        r.Psw(), r.B(), r.Acc(), static_cast<BYTE>(dptr >> 8), static_cast<BYTE>(dptr), r.Sp()};
    reply.insert(reply.end(), m_ram.begin(), m_ram.begin() + 32);
    return reply;
}

uint64_t DebugKernel::Chip::StepOne() {
    ostrel::CRegisterFile& r = m_chip.Registers();
    m_sliceStart = m_board.Now() + kAnswerMicros;
    m_sliceCycles = r.Cycles();
    m_chip.SetSimulateInterrupts(false);
    m_chip.Step();
    m_chip.SetSimulateInterrupts(true);
    return kAnswerMicros + CycleMicros(static_cast<uint16_t>(r.Cycles() - m_sliceCycles));
}

bool DebugKernel::Chip::Spoils(KernelFaults::Fault fault, uint32_t* occasions) {
    if (!Is(fault)) {
        return false;
    }
    ++*occasions;
    return m_faults.at == 0 || *occasions == m_faults.at;
}

void DebugKernel::Chip::SendShortReport(uint64_t delay) {
    ostrel::CRegisterFile& r = m_chip.Registers();
    uint16_t pc = r.Pc();
    const bool truncate = Spoils(KernelFaults::Fault::Truncate, &m_reports);
    if (Spoils(KernelFaults::Fault::LowPc, &m_reports)) {
        pc &= 0x07FF;
    }
    std::vector<BYTE> report = {kReportStart, static_cast<BYTE>(r.Sp() + 2),
                                static_cast<BYTE>(pc >> 8), static_cast<BYTE>(pc)};
    if (truncate) {
        report.pop_back();
    }
    m_board.SendAfter(delay, report);
}

void DebugKernel::Chip::SendBreakReport(uint64_t at) {
    ostrel::CRegisterFile& r = m_chip.Registers();
    uint16_t pc = r.Pc();
    const uint16_t dptr = r.Dptr();
    const bool text = Spoils(KernelFaults::Fault::Text, &m_breakReports);
    const bool header = Spoils(KernelFaults::Fault::Header, &m_breakReports);
    const bool trailer = Spoils(KernelFaults::Fault::Trailer, &m_breakReports);
    const bool truncate = Spoils(KernelFaults::Fault::Truncate, &m_reports);
    if (Spoils(KernelFaults::Fault::LowPc, &m_reports)) {
        pc &= 0x07FF;
    }
    std::vector<BYTE> report;
    if (text) {
        for (char ch : std::string("Zap!\r\n")) {
            report.push_back(static_cast<BYTE>(ch));
        }
    }
    const BYTE body[] = {kReportStart,
                         header ? BYTE{'N'} : BYTE{'M'},
                         0xA5,
                         0xD4,
                         r.Psw(),
                         r.B(),
                         r.Acc(),
                         static_cast<BYTE>(dptr >> 8),
                         static_cast<BYTE>(dptr),
                         r.ReadDirect(sfr::IE),
                         static_cast<BYTE>(pc >> 8),
                         static_cast<BYTE>(pc),
                         r.Sp()};
    report.insert(report.end(), std::begin(body), std::end(body));
    report.insert(report.end(), m_ram.begin(), m_ram.begin() + 32);
    report.insert(report.end(), {0x5B, 0x4C, 0xB5, trailer ? BYTE{0x3C} : BYTE{0xC4}});
    if (truncate) {
        report.pop_back();
    }
    m_board.SendAt(at, report);
}

void DebugKernel::Chip::Acknowledge() {
    if (Spoils(KernelFaults::Fault::NoAck, &m_acks)) {
        return;
    }
    Answer({kAck});
}

void DebugKernel::Chip::RunProgram() {
    m_programRunning = true;
    ++m_generation;
    ScheduleSlice(kAnswerMicros);
}

void DebugKernel::Chip::ScheduleSlice(uint64_t delay) {
    const uint64_t generation = m_generation;
    m_board.After(delay, [this, generation] {
        if (generation == m_generation && m_programRunning) {
            RunSlice();
        }
    });
}

void DebugKernel::Chip::RunSlice() {
    if (m_faults.vanishAfterMs != 0 && m_ranMicros >= uint64_t{m_faults.vanishAfterMs} * 1000) {
        Vanish();
        return;
    }
    ostrel::CRegisterFile& r = m_chip.Registers();
    m_sliceStart = m_board.Now();
    m_sliceCycles = r.Cycles();
    uint32_t steps = 0;
    const SimStatus status = m_chip.Run(kSliceSteps, m_runStops, &steps);
    const uint64_t elapsed = CycleMicros(static_cast<uint16_t>(r.Cycles() - m_sliceCycles));
    m_ranMicros += elapsed;
    const uint16_t pc = r.Pc();
    if (status != SIM_OK) {
        // The program crashed the chip: nothing answers until it is reset.
        char note[64];
        std::snprintf(note, sizeof note, "kernel: the program stopped the chip at %04X", pc);
        Note(note);
        m_programRunning = false;
        m_up = false;
        return;
    }
    if (pc == kernelimage::kBreakEntry) {
        // The breakpoint's LCALL pushed its return address; the handler takes it back off.
        const uint8_t high = r.PopByte();
        const uint8_t low = r.PopByte();
        r.SetPc(static_cast<uint16_t>(high << 8 | low));
        m_programRunning = false;
        char note[48];
        std::snprintf(note, sizeof note, "kernel: break at %04X",
                      static_cast<unsigned>(r.Pc() - 3) & 0xFFFF);
        m_board.Log().Add(m_sliceStart + elapsed, note);
        SendBreakReport(m_sliceStart + elapsed + kAnswerMicros);
        return;
    }
    if (pc == kernelimage::kStart) {
        // The program jumped to the kernel's start: the kernel starts over and waits.
        m_programRunning = false;
        m_board.Log().Add(m_sliceStart + elapsed, "kernel: restarted by the program");
        StartUp();
        return;
    }
    ScheduleSlice(elapsed);
}

void DebugKernel::Chip::Vanish() {
    m_gone = true;
    m_programRunning = false;
    m_up = false;
    Note("kernel: the board is gone");
    for (CallKind kind : {CallKind::Open, CallKind::Write, CallKind::Read, CallKind::Purge,
                          CallKind::Lines, CallKind::Settings}) {
        m_board.FailNext(kind, 0xFFFFFFFF, ERROR_GEN_FAILURE);
    }
}

void DebugKernel::Chip::SerialTransmit(uint8_t value) {
    if (m_gone) {
        return;
    }
    const uint16_t cycles = static_cast<uint16_t>(m_chip.Registers().Cycles() - m_sliceCycles);
    m_board.SendAt(m_sliceStart + CycleMicros(cycles), std::vector<BYTE>{value});
}

DebugKernel::DebugKernel(Board& board, uint8_t chipId, FlashWriter flashWriter,
                         const KernelFaults& faults)
    : m_chip(std::make_unique<Chip>(board, chipId, std::move(flashWriter), faults)) {}

DebugKernel::~DebugKernel() = default;

void DebugKernel::Released(const std::map<uint32_t, uint8_t>& flash) { m_chip->Released(flash); }
void DebugKernel::Held() { m_chip->Held(); }
void DebugKernel::Take(BYTE byte, const LineSettings& host) { m_chip->Take(byte, host); }
bool DebugKernel::Up() const { return m_chip->Up(); }
bool DebugKernel::ProgramRunning() const { return m_chip->ProgramRunning(); }
const std::vector<uint8_t>& DebugKernel::Code() const { return m_chip->Code(); }
const std::vector<uint8_t>& DebugKernel::ExternalData() const { return m_chip->ExternalData(); }
const std::vector<uint8_t>& DebugKernel::InternalRam() const { return m_chip->InternalRam(); }
uint32_t DebugKernel::Baud() const { return m_chip->Baud(); }

}  // namespace boards

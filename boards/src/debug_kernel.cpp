// The debug kernel on the board: the chip that runs the user's program on the simulator's engine,
// the kernel's start-up from its image, its commands, its reports and its misbehaviours.
#include "boards/debug_kernel.h"

#include <cstdio>

#include <algorithm>

#include "boards/board_chip.h"
#include "ostrel/register_file.h"
#include "ostrel/sfr.h"
#include "w32/errors.h"

namespace boards {
namespace {

namespace sfr = ostrel::sfr;

// How long the kernel takes to act on a command before its answer leaves.
constexpr uint64_t kAnswerMicros = 60;
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

class DebugKernel::Firmware {
public:
    Firmware(Board& board, uint8_t chipId, FlashWriter flashWriter, const KernelFaults& faults)
        : m_board(board),
          m_chipId(chipId),
          m_flashWriter(std::move(flashWriter)),
          m_faults(faults),
          m_chip(board) {
        m_chip.SetStop(kernelimage::kBreakEntry, true);
        m_chip.SetStop(kernelimage::kStart, true);
    }

    void Released(const std::map<uint32_t, uint8_t>& flash);
    void Held();
    void Take(BYTE byte, const LineSettings& host);

    bool Up() const { return m_up; }
    bool ProgramRunning() const { return m_chip.Running(); }
    const BoardChip& Processor() const { return m_chip; }
    uint32_t Baud() const { return m_baud; }

private:
    // --- the kernel ---
    bool StartUp();
    size_t CommandLength() const;
    void Execute();
    void TakeCodeByte(BYTE byte);
    void LoadContext(const BYTE* context, bool withInterruptMask);
    std::vector<BYTE> ContextReply();
    // One instruction as the kernel's step interrupt runs it: the program's interrupts held off.
    uint64_t StepOne() { return m_chip.Step(kAnswerMicros, false); }
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
    void ProgramStopped(BoardChip::RunEnd end, uint64_t at);
    void Vanish();

    boards::Board& m_board;
    const uint8_t m_chipId;
    FlashWriter m_flashWriter;
    KernelFaults m_faults;
    BoardChip m_chip;

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
};

void DebugKernel::Firmware::Released(const std::map<uint32_t, uint8_t>& flash) {
    m_up = false;
    m_command.clear();
    m_codeLeft = 0;
    m_lastCommand = 0;
    m_commands = 0;
    if (m_gone) {
        return;
    }
    m_chip.LoadFlash(flash);
    m_chip.Reset();
    if (StartUp()) {
        char note[64];
        std::snprintf(note, sizeof note, "kernel: up at %u baud, V1.%02u", m_baud, m_version);
        Note(note);
    }
}

bool DebugKernel::Firmware::StartUp() {
    const bool inLoop = m_chip.RunTo(kernelimage::kLoop, kStartUpSteps);
    const uint8_t* signature = &m_chip.Code()[kernelimage::kSignature];
    if (!inLoop || signature[0] != 'D' || signature[1] != 'K' || signature[2] != m_chipId) {
        return false;
    }
    m_version = signature[3];
    // The line's rate is what the start-up code set.
    m_baud = m_chip.LineBaud();
    m_up = m_baud != 0;
    return m_up;
}

void DebugKernel::Firmware::Held() {
    m_chip.Halt();
    m_up = false;
    m_command.clear();
    m_codeLeft = 0;
}

void DebugKernel::Firmware::Take(BYTE byte, const LineSettings& host) {
    if (!m_up || m_gone) {
        return;
    }
    const bool atRate = host.baud == m_baud && host.dataBits == 8 && host.parity == NOPARITY &&
                        host.stopBits == ONESTOPBIT;
    if (m_chip.Running()) {
        if (atRate) {
            m_chip.Receive(byte);
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

size_t DebugKernel::Firmware::CommandLength() const {
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

void DebugKernel::Firmware::Execute() {
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
                m_chip.ExternalData()[(address + i) & 0xFFFF] = c[4 + i];
            }
            Acknowledge();
            return;
        case 0xD4: {
            std::vector<BYTE> bytes(Count(c[1]));
            for (size_t i = 0; i < bytes.size(); ++i) {
                bytes[i] = m_chip.ExternalData()[(address + i) & 0xFFFF];
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
                bytes[i] = m_chip.Code()[(address + i) & 0xFFFF];
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
                m_chip.InternalRam()[(c[2] + i) & 0xFF] = c[3 + i];
            }
            Acknowledge();
            return;
        case 0xF4: {
            std::vector<BYTE> bytes(Count(c[1]));
            for (size_t i = 0; i < bytes.size(); ++i) {
                bytes[i] = m_chip.InternalRam()[(c[2] + i) & 0xFF];
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

void DebugKernel::Firmware::TakeCodeByte(BYTE byte) {
    if (m_codeRefused) {
        // The flash would not take it: a wrong echo, and the kernel waits for a command again.
        Answer({static_cast<BYTE>(~byte)});
        m_codeLeft = 0;
        return;
    }
    m_chip.Code()[m_codeAddress & 0xFFFF] = byte;
    m_flashWriter(m_codeAddress & 0xFFFF, byte);
    ++m_codeAddress;
    --m_codeLeft;
    Answer({byte});
}

void DebugKernel::Firmware::LoadContext(const BYTE* context, bool withInterruptMask) {
    ostrel::CRegisterFile& r = m_chip.Registers();
    std::copy(context, context + 32, m_chip.InternalRam().begin());
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

std::vector<BYTE> DebugKernel::Firmware::ContextReply() {
    ostrel::CRegisterFile& r = m_chip.Registers();
    const uint16_t dptr = r.Dptr();
    std::vector<BYTE> reply = {
        r.Psw(), r.B(), r.Acc(), static_cast<BYTE>(dptr >> 8), static_cast<BYTE>(dptr), r.Sp()};
    reply.insert(reply.end(), m_chip.InternalRam().begin(), m_chip.InternalRam().begin() + 32);
    return reply;
}

bool DebugKernel::Firmware::Spoils(KernelFaults::Fault fault, uint32_t* occasions) {
    if (!Is(fault)) {
        return false;
    }
    ++*occasions;
    return m_faults.at == 0 || *occasions == m_faults.at;
}

void DebugKernel::Firmware::SendShortReport(uint64_t delay) {
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

void DebugKernel::Firmware::SendBreakReport(uint64_t at) {
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
    report.insert(report.end(), m_chip.InternalRam().begin(), m_chip.InternalRam().begin() + 32);
    report.insert(report.end(), {0x5B, 0x4C, 0xB5, trailer ? BYTE{0x3C} : BYTE{0xC4}});
    if (truncate) {
        report.pop_back();
    }
    m_board.SendAt(at, report);
}

void DebugKernel::Firmware::Acknowledge() {
    if (Spoils(KernelFaults::Fault::NoAck, &m_acks)) {
        return;
    }
    Answer({kAck});
}

void DebugKernel::Firmware::RunProgram() {
    const uint64_t limit =
        m_faults.vanishAfterMs != 0 ? uint64_t{m_faults.vanishAfterMs} * 1000 : 0;
    m_chip.Run(kAnswerMicros, limit,
               [this](BoardChip::RunEnd end, uint64_t at) { ProgramStopped(end, at); });
}

void DebugKernel::Firmware::ProgramStopped(BoardChip::RunEnd end, uint64_t at) {
    ostrel::CRegisterFile& r = m_chip.Registers();
    char note[64];
    if (end == BoardChip::RunEnd::TimeUp) {
        Vanish();
    } else if (end == BoardChip::RunEnd::Failed) {
        // The program crashed the chip: nothing answers until it is reset.
        std::snprintf(note, sizeof note, "kernel: the program stopped the chip at %04X", r.Pc());
        m_board.Log().Add(at, note);
        m_up = false;
    } else if (r.Pc() == kernelimage::kBreakEntry) {
        // The breakpoint's LCALL pushed its return address; the handler takes it back off.
        const uint8_t high = r.PopByte();
        const uint8_t low = r.PopByte();
        r.SetPc(static_cast<uint16_t>(high << 8 | low));
        std::snprintf(note, sizeof note, "kernel: break at %04X",
                      static_cast<unsigned>(r.Pc() - 3) & 0xFFFF);
        m_board.Log().Add(at, note);
        SendBreakReport(at + kAnswerMicros);
    } else {
        // The program jumped to the kernel's start: the kernel starts over and waits.
        m_board.Log().Add(at, "kernel: restarted by the program");
        StartUp();
    }
}

void DebugKernel::Firmware::Vanish() {
    m_gone = true;
    m_up = false;
    m_chip.SetMuted(true);
    Note("kernel: the board is gone");
    for (CallKind kind : {CallKind::Open, CallKind::Write, CallKind::Read, CallKind::Purge,
                          CallKind::Lines, CallKind::Settings}) {
        m_board.FailNext(kind, 0xFFFFFFFF, ERROR_GEN_FAILURE);
    }
}

DebugKernel::DebugKernel(Board& board, uint8_t chipId, FlashWriter flashWriter,
                         const KernelFaults& faults)
    : m_firmware(std::make_unique<Firmware>(board, chipId, std::move(flashWriter), faults)) {}

DebugKernel::~DebugKernel() = default;

void DebugKernel::Released(const std::map<uint32_t, uint8_t>& flash) {
    m_firmware->Released(flash);
}
void DebugKernel::Held() { m_firmware->Held(); }
void DebugKernel::Take(BYTE byte, const LineSettings& host) { m_firmware->Take(byte, host); }
bool DebugKernel::Up() const { return m_firmware->Up(); }
bool DebugKernel::ProgramRunning() const { return m_firmware->ProgramRunning(); }
const std::vector<uint8_t>& DebugKernel::Code() const { return m_firmware->Processor().Code(); }
const std::vector<uint8_t>& DebugKernel::ExternalData() const {
    return m_firmware->Processor().ExternalData();
}
const std::vector<uint8_t>& DebugKernel::InternalRam() const {
    return m_firmware->Processor().InternalRam();
}
uint32_t DebugKernel::Baud() const { return m_firmware->Baud(); }

}  // namespace boards

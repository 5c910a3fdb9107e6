// The ROM monitor's dialogue on the port handle: echoed commands, the prompt, the register dump,
// register changes, internal-RAM alteration, breakpoints and the board's reset.
#include "pelmor/monitor_link.h"

#include <cstdio>
#include <cstring>

#include "w32/clock.h"
#include "w32/serial.h"

namespace {

constexpr BYTE kPrompt = '*';
constexpr DWORD kChangeTail8 = 4;
constexpr DWORD kChangeTail16 = 3;
constexpr DWORD kAlterReply = 10;
constexpr DWORD kAlterTail = 3;
constexpr DWORD kBreakpointRead = 32;
constexpr int kBreakpointReads = 3;
constexpr DWORD kResetPulseMs = 20;
constexpr DWORD kResetWaitMs = 500;
// A breakpoint covers the three bytes of the instruction the monitor plants there.
constexpr uint32_t kBreakpointSpan = 3;
constexpr int kDumpFields = 14;

}  // namespace

CMonitorLink::CMonitorLink(LinkMessageSink& sink) : CBoardLink(sink) {}

void CMonitorLink::ReceiveText(const uint8_t* data, uint32_t count) {
    if (count != 0) {
        Sink().TerminalOutput(data, count);
    }
}

bool CMonitorLink::WriteRaw(const BYTE* data, DWORD count) {
    DWORD written = 0;
    return w32::WriteFile(m_port, data, count, &written, nullptr) && written == count;
}

bool CMonitorLink::ReadRaw(BYTE* data, DWORD count) {
    DWORD read = 0;
    const bool ok = w32::ReadFile(m_port, data, count, &read, nullptr) != FALSE;
    ReceiveText(data, read);
    return ok && read == count;
}

bool CMonitorLink::Echo(DWORD count) {
    BYTE bytes[kAlterReply];
    return count <= sizeof bytes && ReadRaw(bytes, count);
}

bool CMonitorLink::Execute(BYTE code) {
    if (code == kMonitorStep) {
        if (!WriteChar('S')) {
            return false;
        }
    } else if (code == kMonitorGo) {
        if (!WriteChar('G') || !Echo(2) || !WriteChar(' ')) {
            return false;
        }
    } else {
        return false;
    }
    const bool run = code == kMonitorGo;
    for (int i = 0; i < kExecuteReadLimit; ++i) {
        if (run && BreakRequested()) {
            return false;
        }
        BYTE byte = 0;
        DWORD read = 0;
        if (!w32::ReadFile(m_port, &byte, 1, &read, nullptr)) {
            return false;
        }
        ReceiveText(&byte, read);
        if (read == 1 && byte == kPrompt) {
            return true;
        }
        // A step is answered at once: a read time-out means no answer is coming.
        if (!run && read == 0) {
            return false;
        }
    }
    // A run without its prompt may still be going: a register dump sent now would reach the
    // program as its serial input.
    return !run;
}

bool CMonitorLink::ReadRegisters() {
    if (!WriteChar('R')) {
        return false;
    }
    char line[kDumpReadSize + 1];
    DWORD read = 0;
    if (!w32::ReadFile(m_port, line, kDumpReadSize, &read, nullptr) || read == 0) {
        return false;
    }
    ReceiveText(reinterpret_cast<const uint8_t*>(line), read);
    line[read] = '\0';
    unsigned pc = 0, sp = 0, acc = 0, b = 0, psw = 0, dptr = 0;
    unsigned r[8] = {};
    const int fields = std::sscanf(
        line,
        "R PC=%04X SP=%02X A=%02X B=%02X PSW=%02X DPTR=%04X R0=%02X R1=%02X R2=%02X R3=%02X "
        "R4=%02X R5=%02X R6=%02X R7=%02X*",
        &pc, &sp, &acc, &b, &psw, &dptr, &r[0], &r[1], &r[2], &r[3], &r[4], &r[5], &r[6], &r[7]);
    if (fields < kDumpFields) {
        return false;
    }
    m_context.sp = static_cast<BYTE>(sp);
    m_context.b = static_cast<BYTE>(b);
    m_context.psw = static_cast<BYTE>(psw);
    m_context.acc = static_cast<BYTE>(acc);
    m_context.dpl = static_cast<BYTE>(dptr);
    m_context.dph = static_cast<BYTE>(dptr >> 8);
    m_context.SetPc(static_cast<uint16_t>(pc));
    for (int n = 0; n < 8; ++n) {
        m_context.internalRam[n] = static_cast<BYTE>(r[n]);
    }
    if (m_context.Pc() < kUserCodeStart) {
        Message(1,
                "Error: Program Counter (PC) is %04X. Addresses less than 0x1000 are not legal for "
                "use with PELMOR",
                m_context.Pc());
        return false;
    }
    return true;
}

bool CMonitorLink::WriteRegisters() {
    const MonitorContext& c = m_context;
    return ChangeRegister8('A', c.acc) && ChangeRegister8('B', c.b) &&
           ChangeRegister16('D', c.dph, c.dpl) && ChangeRegister8('S', c.sp) &&
           ChangeRegister16('P', c.pcHigh, c.pcLow) && ChangeRegister8('W', c.psw);
}

bool CMonitorLink::ChangeRegister8(char letter, BYTE value) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", value);
    return WriteChar('C') && Echo(2) && WriteChar(letter) && Echo(2) && WriteChar(digits[0]) &&
           Echo(1) && WriteChar(digits[1]) && Echo(kChangeTail8);
}

bool CMonitorLink::ChangeRegister16(char letter, BYTE high, BYTE low) {
    char digits[5];
    std::snprintf(digits, sizeof digits, "%02X%02X", high, low);
    if (!WriteChar('C') || !Echo(2) || !WriteChar(letter) || !Echo(2)) {
        return false;
    }
    for (int i = 0; i < 4; ++i) {
        if (!WriteChar(digits[i]) || !Echo(1)) {
            return false;
        }
    }
    return Echo(kChangeTail16);
}

bool CMonitorLink::AlterInternalRam(DWORD count, BYTE address, const BYTE* data) {
    char text[3];
    std::snprintf(text, sizeof text, "%02X", address);
    if (!WriteChar('A') || !Echo(2) || !WriteRaw(reinterpret_cast<const BYTE*>(text), 2) ||
        !Echo(kAlterReply)) {
        return false;
    }
    for (DWORD i = 0; i < count; ++i) {
        std::snprintf(text, sizeof text, "%02X", data[i]);
        if (!WriteRaw(reinterpret_cast<const BYTE*>(text), 2) || !Echo(kAlterReply)) {
            return false;
        }
    }
    if (!WriteChar('\r') || !Echo(kAlterTail)) {
        return false;
    }
    // The context mirrors the monitor's working registers: the next step copies them back.
    for (DWORD i = 0; i < count; ++i) {
        const DWORD at = address + i;
        if (at < sizeof m_context.internalRam) {
            m_context.internalRam[at] = data[i];
        }
    }
    return true;
}

bool CMonitorLink::SetMonitorBreakpoint(int n, uint16_t address) {
    COMMTIMEOUTS timeouts;
    if (!w32::GetCommTimeouts(m_port, &timeouts)) {
        return false;
    }
    BYTE reply[kBreakpointRead];
    const char digit = static_cast<char>('0' + n);
    if (!WriteChar('B') || !ReadRaw(reply, 2) || reply[0] != 'B' || reply[1] != ' ') {
        return false;
    }
    if (!WriteChar(digit) || !ReadRaw(reply, 2) || reply[0] != static_cast<BYTE>(digit) ||
        reply[1] != ' ') {
        return false;
    }
    char text[5];
    std::snprintf(text, sizeof text, "%04X", address);
    if (!WriteRaw(reinterpret_cast<const BYTE*>(text), 4)) {
        return false;
    }
    for (int i = 0; i < kBreakpointReads; ++i) {
        DWORD read = 0;
        if (!w32::ReadFile(m_port, reply, sizeof reply, &read, nullptr)) {
            return false;
        }
        ReceiveText(reply, read);
        if (read != 0 && reply[read - 1] == kPrompt) {
            return true;
        }
    }
    return false;
}

bool CMonitorLink::Step() { return Execute(kMonitorStep) && ReadRegisters(); }

bool CMonitorLink::Go() {
    // Within a breakpoint's three bytes a run would meet the instruction the monitor planted
    // there: it steps off them first.
    for (int steps = 0; InBreakpoint(m_context.Pc()); ++steps) {
        if (BreakRequested() || steps == kStepOffLimit) {
            return false;
        }
        const uint16_t from = m_context.Pc();
        if (!Step()) {
            return false;
        }
        // A step that lands on a breakpoint has reached it; one that jumps to itself never leaves
        // the breakpoint: either way the run ends there.
        if (AtBreakpoint(m_context.Pc()) || m_context.Pc() == from) {
            return true;
        }
    }
    return Execute(kMonitorGo) && ReadRegisters();
}

bool CMonitorLink::AtBreakpoint(uint32_t pc) const {
    for (uint32_t address : m_breakpoints) {
        if (address != 0 && address == pc) {
            return true;
        }
    }
    return false;
}

bool CMonitorLink::InBreakpoint(uint32_t pc) const {
    for (uint32_t address : m_breakpoints) {
        if (address != 0 && address <= pc && pc < address + kBreakpointSpan) {
            return true;
        }
    }
    return false;
}

bool CMonitorLink::SetBreakpoint(int index, uint32_t address) {
    if (index < 1 || index > kMonitorBreakpoints ||
        !SetMonitorBreakpoint(index - 1, static_cast<uint16_t>(address))) {
        return false;
    }
    m_breakpoints[index - 1] = address;
    return true;
}

bool CMonitorLink::ClearBreakpoint(int index) { return SetBreakpoint(index, 0); }

bool CMonitorLink::Reset() {
    // The monitor restarts when RTS falls; RTS is already low after a download, so it is raised
    // first. The restart also regains a program that a run left going.
    if (!w32::EscapeCommFunction(m_port, SETRTS)) {
        return false;
    }
    w32::Sleep(kResetPulseMs);
    if (!w32::EscapeCommFunction(m_port, CLRRTS)) {
        return false;
    }
    w32::Sleep(kResetWaitMs);
    if (!w32::PurgeComm(m_port, PURGE_RXABORT | PURGE_RXCLEAR)) {
        return false;
    }
    if (!WriteRegisters()) {
        return false;
    }
    for (int n = 0; n < kMonitorBreakpoints; ++n) {
        SetMonitorBreakpoint(n, 0);
        m_breakpoints[n] = 0;
    }
    return true;
}

bool CMonitorLink::WriteMemory(int space, uint32_t address, const BYTE* data, DWORD count,
                               DWORD* written) {
    if (written != nullptr) {
        *written = 0;
    }
    if (space == 2) {
        if (address > 0xFF || !AlterInternalRam(count, static_cast<BYTE>(address), data)) {
            return false;
        }
        if (written != nullptr) {
            *written = count;
        }
        return true;
    }
    if (space != 0 || count != 1) {
        return false;
    }
    const BYTE value = data[0];
    MonitorContext& c = m_context;
    bool changed = false;
    BYTE* held = nullptr;  // the context's copy of the register written
    switch (address) {
        case 0x81:
            changed = ChangeRegister8('S', value);
            held = &c.sp;
            break;
        case 0x82:
            changed = ChangeRegister16('D', c.dph, value);
            held = &c.dpl;
            break;
        case 0x83:
            changed = ChangeRegister16('D', value, c.dpl);
            held = &c.dph;
            break;
        case 0xD0:
            changed = ChangeRegister8('W', value);
            held = &c.psw;
            break;
        case 0xE0:
            changed = ChangeRegister8('A', value);
            held = &c.acc;
            break;
        case 0xF0:
            changed = ChangeRegister8('B', value);
            held = &c.b;
            break;
        default:
            return false;
    }
    if (!changed) {
        return false;
    }
    *held = value;
    if (written != nullptr) {
        *written = 1;
    }
    return true;
}

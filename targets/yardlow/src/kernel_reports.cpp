// The debug kernel's wire: raw reads and writes on the port handle, the board's run and program
// modes, and the three stop reports with the user program's own output in front of them.
#include <cstring>

#include "boardloader/kernel_link.h"
#include "w32/clock.h"
#include "w32/serial.h"

namespace {

constexpr BYTE kReportStart = 'Z';
// The break report's header after its 'Z', and its trailer.
constexpr BYTE kBreakHeader[4] = {'Z', 'M', 0xA5, 0xD4};
constexpr BYTE kBreakTrailer[4] = {0x5B, 0x4C, 0xB5, 0xC4};
constexpr DWORD kModeSettleMs = 20;

}  // namespace

bool CKernelLink::WriteRaw(const BYTE* data, DWORD count) {
    DWORD written = 0;
    return w32::WriteFile(m_port, data, count, &written, nullptr) && written == count;
}

bool CKernelLink::ReadRaw(BYTE* data, DWORD count) {
    DWORD read = 0;
    return w32::ReadFile(m_port, data, count, &read, nullptr) && read == count;
}

bool CKernelLink::EnterRunMode() {
    w32::Sleep(kModeSettleMs);
    const bool cleared = w32::EscapeCommFunction(m_port, CLRRTS) != FALSE;
    w32::Sleep(kModeSettleMs);
    return cleared;
}

bool CKernelLink::EnterProgramMode() {
    const bool set = w32::EscapeCommFunction(m_port, SETRTS) != FALSE;
    w32::Sleep(kModeSettleMs);
    return set;
}

bool CKernelLink::SendContext(BYTE command) {
    BYTE message[1 + sizeof(KernelContext)];
    message[0] = command;
    std::memcpy(message + 1, &m_context, sizeof(KernelContext));
    return WriteRaw(message, sizeof message);
}

void CKernelLink::AlignReport(BYTE* buffer, DWORD* have, bool breakHeader) {
    for (;;) {
        DWORD start = 0;
        while (start < *have && buffer[start] != kReportStart) {
            ++start;
        }
        ReceiveText(buffer, start);
        *have -= start;
        std::memmove(buffer, buffer + start, *have);
        if (!breakHeader || *have < 2) {
            return;
        }
        // A 'Z' that the break header does not follow is the program's own: it goes to the
        // terminal with what follows it up to the next 'Z', which may start the report.
        bool header = true;
        for (DWORD i = 1; i < *have && i < 4; ++i) {
            header = header && buffer[i] == kBreakHeader[i];
        }
        if (header) {
            return;
        }
        ReceiveText(buffer, 1);
        *have -= 1;
        std::memmove(buffer, buffer + 1, *have);
    }
}

void CKernelLink::TakeReport(Report kind, const BYTE* r) {
    KernelContext& c = m_context;
    switch (kind) {
        case Report::Break:
            c.psw = r[4];
            c.b = r[5];
            c.acc = r[6];
            c.dph = r[7];
            c.dpl = r[8];
            c.ie = r[9];
            c.pcHigh = r[10];
            c.pcLow = r[11];
            c.sp = r[12];
            std::memcpy(c.ram, r + 13, sizeof c.ram);
            break;
        case Report::Step:
            c.pcHigh = r[2];
            c.pcLow = r[3];
            c.psw = r[4];
            c.b = r[5];
            c.acc = r[6];
            c.dph = r[7];
            c.dpl = r[8];
            c.sp = r[9];
            std::memcpy(c.ram, r + 10, sizeof c.ram);
            break;
        case Report::Short:
            // The kernel reports SP inside its step interrupt: two above the program's.
            c.sp = static_cast<BYTE>(r[1] - 2);
            c.pcHigh = r[2];
            c.pcLow = r[3];
            break;
    }
    if (kind != Report::Short && c.Pc() < kKernelAreaEnd) {
        Message(1,
                "WARNING: Invalid program counter, PC=0x%X. Program counter should not be inside "
                "the kernel debugger memory area.",
                c.Pc());
    }
}

bool CKernelLink::WaitReport(Report kind) {
    const bool isBreak = kind == Report::Break;
    const DWORD size = isBreak                ? kBreakReportSize
                       : kind == Report::Step ? kStepReportSize
                                              : kShortReportSize;
    BYTE buffer[kBreakReportSize];
    DWORD have = 0;
    bool contextAsked = false;
    m_abort.store(0);
    m_waiting.store(1);
    bool taken = false;
    for (;;) {
        if (m_abort.exchange(0) != 0) {
            break;
        }
        DWORD got = 0;
        if (!w32::ReadFile(m_port, buffer + have, size - have, &got, nullptr)) {
            break;
        }
        if (got == 0) {
            // A wait that was stopped is not a board that does not reply.
            if (m_abort.exchange(0) == 0 && isBreak) {
                Message(1, "ERROR: Board does not reply");
                Message(1, "NOTE: Please check breakpoints");
            }
            break;
        }
        have += got;
        AlignReport(buffer, &have, isBreak);
        if (kind == Report::Step && have >= kShortReportSize && !contextAsked) {
            // The first four bytes are the short report; the registers follow on request.
            const BYTE request = KCMD_READ_CONTEXT;
            contextAsked = true;
            if (!WriteRaw(&request, 1)) {
                break;
            }
        }
        if (have < size) {
            continue;
        }
        if (isBreak && std::memcmp(buffer + size - 4, kBreakTrailer, 4) != 0) {
            Message(1, "ERROR: Board does not reply");
            Message(1, "NOTE: Please check breakpoints");
            break;
        }
        TakeReport(kind, buffer);
        taken = true;
        break;
    }
    m_waiting.store(0);
    return taken;
}

bool CKernelLink::ExecuteStep(bool fast) {
    const BYTE ie = m_context.ie;
    m_context.ie = kStepInterruptMask;
    bool done = SendContext(KCMD_STEP) && WaitReport(fast ? Report::Short : Report::Step);
    m_context.ie = ie;
    return done;
}

bool CKernelLink::Step() { return ExecuteStep(false); }

bool CKernelLink::FastStep() { return ExecuteStep(true); }

bool CKernelLink::StepFromPc() {
    const BYTE command[4] = {KCMD_STEP_FROM_PC, m_context.pcLow, m_context.pcHigh,
                             kStepInterruptMask};
    return WriteRaw(command, sizeof command) && WaitReport(Report::Short);
}

bool CKernelLink::ReadContext() {
    const BYTE command = KCMD_READ_CONTEXT;
    BYTE reply[kContextReplySize];
    if (!WriteRaw(&command, 1) || !ReadRaw(reply, sizeof reply)) {
        return false;
    }
    m_context.psw = reply[0];
    m_context.b = reply[1];
    m_context.acc = reply[2];
    m_context.dph = reply[3];
    m_context.dpl = reply[4];
    m_context.sp = reply[5];
    std::memcpy(m_context.ram, reply + 6, sizeof m_context.ram);
    return true;
}

bool CKernelLink::Go() {
    // The instruction under a breakpoint runs before the breakpoints go in.
    while (!IsPcClearOfBreakpoints()) {
        if (!Step()) {
            return false;
        }
    }
    if (!InsertBreakpoints() || !SendContext(KCMD_GO) || !WaitReport(Report::Break)) {
        return false;
    }
    // The report's PC is the return address of the breakpoint's LCALL.
    m_context.SetPc(static_cast<uint16_t>(m_context.Pc() - sizeof kBreakpointCall));
    return true;
}

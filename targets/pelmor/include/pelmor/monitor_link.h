// CMonitorLink: the ROM-monitor debugger's link to a board whose resident monitor takes echoed
// one-letter commands and answers with the prompt '*': steps, runs to its four breakpoints, the
// register dump and changes, internal-RAM alteration, and the download of a HEX file through the
// monitor's load command.
#pragma once

#include <atomic>
#include <cstdint>

#include "boardlink/board_link.h"
#include "comms/comms.h"

// Command codes Execute takes (the debug kernel's codes for a step and a run).
enum MonitorExecuteCode : BYTE {
    kMonitorStep = 0xE8,
    kMonitorGo = 0xFC,
};

// The registers as the monitor last reported them (and as the host will write them back).
struct MonitorContext {
    BYTE internalRam[32];
    BYTE sp;
    BYTE pcLow;
    BYTE pcHigh;
    BYTE acc;
    BYTE b;
    BYTE dpl;
    BYTE dph;
    BYTE psw;

    uint16_t Pc() const { return static_cast<uint16_t>(pcHigh << 8 | pcLow); }
    void SetPc(uint16_t pc) {
        pcLow = static_cast<BYTE>(pc);
        pcHigh = static_cast<BYTE>(pc >> 8);
    }
};

// Four monitor breakpoints, 0 to 3; the host's breakpoint indices are 1 to 4.
constexpr int kMonitorBreakpoints = 4;
// The monitor runs user code from here up; a lower PC in a dump is an error.
constexpr uint16_t kUserCodeStart = 0x1000;
// The register dump line's largest read, and its buffer (with room for a terminator).
constexpr DWORD kDumpReadSize = 94;
// Reads an Execute makes without a prompt: a step's answer is then taken as done, a run that
// reached no breakpoint as failed.
constexpr int kExecuteReadLimit = 1024;
// Steps a run makes to leave the three bytes of a breakpoint before it gives up (leaving them
// normally takes at most three).
constexpr int kStepOffLimit = 1024;
// Purges the end of a download tries before it gives up.
constexpr int kFinalPurgeTries = 10;

// Every exchange reads and writes the port's handle, which the owning target refreshes before
// each one; every byte read reaches ReceiveText (echoes included). Results: true for success.
class CMonitorLink : public CBoardLink {
public:
    explicit CMonitorLink(LinkMessageSink& sink);

    // What the board sent goes to the host's terminal.
    void ReceiveText(const uint8_t* data, uint32_t count) override;

    void SetPortHandle(HANDLE port) { m_port = port; }
    // The owner's break flag, raised from any thread to end a run; none: runs are not broken.
    void SetBreakFlag(const std::atomic<uint8_t>* flag) { m_breakFlag = flag; }
    MonitorContext& Context() { return m_context; }
    const MonitorContext& Context() const { return m_context; }
    uint32_t BreakpointAddress(int n) const { return m_breakpoints[n]; }

    bool WriteRaw(const BYTE* data, DWORD count);
    // One read of `count` bytes; what came goes to ReceiveText; true when all came.
    bool ReadRaw(BYTE* data, DWORD count);
    // kMonitorStep or kMonitorGo, then the bytes up to the prompt. A step fails at the first read
    // that brings nothing and is taken as done after kExecuteReadLimit bytes; a run fails when the
    // break flag is raised or kExecuteReadLimit reads pass without the prompt. After a failure
    // the board may still be running the program: nothing more is sent to it.
    bool Execute(BYTE code);
    // The register dump into the context; false for a short or unreadable line, or a PC below
    // kUserCodeStart (after its message; the values stay stored).
    bool ReadRegisters();
    // ACC, B, DPTR, SP, PC and PSW from the context, in that order.
    bool WriteRegisters();
    bool ChangeRegister8(char letter, BYTE value);
    bool ChangeRegister16(char letter, BYTE high, BYTE low);
    // Also keeps the context's copy of internal RAM 0x00 to 0x1F in step with what was written.
    bool AlterInternalRam(DWORD count, BYTE address, const BYTE* data);
    bool SetMonitorBreakpoint(int n, uint16_t address);
    bool Step();
    // Steps while the PC lies within three bytes of a breakpoint (ending at a breakpoint a step
    // lands on, or where a step left the PC as it was), then runs to the next one and reads the
    // registers. Fails on the break flag, or after kStepOffLimit steps still within the bytes.
    bool Go();
    // Whether `pc` lies within the three bytes of a set breakpoint.
    bool InBreakpoint(uint32_t pc) const;
    // Host indices 1 to 4.
    bool SetBreakpoint(int index, uint32_t address);
    bool ClearBreakpoint(int index);
    // Restarts the monitor with a pulse of RTS (a program it runs included), writes the
    // context's registers and clears the four breakpoints.
    bool Reset();
    // Space 0 (ACC, B, SP, DPL, DPH, PSW, one byte) through the change command, space 2 through
    // the alteration; the context follows. Other spaces and SFRs fail.
    bool WriteMemory(int space, uint32_t address, const BYTE* data, DWORD count, DWORD* written);
    // Sends the file at `path` through the load command: 0, or the code of the step that failed
    // (its message printed).
    int DownloadFile(CComms& comms, const char* path);

private:
    bool Echo(DWORD count);
    bool WriteChar(char c) {
        const BYTE byte = static_cast<BYTE>(c);
        return WriteRaw(&byte, 1);
    }
    void FinalPurge(CComms& comms);
    bool BreakRequested() const { return m_breakFlag != nullptr && m_breakFlag->load() != 0; }
    bool AtBreakpoint(uint32_t pc) const;

    HANDLE m_port = INVALID_HANDLE_VALUE;
    MonitorContext m_context = {};
    uint32_t m_breakpoints[kMonitorBreakpoints] = {};
    const std::atomic<uint8_t>* m_breakFlag = nullptr;
};

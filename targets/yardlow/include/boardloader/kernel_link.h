// CKernelLink: the board debugger's link to the debug board. It finds the board's arrangement and
// its boot loader's baud rate, writes kernel and program into it and releases it into run mode
// (through a CComms); then it speaks the debug kernel's protocol on the open port's handle:
// register blocks, steps, runs to breakpoints planted as LCALL 0x002E, memory and SFR access.
#pragma once

#include <atomic>
#include <cstdint>

#include "boardlink/board_link.h"
#include "boardloader/board_loader.h"
#include "comms/comms.h"

// Command bytes of the debug kernel (host to board), with what follows them and the answer.
enum KernelCommand : BYTE {
    KCMD_READ_CONTEXT = 0x02,  // -> ContextReply (38 bytes)
    KCMD_STEP_FROM_PC = 0x03,  // pcLo pcHi ie -> ShortStopReport
    KCMD_WRITE_XDATA = 0xD0,   // count lo hi data... -> 0xA5
    KCMD_READ_XDATA = 0xD4,    // count lo hi -> count bytes
    KCMD_WRITE_CODE = 0xDC,    // count lo hi, then each byte -> its echo
    KCMD_VERSION = 0xE4,       // -> the kernel's minor version
    KCMD_STEP = 0xE8,          // KernelContext -> 4 bytes, then (on 0x02) the ContextReply
    KCMD_READ_CODE = 0xEC,     // count lo hi -> count bytes
    KCMD_WRITE_IRAM = 0xF0,    // count start data... -> 0xA5
    KCMD_READ_IRAM = 0xF4,     // count start -> count bytes
    KCMD_GO = 0xFC,            // KernelContext -> BreakStopReport at a breakpoint
};

// SFR selectors of the kernel: reading sends the code and gets one byte back; writing sends the
// code + 4 and the value, and gets nothing back.
enum KernelSfrCode : BYTE {
    KSFR_P0 = 0x00,
    KSFR_P1 = 0x08,
    KSFR_P2 = 0x10,
    KSFR_P3 = 0x18,
    KSFR_TCON = 0x20,
    KSFR_TMOD = 0x28,
    KSFR_TL0 = 0x30,
    KSFR_TL1 = 0x38,
    KSFR_TH0 = 0x40,
    KSFR_TH1 = 0x48,
    KSFR_SP = 0x50,  // SP, DPL, DPH, IE, PSW and B are the register block's: never sent
    KSFR_DPL = 0x58,
    KSFR_DPH = 0x60,
    KSFR_PCON = 0x68,
    KSFR_SCON = 0x70,
    KSFR_IE = 0x78,
    KSFR_IP = 0x80,
    KSFR_PSW = 0x88,
    KSFR_B = 0x90,
};

// The kernel's acknowledgement of a write.
constexpr BYTE kKernelAck = 0xA5;
// The kernel lives below this address; the user's program starts at or above it.
constexpr uint32_t kKernelAreaEnd = 0x0800;
// A breakpoint: LCALL to the kernel's handler, written over three program bytes.
constexpr BYTE kBreakpointCall[3] = {0x12, 0x00, 0x2E};
constexpr int kKernelSlots = 10;
// Counts are one byte on the wire: longer transfers go in several exchanges.
constexpr unsigned kKernelMaxExchange = 255;
// Program memory and external data as far as the kernel's read commands reach.
constexpr unsigned kKernelReadEnd = 0x3000;
// The interrupt mask sent with every step (the kernel's own step interrupt).
constexpr BYTE kStepInterruptMask = 0xA0;

// Sizes of the kernel's reports.
constexpr unsigned kBreakReportSize = 49;
constexpr unsigned kStepReportSize = 42;
constexpr unsigned kShortReportSize = 4;
constexpr unsigned kContextReplySize = 38;

// The register block exchanged with the kernel, in wire order (41 bytes).
struct KernelContext {
    BYTE ram[32];  // internal RAM 0x00-0x1F: the four register banks
    BYTE sp;
    BYTE dpl;
    BYTE dph;
    BYTE psw;
    BYTE acc;
    BYTE b;
    BYTE pcLow;
    BYTE pcHigh;
    BYTE ie;

    uint16_t Pc() const { return static_cast<uint16_t>(pcHigh << 8 | pcLow); }
    void SetPc(uint16_t pc) {
        pcLow = static_cast<BYTE>(pc);
        pcHigh = static_cast<BYTE>(pc >> 8);
    }
};
static_assert(sizeof(KernelContext) == 41, "the register block is 41 bytes on the wire");

// One breakpoint of a run: its address and the program bytes it covers. A slot is planted once
// its bytes were read from the board (the program there may then have changed); only a planted
// slot is restored, and a slot is freed only once its bytes are back.
struct KernelBreakpointSlot {
    uint32_t address = 0;
    BYTE saved[3] = {};
    bool inUse = false;
    bool planted = false;
};

// Why the last board-PIC exchange failed (kind-3 program memory).
enum PicError : BYTE {
    PIC_OK = 0,
    PIC_ERR_SUM = 2,
    PIC_ERR_COMMAND = 3,
    PIC_ERR_WRITE_STATUS = 4,
    PIC_ERR_TYPE_STATUS = 5,
    PIC_ERR_SHORT_REPLY = 6,
    PIC_ERR_READ_STATUS = 7,
};

class CKernelLink : public CBoardLink {
public:
    explicit CKernelLink(LinkMessageSink& sink);

    // --- the board loader: on the target's CComms ---

    // Finds the board's kind and baud rate, trying the direct boot loader, then the PIC at the
    // port's rate and at 9600, then each baud rate of the boot loader behind the PIC. 0 leaves
    // the port open at the rate found with RTS set (program mode); otherwise LDR_ERR_PROGRAM_MODE,
    // LDR_ERR_DOWNLOAD, LDR_ERR_PURGE or the code of the step that failed, with the port in
    // whatever state that step left it.
    int DetectBoard(CComms& comms);
    int GetBoardKind() const { return m_boardKind; }
    void SetBoardKind(int kind) { m_boardKind = kind; }

    // Puts a board of kind 1 or 2 back to 19200 baud and out of its boot loader (kind 2: 'R' to
    // the PIC and an RTS pulse). Kind 3 has no loader mode: 0 at once. LDR_ERR_DOWNLOAD when the
    // port does not reopen.
    int LeaveLoaderMode(CComms& comms);

    // Writes `count` bytes of `bytes` (the image from address `start`) into the board: PIC frames
    // for kind 3, boot-loader records for chunks that differ for kinds 1 and 2, then boot vector
    // and status byte, then run mode and the kernel's version. 0 leaves the port open with RTS
    // cleared (the kernel runs); 1 for a kernel older than V1.06; any other code closes the port.
    int DownloadImage(CComms& comms, unsigned start, unsigned count, const BYTE* bytes);

    // Whether DownloadImage writes anything (the target's download flag); 1 unless set.
    void SetDownloadFlag(int flag) { m_downloadFlag = flag; }
    int GetDownloadFlag() const { return m_downloadFlag; }

    // --- the kernel protocol: on the port handle, with its per-byte time-outs ---
    // Each operation returns true for success; a failed write or read fails it, with no message
    // unless one is named below.

    // The open port's handle; the target refreshes it before each exchange.
    void SetPortHandle(HANDLE port) { m_port = port; }
    HANDLE GetPortHandle() const { return m_port; }

    // The link's copy of the registers between exchanges.
    KernelContext& Context() { return m_context; }
    const KernelContext& Context() const { return m_context; }

    // Bytes the board sent outside a report go to the sink's terminal.
    void ReceiveText(const uint8_t* data, uint32_t count) override;

    // True only when all `count` bytes were written / came.
    bool WriteRaw(const BYTE* data, DWORD count);
    bool ReadRaw(BYTE* data, DWORD count);
    // Run mode: 20 ms, RTS cleared, 20 ms (the kernel starts, or goes on). Program mode: RTS set,
    // 20 ms (the board holds the chip).
    bool EnterRunMode();
    bool EnterProgramMode();
    // The command byte, then the register block.
    bool SendContext(BYTE command);

    // One instruction with the whole register block, then the step report (4 bytes, the
    // context request 0x02, 38 bytes); the block's IE is the step mask meanwhile.
    bool Step();
    // The same, reading back only PC and SP.
    bool FastStep();
    // One instruction from the given PC on the kernel's own registers: PC and SP back.
    bool StepFromPc();
    // The registers the kernel holds (after fast steps).
    bool ReadContext();
    // Runs to a breakpoint: steps off a breakpoint the PC stands on, plants the breakpoints,
    // starts the program and waits for the break report; the PC is then the breakpoint's
    // address. Waiting ends early when Abort is called. "ERROR: Board does not reply" and
    // "NOTE: Please check breakpoints" when no report comes within one read's time-out.
    bool Go();

    // SFRs by kernel code; the register block's own SFRs are served from the block.
    static bool IsValidSfrCode(BYTE code);
    bool ReadSfr(BYTE code, BYTE* value);
    bool WriteSfr(BYTE code, BYTE value);
    // Internal RAM: `count` (not 0) bytes from `start`, at most up to 0xFF; bytes below 0x20 are
    // the register block's.
    bool ReadIram(unsigned count, unsigned start, BYTE* out);
    bool WriteIram(unsigned count, unsigned start, const BYTE* data);
    // External data and program memory below 0x3000; a long transfer goes in exchanges of at most
    // 255 bytes.
    bool ReadXdata(unsigned count, unsigned address, BYTE* out);
    bool ReadCodeMemory(unsigned count, unsigned address, BYTE* out);
    bool WriteXdata(unsigned count, unsigned address, const BYTE* data);
    // Up to 32 bytes of program memory (`space` 1 only) for breakpoints: through the kernel on
    // kinds 1 and 2, through board-PIC frames on kind 3 (PicError tells why a frame failed).
    bool WriteCode(int space, unsigned address, unsigned count, const BYTE* data);
    bool ReadCode(int space, unsigned address, unsigned count, BYTE* out);
    BYTE GetPicError() const { return m_picError; }

    // Breakpoint slots 0 to 9.
    bool SetSlot(int index, uint32_t address);
    // Frees a slot that holds no planted bytes.
    bool ClearSlot(int index);
    const KernelBreakpointSlot& Slot(int index) const { return m_slots[index]; }
    bool HasUsedSlots() const;
    // Forgets every slot: a new download put the whole program back.
    void ForgetSlots();
    // Plants the used slots in index order (saving the bytes under each), stopping at the first
    // failure; kind 3 in program mode. Always ends in run mode.
    bool InsertBreakpoints();
    // Restores the planted slots and frees every slot whose bytes are back (and the unplanted
    // ones); kind 3 in program mode. Always ends in run mode. False when no slot was in use.
    bool RemoveBreakpoints();
    // False when the context's PC lies within the three bytes of a used slot.
    bool IsPcClearOfBreakpoints() const;

    // Ends a report wait from another thread; IsWaiting tells whether one is in progress.
    void Abort() { m_abort.store(1); }
    bool IsWaiting() const { return m_waiting.load() != 0; }

private:
    enum class Report { Break, Step, Short };

    // --- the board loader's steps ---
    // Closes the port and opens it again on its settings at `baud`; true when it is open.
    bool Reopen(CComms& comms, DWORD baud);
    // The lines that follow a failed RTS change, chosen by the system's error.
    void ReportLineFailure(int code, DWORD systemError);
    // One try of the boot loader at the port's rate: 'U' synchronisation, then the boot vector.
    bool BootLoaderAnswers(CComms& comms);
    // The direct boot loader's baud search (kind 1); true when it found the rate.
    bool SearchDirectLoader(CComms& comms);
    // The PIC at the port's rate and at 9600, then the arrangements behind it (kinds 3 and 2).
    int DetectThroughPic(CComms& comms);
    // The baud search of the boot loader behind the PIC (kind 2).
    int SearchLoaderBehindPic(CComms& comms);
    // LeaveLoaderMode; `warn`: a port that does not reopen is reported (as a download does).
    int LeaveLoader(CComms& comms, bool warn);
    // DownloadImage's steps.
    int WriteChunks(CComms& comms, unsigned start, unsigned count, const BYTE* bytes);
    int CheckBootVector(CComms& comms);
    int StartKernel(CComms& comms);

    // --- the kernel protocol's pieces ---
    bool WaitReport(Report kind);
    // Bytes before the report's first 'Z' (and a 'Z' whose break header does not follow) go to
    // the terminal; `buffer` keeps the report's start.
    void AlignReport(BYTE* buffer, DWORD* have, bool breakHeader);
    void TakeReport(Report kind, const BYTE* report);
    bool ReadChunked(BYTE command, unsigned count, unsigned address, BYTE* out);
    bool ExecuteStep(bool fast);
    // Program memory of a kind-3 board through the PIC.
    bool PicSetType();
    bool PicWrite(unsigned address, unsigned count, const BYTE* data);
    bool PicRead(unsigned address, unsigned count, BYTE* out);
    bool PicBlocks(bool write, unsigned address, unsigned count, BYTE* bytes);
    bool Fail(BYTE picError) {
        m_picError = picError;
        return false;
    }

    HANDLE m_port;
    KernelContext m_context = {};
    BYTE m_picError = PIC_OK;
    KernelBreakpointSlot m_slots[kKernelSlots];
    // Shared with the host's thread that stops a run: set by Abort, seen by the report wait.
    std::atomic<uint8_t> m_abort{0};
    std::atomic<uint8_t> m_waiting{0};
    int m_boardKind = BOARD_KIND_UNKNOWN;
    int m_downloadFlag = 1;
};

// The link to the debug board as far as loading it goes: finding the board's arrangement and its
// boot loader's baud rate, writing kernel and program into it, and releasing it into run mode.
// The debug kernel's own protocol joins these operations on the same object.
#pragma once

#include <cstdarg>

#include "boardloader/board_loader.h"
#include "comms/comms.h"

#if defined(__GNUC__)
#define KERNEL_LINK_PRINTF(f, a) __attribute__((format(printf, f, a)))
#else
#define KERNEL_LINK_PRINTF(f, a)
#endif

// The arrangement of the debug board's microcontroller that DetectBoard found.
enum BoardKind : int {
    BOARD_KIND_UNKNOWN = 0,     // nothing detected yet
    BOARD_KIND_RX2_DIRECT = 1,  // a T89C51Rx2 whose boot loader answers on the line
    BOARD_KIND_RX2_PIC = 2,     // a T89C51Rx2 behind the board PIC, reached after set type 2
    BOARD_KIND_S53_PIC = 3,     // an AT89S53 or AT89S8252 programmed through PIC frames
};

// Where the link's lines go: the owning target's message output.
class LinkMessageSink {
public:
    virtual void OutputMessage(int level, const char* text) = 0;

protected:
    ~LinkMessageSink() = default;
};

// Size of one formatted message line of the link, terminator included.
constexpr int kLinkMessageSize = 1024;

class CKernelLink {
public:
    explicit CKernelLink(LinkMessageSink& sink);
    CKernelLink(const CKernelLink&) = delete;
    CKernelLink& operator=(const CKernelLink&) = delete;

    // Finds the board's kind and baud rate, trying the direct boot loader, then the PIC at the
    // port's rate and at 9600, then each baud rate of the boot loader behind the PIC. 0 leaves
    // the port open at the rate found with RTS set (program mode); otherwise 2120, 2143, 2176 or
    // the code of the step that failed, with the port in whatever state that step left it.
    int DetectBoard(CComms& comms);
    int GetBoardKind() const { return m_boardKind; }

    // Puts a board of kind 1 or 2 back to 19200 baud and out of its boot loader (kind 2: 'R' to
    // the PIC and an RTS pulse). Kind 3 has no loader mode: 0 at once. 2143 when the port does
    // not reopen.
    int LeaveLoaderMode(CComms& comms);

    // Writes `count` bytes of `bytes` (the image from address `start`) into the board: PIC frames
    // for kind 3, boot-loader records for chunks that differ for kinds 1 and 2, then boot vector
    // and status byte, then run mode and the kernel's version. 0 leaves the port open with RTS
    // cleared (the kernel runs); 1 for a kernel older than V1.06; any other code closes the port.
    int DownloadImage(CComms& comms, unsigned start, unsigned count, const BYTE* bytes);

    // Whether DownloadImage writes anything (the target's download flag); 1 unless set.
    void SetDownloadFlag(int flag) { m_downloadFlag = flag; }
    int GetDownloadFlag() const { return m_downloadFlag; }

    // Formats a line and hands it to the sink at `level`.
    void Message(int level, const char* format, ...) KERNEL_LINK_PRINTF(3, 4);

private:
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

    LinkMessageSink& m_sink;
    int m_boardKind = BOARD_KIND_UNKNOWN;
    int m_downloadFlag = 1;
};

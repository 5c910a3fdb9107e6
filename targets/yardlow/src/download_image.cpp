// Writing kernel and program into the debug board, leaving its loader mode, and starting the
// kernel in run mode.
#include <cstring>

#include "boardloader/board_text.h"
#include "boardloader/kernel_link.h"
#include "comms/utilities.h"
#include "w32/errors.h"

using boardloader::SetText;

namespace {

constexpr DWORD kRunRate = 19200;
// A reply the board did not finish: a time-out after part of it, or a reply cut short. The
// download only warns about these.
constexpr int kReplyTimedOut = COMMS_READ_TIMEOUT;
constexpr int kReplyCutShort = 1023;
constexpr BYTE kKernelVersionCommand = 0xE4;
// The oldest kernel minor version the debugger works with (V1.06).
constexpr int kOldestKernel = 6;
constexpr unsigned kImageEnd = 0x10000;

bool IsLoaderKind(int kind) { return kind == BOARD_KIND_RX2_DIRECT || kind == BOARD_KIND_RX2_PIC; }

}  // namespace

int CKernelLink::LeaveLoaderMode(CComms& comms) { return LeaveLoader(comms, false); }

int CKernelLink::LeaveLoader(CComms& comms, bool warn) {
    if (!IsLoaderKind(m_boardKind)) {
        return 0;
    }
    Message(1, "Deactivate loader mode");
    comms.Deinstall();
    if (comms.IsInitialized()) {
        Message(1, "ERROR: Can not deinstall COM port");
    }
    if (!Reopen(comms, kRunRate)) {
        if (warn) {
            Message(1, "WARNING: Can not open %s", comms.CurrPortName());
            Message(1, "Please check COM port under Tools->Options->Loader");
        }
        return LDR_ERR_DOWNLOAD;
    }
    comms.SetRTS();
    SleepMsec(100);
    if (m_boardKind == BOARD_KIND_RX2_PIC) {
        // 'R' to the PIC and an RTS pulse end the pass-through to the chip's boot loader.
        comms.Write(static_cast<BYTE>('R'));
        comms.ResetRTS();
        SleepMsec(100);
        comms.SetRTS();
        SleepMsec(100);
    }
    return 0;
}

int CKernelLink::DownloadImage(CComms& comms, unsigned start, unsigned count, const BYTE* bytes) {
    comms.SetTimeOut(100);
    int result = 0;
    if (m_downloadFlag != 0 && count != 0) {
        result = WriteChunks(comms, start, count, bytes);
    }
    if (result == 0 && IsLoaderKind(m_boardKind)) {
        result = CheckBootVector(comms);
    }
    int left = LeaveLoader(comms, true);
    if (result == 0) {
        result = left;
    }
    Message(1, "Download complete...");
    if (result == 0) {
        result = StartKernel(comms);
    }
    if (result != 0) {
        comms.Deinstall();
    }
    return result;
}

int CKernelLink::WriteChunks(CComms& comms, unsigned start, unsigned count, const BYTE* bytes) {
    // The image ends at 64 KB: a run that would pass it ends at its last byte.
    if (start >= kImageEnd) {
        count = 0;
    } else if (count > kImageEnd - start) {
        count = kImageEnd - start;
    }
    const unsigned chunk = m_boardKind == BOARD_KIND_S53_PIC ? kPicMaxBlock : kIspMaxBlock;
    Message(1, "Downloading '%d' bytes to the board...", static_cast<int>(count));
    char text[kBoardTextSize];
    for (unsigned done = 0; done < count;) {
        unsigned address = start + done;
        int size = static_cast<int>(count - done < chunk ? count - done : chunk);
        const BYTE* data = bytes + done;
        int result = 0;
        if (m_boardKind == BOARD_KIND_S53_PIC) {
            result = writeBlockViaPic(comms, address, size, data, text);
        } else {
            BYTE current[kIspMaxBlock] = {};
            int read = readBlockIsp(comms, address, size, current, text);
            if (read != 0) {
                Message(1, "%s", text);
                result = writeDataIsp(comms, address, size, data, text);
            } else if (std::memcmp(current, data, static_cast<size_t>(size)) != 0) {
                result = writeDataIsp(comms, address, size, data, text);
            } else {
                SetText(text, "Unchanged %d bytes, %04X-%04X", size, address,
                        address + static_cast<unsigned>(size) - 1);
            }
        }
        if (result == kReplyTimedOut || result == kReplyCutShort) {
            // The board took the block; only its reply was not whole.
            Message(1, "Warning, reply from the board is not complete, ec=%d", result);
        } else if (result != 0) {
            Message(1, "Error downloading program, ec=%d", result);
            return LDR_ERR_DOWNLOAD;
        }
        done += static_cast<unsigned>(size);
        if (done % 512 == 0) {
            Message(1, "Downloaded %d of %d bytes...", static_cast<int>(done),
                    static_cast<int>(count));
        }
    }
    return 0;
}

int CKernelLink::CheckBootVector(CComms& comms) {
    char text[kBoardTextSize];
    BYTE vector = 0;
    BYTE status = 0;
    int vectorRead = readSpecialByteIsp(comms, &vector, ISP_READ_BOOT_VECTOR, text);
    int statusRead = readSpecialByteIsp(comms, &status, ISP_READ_STATUS, text);
    if (vectorRead != 0 || statusRead != 0 || vector != kIspBootVector ||
        status != kIspStatusByte) {
        Message(1, "Programming Boot Vector(to FC) and Status Byte(to 00)");
        programBootVectorIsp(comms, text);
        Message(1, "%s", text);
    } else {
        Message(1, "Unchanged Boot Vector(FC) and Status Byte(00)");
    }
    // What counts is whether the two bytes could be read; the programming only shows its text.
    return vectorRead != 0 ? vectorRead : statusRead;
}

int CKernelLink::StartKernel(CComms& comms) {
    Message(1, "Setting board to RUN mode");
    int result = comms.ResetRTS();
    if (result != 0) {
        ReportLineFailure(result, w32::GetLastError());
        return LDR_ERR_RUN_MODE;
    }
    SleepMsec(200);
    result = comms.PurgeRcvBuffer();
    if (result != 0) {
        Message(1, "Error purging receive buffer, ec=%d", result);
        return LDR_ERR_PURGE;
    }
    BYTE version = 0;
    result = comms.Write(kKernelVersionCommand);
    if (result == 0) {
        result = comms.Write(kKernelVersionCommand);
    }
    if (result == 0) {
        result = comms.Read(&version);
    }
    if (result != 0) {
        LeaveLoader(comms, true);
        Message(1, "Download complete...");
        return result;
    }
    if (version < kOldestKernel) {
        result = 1;
        Message(1, "!!!! Old kernel version: V1.%02d !!!!", version);
        Message(1, "Please use kernel version V1.%02d or later", kOldestKernel);
    }
    Message(1, "Kernel version: V1.%02d", version);
    return result;
}

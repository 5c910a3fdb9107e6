// The operations that speak the board's length-prefixed packets (connection check, blank check,
// set type for no chip), and the board ID and security bits. The packets' framing is
// tarnel/protocols' length_packet.h; here are the statuses each step posts.
#include <initializer_list>

#include "device_rules.h"
#include "programming_operations.h"
#include "status_post.h"
#include "tarnel/protocols/chip_protocol.h"
#include "tarnel/protocols/length_packet.h"

namespace {

using length_packet::kBlankCheck;
using length_packet::kConnectionCheck;
using length_packet::kSetType;
using length_packet::Sum;

const size_t kBoardIdSize = 80;

// Sends the command and fields with their count and check; false, with kStatusSendFailed, when
// the port would not take them. kStatusPacketSent follows a packet that went.
bool SendPacket(CJobRun& run, const JobRequest& job, std::initializer_list<BYTE> body) {
    if (length_packet::Send(run.Port(), body) != COMMS_OK) {
        PostStatus(job.statusWindow, kStatusSendFailed);
        return false;
    }
    PostStatus(job.statusWindow, kStatusPacketSent);
    return true;
}

enum class Head { Good, BoardError, Failed };

// Reads the reply's count and echo into reply[0..1]. The board's error posts its code to the main
// window as kStatusBoardError when the code can be read, and nothing else; a missing head or
// another echo than `command` posts kStatusNoResponse.
Head ReadHead(CJobRun& run, const JobRequest& job, BYTE command, BYTE* reply) {
    BYTE error = 0;
    bool errorRead = false;
    switch (length_packet::ReadHead(run.Port(), command, reply, &error, &errorRead)) {
        case length_packet::Head::Good:
            return Head::Good;
        case length_packet::Head::BoardError:
            if (errorRead) {
                PostStatus(run.MainWindow(), kStatusBoardError, error);
            }
            return Head::BoardError;
        case length_packet::Head::NoReply:
        case length_packet::Head::WrongEcho:
            break;
    }
    PostStatus(job.statusWindow, kStatusNoResponse);
    return Head::Failed;
}

// The set-type packet with the job's device code (0 closes the blank check's state). Each failure
// but the board's own error is followed by kStatusSetTypeFailed.
int SendSetType(CJobRun& run, JobRequest& job) {
    HWND window = job.statusWindow;
    BYTE reply[4];
    bool sent = SendPacket(run, job, {kSetType, static_cast<BYTE>(job.deviceCode)});
    Head head = sent ? ReadHead(run, job, kSetType, reply) : Head::Failed;
    if (head == Head::BoardError) {
        return 0;
    }
    if (head == Head::Good) {
        UINT failure = 0;
        if (run.Port().Read(reply + 2, 2) != COMMS_OK) {
            failure = kStatusNoResponse;
        } else if (reply[2] != 0) {
            failure = kStatusBoardReportedFailure;
        } else if (Sum(reply, 4) != 0) {
            failure = kStatusChecksumWrong;
        } else {
            return 1;
        }
        PostStatus(window, failure);
    }
    PostStatus(window, kStatusSetTypeFailed);
    return 0;
}

}  // namespace

int CheckConnectionJob(CJobRun& run, JobRequest& job) {
    HWND window = job.statusWindow;
    BYTE sequence = run.NextSequence();
    if (!SendPacket(run, job, {kConnectionCheck, sequence})) {
        return 0;
    }
    BYTE reply[4];
    if (ReadHead(run, job, kConnectionCheck, reply) != Head::Good) {
        return 0;
    }
    if (run.Port().Read(reply + 2, 2) != COMMS_OK) {
        PostStatus(window, kStatusNoResponse);
        return 0;
    }
    if (reply[2] != sequence) {
        PostStatus(window, kStatusBoardReportedFailure);
        return 0;
    }
    if (Sum(reply, 4) != 0) {
        PostStatus(window, kStatusChecksumWrong);
        return 0;
    }
    return 1;
}

int SetChipTypeJob(CJobRun& run, JobRequest& job) {
    if (device_rules::FactsOfJob(job).entersThroughBackend) {
        return EnterChipLoader(run, job);
    }
    return SendSetType(run, job);
}

int BlankCheckJob(CJobRun& run, JobRequest& job) {
    HWND window = job.statusWindow;
    // The start cell carries the area's size in bytes; code and special are counted in words.
    if (job.memoryKind == kMemoryCode || job.memoryKind == kMemorySpecial) {
        job.startCell >>= 1;
    }
    DWORD count = job.startCell;
    if (!SendPacket(run, job,
                    {kBlankCheck, job.memoryKind, static_cast<BYTE>(count),
                     static_cast<BYTE>(count >> 8)})) {
        return 0;
    }
    BYTE reply[5];
    if (ReadHead(run, job, kBlankCheck, reply) != Head::Good) {
        return 0;
    }
    if (run.Port().Read(reply + 2, 3) != COMMS_OK) {
        PostStatus(window, kStatusNoResponse);
        return 0;
    }
    if (Sum(reply, 5) != 0) {
        PostStatus(window, kStatusChecksumWrong);
        return 0;
    }
    DWORD used = static_cast<DWORD>(reply[2] | reply[3] << 8);
    // The board holds the area's type until a set-type packet for no chip releases it.
    job.deviceCode = 0;
    if (!SetChipTypeJob(run, job)) {
        PostStatus(window, kStatusNoResponse);
        return 0;
    }
    UINT status = job.memoryKind == kMemoryCode      ? kStatusFreeCode
                  : job.memoryKind == kMemorySpecial ? kStatusFreeSpecial
                                                     : kStatusFreeData;
    PostStatus(window, status, static_cast<LPARAM>(count - used));
    return 1;
}

int ReadBoardIdJob(CJobRun& run, JobRequest& job) {
    CBoardProtocol board;
    DWORD version = 0;
    if (board.ReadVersionBlock(run.Port(), &version) != BOARD_OK) {
        return 0;
    }
    // The four characters of the block, first byte first, in a zeroed block.
    BYTE characters[4] = {static_cast<BYTE>(version), static_cast<BYTE>(version >> 8),
                          static_cast<BYTE>(version >> 16), static_cast<BYTE>(version >> 24)};
    PostBlock(job.statusWindow, kStatusVersionText, characters, sizeof characters, kBoardIdSize);
    return 1;
}

// The boot loader's security-bits line, whatever the device's back-end, with the chip type of
// the device's security-bits fact.
int SetSecurityBitsJob(CJobRun& run, JobRequest& job) {
    const DeviceFacts& facts = device_rules::FactsOfJob(job);
    HWND window = job.statusWindow;
    CChipProtocol chip(device_rules::DeviceOf(job));
    if (facts.securityChipType != 0) {
        chip.SetType(facts.securityChipType);
    }
    char text[kStatusTextSize] = "";
    PostStatus(window, kStatusBlankLine);
    PostText(window, kStatusInfoText, "Security Bits");
    if (chip.SetSecurityBits(run.Port(), text) != BOARD_OK) {
        PostText(window, kStatusErrorText, text);
    } else {
        PostText(window, kStatusAdviceText, "Memory of (A)T89C51RD2 is locked (level=2)");
        PostText(window, kStatusSuccessText, "Security Bits Success");
        PostStatus(window, kStatusBlankLine);
    }
    if (facts.leavesLoaderMode) {
        chip.ResetToRun(run.Port());
    }
    return 1;
}

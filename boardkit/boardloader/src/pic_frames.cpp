// The board PIC's frames: set type, write, version, and the additive sum that closes them.
#include <cstring>

#include "boardloader/board_loader.h"
#include "boardloader/board_text.h"
#include "w32/clock.h"

using boardloader::SetText;

namespace {

// A 3-byte reply (command, status, sum) checked in the order the board's errors are told apart:
// the sum first, then the command byte, then the status.
int CheckShortReply(const BYTE reply[3], BYTE command) {
    BYTE sum = 0;
    additiveChecksum(reply, 2, &sum);
    if (sum != reply[2]) {
        return LDR_ERR_CHECKSUM;
    }
    if (reply[0] != command) {
        return LDR_ERR_PIC_VERSION;
    }
    if (reply[1] != 0) {
        return LDR_ERR_CHECKSUM;
    }
    return 0;
}

// Positions of a write frame before which the PIC needs its pause.
bool PausesBefore(int position) {
    return position == 1 || position == 5 || position == 15 || position == 25;
}

}  // namespace

void additiveChecksum(const BYTE* data, int length, BYTE* sum) {
    BYTE total = 0;
    // The frames' sums run over at most 255 bytes; no frame is that long.
    int run = length > 255 ? 255 : length;
    for (int i = 0; i < run; ++i) {
        total = static_cast<BYTE>(total + data[i]);
    }
    *sum = total;
}

int writeBlockViaPic(CComms& comms, unsigned address, int count, const BYTE* data, char* text) {
    unsigned end = address + static_cast<unsigned>(count);
    bool crosses = address < kPicSpaceBoundary && end > kPicSpaceBoundary;
    if (count < 1 || count > kPicMaxBlock || crosses || end > kPicMemoryEnd) {
        SetText(text, "*** Error *** Address=%04X numBytes=%04X", address,
                static_cast<unsigned>(count));
        return LDR_ERR_DOWNLOAD;
    }
    BYTE frame[6 + kPicMaxBlock] = {};
    frame[0] = PIC_WRITE;
    frame[1] = address < kPicSpaceBoundary ? kPicSpaceLow : kPicSpaceHigh;
    frame[2] = static_cast<BYTE>(count);
    frame[3] = static_cast<BYTE>(address & 0xFF);
    frame[4] = static_cast<BYTE>((address >> 8) & 0xFF);
    std::memcpy(frame + 5, data, static_cast<size_t>(count));
    int length = 5 + count;
    additiveChecksum(frame, length, &frame[length]);
    ++length;

    BYTE reply[3] = {};
    int result = 0;
    for (int i = 0; i < length && result == 0; ++i) {
        if (PausesBefore(i)) {
            w32::Sleep(kPicPauseMs);
        }
        result = comms.Write(frame[i]);
    }
    if (result == 0) {
        result = comms.Read(reply, 3);
    }
    if (result == 0) {
        result = CheckShortReply(reply, PIC_WRITE);
    }
    if (result != 0) {
        SetText(text, "*** Error *** buf[0]=%02X buf[1]=%02X", reply[0], reply[1]);
        return result;
    }
    SetText(text, "Success writing %d bytes, %04X-%04X", count, address, end - 1);
    return 0;
}

int exchangeSetTypeViaPic(CComms& comms, BYTE type, BYTE reply[3]) {
    BYTE frame[3] = {PIC_SET_TYPE, type, 0};
    additiveChecksum(frame, 2, &frame[2]);
    int result = comms.Write(frame, 3);
    if (result == 0) {
        result = comms.Read(reply, 3);
    }
    return result;
}

int setChipTypeViaPic(CComms& comms, int kind, char* text) {
    BYTE reply[3] = {};
    int result = exchangeSetTypeViaPic(
        comms, kind == BOARD_KIND_RX2_PIC ? kPicTypePassThrough : kPicTypeDirect, reply);
    if (result == 0) {
        result = CheckShortReply(reply, PIC_SET_TYPE);
    }
    if (result != 0) {
        SetText(text, "*** Set type Error ***, buffer[0]=%02X buffer[1]=%02X", reply[0], reply[1]);
        return result;
    }
    SetText(text, "Success setting type");
    return 0;
}

int readPicVersion(CComms& comms, char* text) {
    const BYTE command = PIC_VERSION;
    BYTE reply[6] = {};
    int result = comms.Write(&command, 1);
    if (result == 0) {
        result = comms.Read(reply, 6);
    }
    if (result == 0 && reply[0] != PIC_VERSION) {
        result = LDR_ERR_PIC_VERSION;
    }
    if (result == 0) {
        BYTE sum = 0;
        additiveChecksum(reply, 5, &sum);
        if (sum != reply[5]) {
            result = LDR_ERR_CHECKSUM;
        }
    }
    if (result != 0) {
        SetText(text, "*** Error in retrieving PIC version, ec=%d ***", result);
        return result;
    }
    SetText(text, "PIC Version=%c%c%c%c", reply[1], reply[2], reply[3], reply[4]);
    return 0;
}

// The T89C51Rx2 boot loader's records: sent character by character against their echoes, answered
// by a reply that starts with '.', and the 'U' that fixes the loader's baud rate.
#include <cstdio>
#include <cstring>

#include "boardloader/board_loader.h"
#include "boardloader/board_text.h"
#include "hexdigits/hex_digits.h"

using boardloader::SetText;

namespace {

constexpr DWORD kSlowRecordMs = 10000;
constexpr DWORD kUsualTimeOutMs = 20;
// A display reply: 7 characters before the data, two per byte, two after.
constexpr int kDisplayReplyExtra = 9;

// The record's checksum: the two's complement of the 8-bit sum of its bytes.
BYTE NegatedSum(const BYTE* bytes, int count) {
    BYTE sum = 0;
    additiveChecksum(bytes, count, &sum);
    return static_cast<BYTE>(0x100 - sum);
}

}  // namespace

int sendIspRecord(CComms& comms, const char* record) {
    size_t length = record != nullptr ? std::strlen(record) : 0;
    for (size_t i = 0; i < length; ++i) {
        BYTE sent = static_cast<BYTE>(record[i]);
        BYTE echo = 0;
        if (comms.WriteByte(sent) != 0 || comms.Read(&echo) != 0 || echo != sent) {
            // The loader has not taken the record, so it owes no reply: reading one now would
            // only take whatever else is on the line.
            return LDR_ERR_DOWNLOAD;
        }
    }
    BYTE reply[3] = {};
    int result = comms.Read(reply, 3);
    return reply[0] == '.' ? result : LDR_ERR_DOWNLOAD;
}

int writeDataIsp(CComms& comms, unsigned address, int count, const BYTE* data, char* text) {
    if (count < 0 || count > 255) {
        SetText(text, "*** Error ***");
        return LDR_ERR_DOWNLOAD;
    }
    BYTE head[3] = {static_cast<BYTE>(count), static_cast<BYTE>((address >> 8) & 0xFF),
                    static_cast<BYTE>(address & 0xFF)};
    BYTE sum = 0;
    additiveChecksum(head, 3, &sum);
    // ':' count(2) address(4) type(2) data(2 per byte) checksum(2) and the terminator.
    char record[1 + 2 + 4 + 2 + 2 * 255 + 2 + 1];
    int at = std::snprintf(record, sizeof record, ":%02X%04X00", count, address & 0xFFFF);
    for (int i = 0; i < count; ++i) {
        at += std::snprintf(record + at, sizeof record - static_cast<size_t>(at), "%02X", data[i]);
        sum = static_cast<BYTE>(sum + data[i]);
    }
    std::snprintf(record + at, sizeof record - static_cast<size_t>(at), "%02X",
                  static_cast<BYTE>(0x100 - sum));
    int result = sendIspRecord(comms, record);
    if (result != 0) {
        SetText(text, "*** Error ***");
        return result;
    }
    SetText(text, "Success writing %d bytes, %04X-%04X", count, address,
            address + static_cast<unsigned>(count) - 1);
    return 0;
}

int programBootVectorIsp(CComms& comms, char* text) {
    static const struct {
        const char* record;
        const char* failure;
    } kSteps[] = {{ISP_ERASE_BOOT_VECTOR, "Invalid Bytes Erasing"},
                  {ISP_PROGRAM_BOOT_VECTOR, "Invalid Set Vector"},
                  {ISP_PROGRAM_STATUS, "Invalid Status Clear"}};
    comms.SetTimeOut(kSlowRecordMs);
    int result = 0;
    for (const auto& step : kSteps) {
        result = sendIspRecord(comms, step.record);
        if (result != 0) {
            SetText(text, "%s", step.failure);
            break;
        }
    }
    if (result == 0) {
        SetText(text, "Success Special Bytes Programming");
    }
    comms.SetTimeOut(kUsualTimeOutMs);
    return result;
}

int syncIspU(CComms& comms, char* text) {
    BYTE echo = ' ';
    for (int attempt = 0; attempt < 3; ++attempt) {
        int result = comms.WriteByte('U');
        if (result == 0) {
            result = comms.Read(&echo);
        }
        if (result != 0) {
            SetText(text, "Invalid response to 'U' (Echo = %c)", echo);
            return result;
        }
        if (echo == 'U') {
            break;
        }
    }
    SetText(text, "Success response to 'U' (Echo = %c)", echo);
    return 0;
}

int sendIspLine(CComms& comms, const char* line) {
    size_t length = line != nullptr ? std::strlen(line) : 0;
    for (size_t i = 0; i < length; ++i) {
        BYTE sent = static_cast<BYTE>(line[i]);
        int result = comms.WriteByte(sent);
        if (result != 0) {
            return result;
        }
        BYTE echo = 0;
        result = comms.Read(&echo);
        if (result != 0) {
            return result;
        }
        if (echo != sent) {
            return LDR_ERR_DOWNLOAD;
        }
    }
    return 0;
}

int readBlockIsp(CComms& comms, unsigned address, int count, BYTE* buffer, char* text) {
    if (count < 1 || count > kIspMaxBlock) {
        SetText(text, "*** Error Command Line ***");
        return LDR_ERR_DOWNLOAD;
    }
    unsigned first = address & 0xFFFF;
    unsigned last = (address + static_cast<unsigned>(count) - 1) & 0xFFFF;
    BYTE fields[9] = {0x05,
                      0x00,
                      0x00,
                      0x04,
                      static_cast<BYTE>(first >> 8),
                      static_cast<BYTE>(first & 0xFF),
                      static_cast<BYTE>(last >> 8),
                      static_cast<BYTE>(last & 0xFF),
                      0x00};
    char record[32];
    std::snprintf(record, sizeof record, ":05000004%04X%04X00%02X", first, last,
                  NegatedSum(fields, 9));
    int result = sendIspLine(comms, record);
    if (result != 0) {
        SetText(text, "*** Error Command Line ***");
        return result;
    }
    char reply[2 * kIspMaxBlock + kDisplayReplyExtra + 1] = {};
    DWORD length = static_cast<DWORD>(2 * count + kDisplayReplyExtra);
    result = comms.Read(reinterpret_cast<BYTE*>(reply), length);
    if (result != 0) {
        SetText(text, "Received reply: %s", reply);
        return result;
    }
    for (int i = 0; i < count; ++i) {
        uint8_t byte = 0;
        if (!ReadHexByte(reply + 7 + 2 * i, &byte)) {
            // Not the display the record asked for: no bytes are made up from it.
            SetText(text, "Received reply: %s", reply);
            return LDR_ERR_DOWNLOAD;
        }
        buffer[i] = byte;
    }
    SetText(text, "OK");
    return 0;
}

int readSpecialByteIsp(CComms& comms, BYTE* value, const char* record, char* text) {
    int result = sendIspLine(comms, record);
    if (result != 0) {
        SetText(text, "*** Error Command Line ***");
        return result;
    }
    char reply[6] = {};
    result = comms.Read(reinterpret_cast<BYTE*>(reply), 5);
    if (result != 0) {
        SetText(text, "Received reply: %s", reply);
        return result;
    }
    unsigned number = 0;
    uint8_t digit = 0;
    int digits = 0;
    while (digits < 5 && ReadHexDigit(reply[digits], &digit)) {
        number = number << 4 | digit;
        ++digits;
    }
    if (digits == 0) {
        SetText(text, "Received reply: %s", reply);
        return LDR_ERR_DOWNLOAD;
    }
    *value = static_cast<BYTE>(number & 0xFF);
    SetText(text, "OK");
    return 0;
}

// The chip protocol's boot-loader lines: echoed characters, '.' answers, records and their texts.
#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "hexdigits/hex_digits.h"
#include "tarnel/images/chip_table.h"
#include "tarnel/protocols/chip_protocol.h"
#include "tarnel/protocols/port_reopen.h"
#include "w32/clock.h"

namespace {

const DWORD kSlowTimeOut = 10000;
const DWORD kLineTimeOut = 20;
const int kSyncTries = 10;
const DWORD kDisplayPrefix = 7;  // the answer's characters before the first data digit

// The two digits of the display answer's byte `i`.
const char* DisplayDigits(const std::vector<BYTE>& answer, DWORD i) {
    return reinterpret_cast<const char*>(answer.data()) + kDisplayPrefix + 2 * i;
}
const DWORD kMaxLineBytes = 255;

const char kEraseLine[] = ":0100000307F5";
const char kEraseBootLine[] = ":020000030400F7";
const char kBootVectorLine[] = ":030000030601FCF7";
const char kStatusByteLine[] = ":03000003060000F4";
const char kSecurityLine[] = ":020000030501F5";

void SetText(char* text, const char* format, ...) {
    if (text == nullptr) {
        return;
    }
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, CChipProtocol::kTextSize, format, args);
    va_end(args);
}

// The two's complement of the 8-bit sum of a record's bytes.
BYTE RecordChecksum(const std::vector<BYTE>& bytes) {
    BYTE sum = 0;
    for (BYTE b : bytes) {
        sum = static_cast<BYTE>(sum + b);
    }
    return static_cast<BYTE>(0x100 - sum);
}

std::string HexRecord(const std::vector<BYTE>& bytes) {
    std::string line = ":";
    char digits[3];
    for (BYTE b : bytes) {
        std::snprintf(digits, sizeof digits, "%02X", b);
        line += digits;
    }
    std::snprintf(digits, sizeof digits, "%02X", RecordChecksum(bytes));
    return line + digits;
}

}  // namespace

int CChipProtocol::SendCharacters(CComms& port, const char* line) {
    for (const char* c = line; *c != '\0'; ++c) {
        int result = port.WriteByte(static_cast<BYTE>(*c));
        if (result != COMMS_OK) {
            return result;
        }
        BYTE echo = 0;
        result = port.Read(&echo, 1);
        if (result != COMMS_OK) {
            return result;
        }
        if (echo != static_cast<BYTE>(*c)) {
            return BOARD_LINE_FAILED;
        }
    }
    return BOARD_OK;
}

int CChipProtocol::SendLine(CComms& port, const char* line) {
    int sent = SendCharacters(port, line);
    // The answer is read whatever became of the characters: bytes left unread would be taken for
    // the echoes of the next line.
    BYTE answer[3] = {0, 0, 0};
    int read = port.Read(answer, sizeof answer);
    if (sent != BOARD_OK) {
        return sent;
    }
    return answer[0] == '.' ? read : BOARD_LINE_FAILED;
}

int CChipProtocol::SendEcho(CComms& port, const char* line) { return SendCharacters(port, line); }

int CChipProtocol::Sync(CComms& port, char* text) {
    BYTE echo = ' ';
    for (int attempt = 0; attempt < kSyncTries; ++attempt) {
        int result = port.WriteByte('U');
        BYTE got = 0;
        if (result == COMMS_OK) {
            result = port.Read(&got, 1);
        }
        if (result != COMMS_OK) {
            SetText(text, "Invalid response to 'U' (Echo = %c)", echo);
            return result;
        }
        echo = got;
        if (echo == 'U') {
            break;
        }
    }
    SetText(text, "Success response to 'U' (Echo = %c)", echo);
    return BOARD_OK;
}

int CChipProtocol::SetFrequency(CComms& port, char* text) {
    const char* line = nullptr;
    switch (m_chipType) {
        case 2:
        case 12:
            line = ":0100000218E5";
            break;
        case 8:
        case 10:
            line = ":010000020BF2";
            break;
        case 9:
            line = ":0100000205F8";
            break;
        default:
            break;
    }
    int result = line != nullptr ? SendLine(port, line) : BOARD_LINE_FAILED;
    SetText(text, result == BOARD_OK ? "Success Frequency Specification"
                                     : "Invalid Frequency Specification");
    return result;
}

int CChipProtocol::SlowLine(CComms& port, const char* line) {
    port.SetTimeOut(kSlowTimeOut);
    int result = SendLine(port, line);
    port.SetTimeOut(kLineTimeOut);
    return result;
}

int CChipProtocol::EraseChip(CComms& port, char* text) {
    int result = SlowLine(port, kEraseLine);
    SetText(text, result == BOARD_OK ? "Success Chip Erasing" : "Invalid Chip Erasing ");
    return result;
}

int CChipProtocol::ProgramSpecialBytes(CComms& port, char* text) {
    struct Step {
        const char* line;
        const char* failure;
    };
    static const Step kSteps[] = {
        {kEraseBootLine, "Invalid Bytes Erasing"},
        {kBootVectorLine, "Invalid Set Vector"},
        {kStatusByteLine, "Invalid Status Clear"},
    };
    port.SetTimeOut(kSlowTimeOut);
    int result = BOARD_OK;
    for (const Step& step : kSteps) {
        result = SendLine(port, step.line);
        if (result != BOARD_OK) {
            SetText(text, "%s", step.failure);
            break;
        }
    }
    port.SetTimeOut(kLineTimeOut);
    if (result == BOARD_OK) {
        SetText(text, "Success Special Bytes Programming");
    }
    return result;
}

int CChipProtocol::SetSecurityBits(CComms& port, char* text) {
    int result = SlowLine(port, kSecurityLine);
    SetText(text, result == BOARD_OK ? "Success Security Bits Settings"
                                     : "Invalid Security Bits Settings");
    return result;
}

int CChipProtocol::WriteHexRecords(CComms& port, WORD address, DWORD count, const BYTE* data,
                                   char* text) {
    unsigned first = address;
    unsigned last = address + count - 1;
    int result = BOARD_TOO_LONG;
    if (count <= kMaxLineBytes) {
        std::vector<BYTE> record = {static_cast<BYTE>(count), static_cast<BYTE>(address >> 8),
                                    static_cast<BYTE>(address), 0x00};
        record.insert(record.end(), data, data + count);
        result = SendLine(port, HexRecord(record).c_str());
    }
    if (result == BOARD_OK) {
        SetText(text, "Success writing %d bytes, %04X-%04X", static_cast<int>(count), first, last);
    } else {
        SetText(text, "*** Error %04X-%04X address ***", first, last);
    }
    return result;
}

int CChipProtocol::ReadRecord(CComms& port, WORD address, DWORD count, BYTE* destination,
                              char* text) {
    DWORD last = address + count - 1;
    if (count == 0 || last > 0xFFFF) {
        SetText(text, "*** Error Command Line ***");
        return BOARD_TOO_LONG;
    }
    std::vector<BYTE> record = {0x05,
                                0x00,
                                0x00,
                                0x04,
                                static_cast<BYTE>(address >> 8),
                                static_cast<BYTE>(address),
                                static_cast<BYTE>(last >> 8),
                                static_cast<BYTE>(last),
                                0x00};
    // The record's count, address and type are fixed; the addresses follow as its data.
    int result = SendEcho(port, HexRecord(record).c_str());
    if (result != BOARD_OK) {
        SetText(text, "*** Error Command Line ***");
        return result;
    }
    if (m_deviceCode == kDeviceP89C51Rx2Fast || m_deviceCode == kDeviceP89C51RxxWaiting ||
        m_deviceCode == kDeviceP89C51Rxx9600 || m_deviceCode == kDeviceP89C51Rx2Slow) {
        port.WriteByte(0);  // these chips answer a display line once a 0 follows it
    }
    DWORD length = count * 2 + 9;
    std::vector<BYTE> answer(length + 1, 0);  // cleared, and terminated whatever comes
    result = port.Read(answer.data(), length);
    if (result == BOARD_OK) {
        for (DWORD i = 0; i < count && result == BOARD_OK; ++i) {
            uint8_t value = 0;
            if (!ReadHexByte(DisplayDigits(answer, i), &value)) {
                result = BOARD_LINE_FAILED;
            }
        }
    }
    if (result != BOARD_OK) {
        SetText(text, "Received reply: %s", reinterpret_cast<const char*>(answer.data()));
        return result;
    }
    for (DWORD i = 0; i < count; ++i) {
        uint8_t value = 0;
        ReadHexByte(DisplayDigits(answer, i), &value);
        destination[i] = value;
    }
    SetText(text, "OK");
    return BOARD_OK;
}

int CChipProtocol::ResetToRun(CComms& port) {
    ReopenPortAt(port, m_chipType == 12 ? 9600 : 19200);
    port.SetRTS();
    w32::Sleep(100);
    BYTE run = 0;
    switch (m_chipType) {
        case 2:
        case 6:
        case 7:
        case 10:
        case 12:
        case 15:
            run = 'R';
            break;
        case 3:
        case 4:
            run = 'H';
            break;
        default:
            break;
    }
    if (run != 0) {
        int result = port.WriteByte(run);
        if (result != COMMS_OK) {
            return result;
        }
    }
    w32::Sleep(100);
    port.ResetRTS();
    w32::Sleep(100);
    port.SetRTS();
    w32::Sleep(100);
    int result = port.ResetRTS();
    w32::Sleep(100);
    return result;
}

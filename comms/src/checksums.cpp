// The check values a port object computes for the protocols spoken over it.
#include "comms/comms.h"

namespace {

// CRC-16/ARC a nibble at a time: the reflected polynomial 0xA001 applied to each nibble value.
const WORD kCrc16Nibbles[16] = {0x0000, 0xCC01, 0xD801, 0x1400, 0xF001, 0x3C00, 0x2800, 0xE401,
                                0xA001, 0x6C00, 0x7800, 0xB401, 0x5000, 0x9C01, 0x8801, 0x4400};

}  // namespace

void CComms::BuildCrc32Table() {
    for (DWORD i = 0; i < 256; ++i) {
        DWORD remainder = i << 24;
        for (int bit = 0; bit < 8; ++bit) {
            remainder = (remainder & 0x80000000u) ? (remainder << 1) ^ 0x04C11DB7u : remainder << 1;
        }
        m_crc32Table[i] = remainder;
    }
}

// A null buffer counts as an empty one, whatever length comes with it.

BYTE CComms::Bcc(const BYTE* data, DWORD length) {
    BYTE sum = 0;
    if (data == nullptr) {
        return sum;
    }
    for (DWORD i = 0; i < length; ++i) {
        sum = static_cast<BYTE>(sum + data[i]);
    }
    return sum;
}

WORD CComms::CrcCCIT(WORD crc, WORD byte) {
    DWORD value = crc;
    DWORD data = static_cast<DWORD>(byte & 0xFF) << 8;
    for (int round = 0; round < 8; ++round) {
        value = ((value ^ data) & 0x8000u) ? (value << 1) ^ 0x1021u : value << 1;
        data <<= 1;
    }
    return static_cast<WORD>(value);
}

WORD CComms::Crc16(const BYTE* data, DWORD length) {
    DWORD crc = 0;
    if (data == nullptr) {
        return 0;
    }
    for (DWORD i = 0; i < length; ++i) {
        crc = kCrc16Nibbles[crc & 15] ^ kCrc16Nibbles[data[i] & 15] ^ (crc >> 4);
        crc = kCrc16Nibbles[crc & 15] ^ kCrc16Nibbles[data[i] >> 4] ^ (crc >> 4);
    }
    return static_cast<WORD>(crc);
}

DWORD CComms::Crc32(const BYTE* data, DWORD length) {
    DWORD crc = 0;
    if (data == nullptr) {
        return 0;
    }
    for (DWORD i = 0; i < length; ++i) {
        crc = (crc << 8) ^ m_crc32Table[(crc >> 24) ^ data[i]];
    }
    return crc;
}

// The chip protocol's board packets: blocks split at 0x2000, compare, memory kinds, loader entry.
#include "tarnel/protocols/chip_protocol.h"

#include "tarnel/images/chip_table.h"
#include "w32/clock.h"

namespace {

const BYTE kWriteBlock = 2;
const BYTE kReadBlock = 3;
const BYTE kCompareBlock = 10;
const WORD kSplitAt = 0x2000;
const DWORD kAt89Limit = 0xF7FF;
const BYTE kKindAboveSplit = 5;
const int kEnterTries = 10;

bool IsPic(BYTE chipType) { return chipType == 14 || chipType == 16; }

}  // namespace

CChipProtocol::CChipProtocol(BYTE deviceCode) : m_memoryKind(1), m_deviceCode(deviceCode) {}

BYTE CChipProtocol::ReadKindAt(WORD address) {
    if (IsPic(m_chipType)) {
        return m_memoryKind;
    }
    return address >= kSplitAt ? kKindAboveSplit : m_memoryKind;
}

BYTE CChipProtocol::MemoryKindAt(WORD address) { return ReadKindAt(address); }

int CChipProtocol::SplitBlock(CComms& port, BYTE command, WORD address, DWORD length,
                              const BYTE* data, BYTE* replyData) {
    DWORD first = length;
    if (address < kSplitAt && address + length > kSplitAt) {
        first = kSplitAt - address;
    }
    // A block split in two is still refused whole when a part is too long for its packet.
    if (first > kMaxBlock || length - first > kMaxBlock) {
        return BOARD_TOO_LONG;
    }
    auto kindAt = [&](WORD at) {
        return command == kWriteBlock ? MemoryKindAt(at) : ReadKindAt(at);
    };
    int result =
        BlockPacket(port, command, kindAt(address), address, first, data, replyData, &m_lastStatus);
    if (result != BOARD_OK || first == length) {
        return result;
    }
    return BlockPacket(port, command, kindAt(kSplitAt), kSplitAt, length - first,
                       data != nullptr ? data + first : nullptr,
                       replyData != nullptr ? replyData + first : nullptr, &m_lastStatus);
}

int CChipProtocol::WriteBlock(CComms& port, WORD address, DWORD length, const BYTE* data) {
    if ((m_deviceCode == kDeviceAt89S8252 || m_deviceCode == kDeviceAt89S53) &&
        address + length > kAt89Limit) {
        return BOARD_OK;  // beyond what the board programs on these chips: counts as written
    }
    return SplitBlock(port, kWriteBlock, address, length, data, nullptr);
}

int CChipProtocol::ReadBlock(CComms& port, WORD address, DWORD length, BYTE* destination) {
    return SplitBlock(port, kReadBlock, address, length, nullptr, destination);
}

int CChipProtocol::CompareBlock(CComms& port, WORD address, DWORD length, BYTE* data) {
    return BlockPacket(port, kCompareBlock, ReadKindAt(address), address, length, data, data,
                       &m_lastStatus);
}

int CChipProtocol::EnterLoader(CComms& port, const char*) {
    for (int attempt = 0; attempt < kEnterTries; ++attempt) {
        if (port.SetRTS() != COMMS_OK) {
            return BOARD_RTS_ON_FAILED;
        }
        w32::Sleep(200);
        if (port.PurgeRcvBuffer() != COMMS_OK) {
            return BOARD_PURGE_FAILED;
        }
        if (SetChipType(port) == BOARD_OK) {
            return BOARD_OK;
        }
        if (port.ResetRTS() != COMMS_OK) {
            return BOARD_RTS_OFF_FAILED;
        }
        w32::Sleep(200);
    }
    return BOARD_NO_ANSWER;
}

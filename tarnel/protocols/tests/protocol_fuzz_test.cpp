// Every protocol operation against boards whose replies are flipped, dropped, delayed and cut
// short at random: each ends in a defined result within its time bound, and the port is left to
// its owner to close.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>

#include "boards/boot_loader.h"
#include "boards/memory_board.h"
#include "boards/misbehaviour.h"
#include "boards/programmer_board.h"
#include "protocol_rig.h"
#include "tarnel/protocols/board_protocol.h"
#include "tarnel/protocols/chip_protocol.h"
#include "tarnel/protocols/memory_board_protocol.h"

namespace {

const int kSeeds = 400;

boards::ReplyDamage DamageFor(uint32_t seed) {
    boards::ReplyDamage d;
    d.seed = seed;
    d.flipPercent = 8;
    d.dropPercent = 4;
    d.delayPercent = 8;
    d.truncatePercent = 6;
    d.maxDelayMicros = 400000;
    return d;
}

// What a damaged exchange may end in: success, a refused line, a time-out, or a reply judged
// wrong. Nothing else (a port failure, a code from nowhere) is acceptable.
const std::set<int> kDefined = {BOARD_OK,          BOARD_LINE_FAILED, COMMS_READ_TIMEOUT,
                                BOARD_CHECK_WRONG, BOARD_WRONG_REPLY, BOARD_FAILED};

// The longest a read of n reply bytes at `ms` per byte can take: every read that gets some of
// the bytes is followed by one for the rest, with its own time-out.
uint64_t ReplyMs(uint64_t n, uint64_t ms) { return n * (n + 1) / 2 * ms; }

class ProtocolFuzzTest : public protocol_test::ProtocolRig {
protected:
    // Runs one operation and checks its result and its virtual time against `boundMs`.
    void Step(const char* name, uint64_t boundMs, const std::function<int()>& op) {
        uint64_t before = Now();
        int result = op();
        ++m_seen[result];
        EXPECT_TRUE(kDefined.count(result) == 1) << name << " gave " << result;
        EXPECT_LE(Now() - before, boundMs * 1000) << name;
    }

    // The damage reached the protocols: the runs met successes and failures of several kinds.
    void TearDown() override {
        ProtocolRig::TearDown();
        EXPECT_GE(m_seen.size(), 3u);
        EXPECT_GT(m_seen[BOARD_OK], 0);
        EXPECT_GT(m_seen[COMMS_READ_TIMEOUT], 0);
    }

    std::map<int, int> m_seen;
};

TEST_F(ProtocolFuzzTest, ProgrammerBoardPackets) {
    for (uint32_t seed = 1; seed <= kSeeds; ++seed) {
        SCOPED_TRACE(seed);
        auto& board = Put(std::make_unique<boards::ProgrammerBoard>());
        board.Damage(DamageFor(seed));
        Open();
        CChipProtocol chip(160);
        chip.SetType(1);
        chip.SetMemoryKind(2);
        CEepromProtocol eeprom;
        BYTE data[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
        BYTE back[16] = {};
        DWORD version = 0;
        WORD word = 0;
        Step("set type", ReplyMs(3, 100) + 100, [&] { return chip.SetChipType(m_port); });
        Step("write", 2 * ReplyMs(3, 100) + 100,
             [&] { return chip.WriteBlock(m_port, 0x1FF8, 16, data); });
        Step("read", 2 * ReplyMs(11, 100) + 100,
             [&] { return chip.ReadBlock(m_port, 0x1FF8, 16, back); });
        Step("compare", ReplyMs(19, 100) + 100,
             [&] { return chip.CompareBlock(m_port, 0x0100, 16, back); });
        Step("erase", ReplyMs(3, 100) + 100, [&] { return chip.Erase(m_port); });
        Step("version", ReplyMs(6, 100) + 100,
             [&] { return chip.ReadVersionBlock(m_port, &version); });
        Step("board word", ReplyMs(5, 100) + 100,
             [&] { return chip.ReadBoardWord(m_port, &word); });
        Step("start", ReplyMs(3, 100) + 100, [&] { return chip.StartLoader(m_port); });
        Step("eeprom write", ReplyMs(3, 100) + 100,
             [&] { return eeprom.WriteBlock(m_port, 0x10, 16, data); });
        Step("eeprom read", ReplyMs(19, 100) + 100,
             [&] { return eeprom.ReadBlock(m_port, 0x10, 16, back); });
        ExpectPortFreeAfterClose();
    }
}

TEST_F(ProtocolFuzzTest, BootLoaderLines) {
    boards::BootLoaderOptions options;
    options.eraseMicros = 500000;
    for (uint32_t seed = 1; seed <= kSeeds; ++seed) {
        SCOPED_TRACE(seed);
        auto& chipBoard = Put(std::make_unique<boards::BootLoaderBoard>(options));
        chipBoard.Damage(DamageFor(seed));
        Open(57600);
        m_port.SetTimeOut(20);
        CChipProtocol chip(163);
        chip.SetType(2);
        char text[CChipProtocol::kTextSize] = {};
        BYTE data[16] = {0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80,
                         0x90, 0xA0, 0xB0, 0xC0, 0xD0, 0xE0, 0xF0, 0xFF};
        BYTE back[16] = {};
        // Each character waits up to 20 ms for its echo (10 s in the slow lines), then comes the
        // answer.
        Step("sync", 10 * 21 + 100, [&] { return chip.Sync(m_port, text); });
        Step("frequency", 13 * 21 + ReplyMs(3, 20) + 100,
             [&] { return chip.SetFrequency(m_port, text); });
        Step("write line", 43 * 21 + ReplyMs(3, 20) + 100,
             [&] { return chip.WriteHexRecords(m_port, 0, 16, data, text); });
        Step("display line", 21 * 21 + ReplyMs(41, 20) + 100,
             [&] { return chip.ReadRecord(m_port, 0, 16, back, text); });
        Step("erase", 13 * 10001 + ReplyMs(3, 10000) + 100,
             [&] { return chip.EraseChip(m_port, text); });
        Step("end record", 47 * 10001 + 3 * ReplyMs(3, 10000) + 100,
             [&] { return chip.ProgramSpecialBytes(m_port, text); });
        Step("security", 15 * 10001 + ReplyMs(3, 10000) + 100,
             [&] { return chip.SetSecurityBits(m_port, text); });
        Step("run", 1000, [&] { return chip.ResetToRun(m_port); });
        EXPECT_LT(std::string(text).size(), CChipProtocol::kTextSize);
        ExpectPortFreeAfterClose();
    }
}

TEST_F(ProtocolFuzzTest, MemoryBoardAndDrivePackets) {
    for (uint32_t seed = 1; seed <= kSeeds; ++seed) {
        SCOPED_TRACE(seed);
        boards::MemoryBoardOptions options;
        options.drive = seed % 2 == 0;
        options.eraseMicros = 300000;
        auto& board = Put(std::make_unique<boards::MemoryBoard>(options));
        board.Damage(DamageFor(seed));
        Open(19200);
        CMemoryBoardProtocol protocol;
        BYTE data[16] = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 1, 2, 3, 4, 5, 6};
        BYTE back[16] = {};
        BOOL direct = options.drive ? FALSE : TRUE;
        // The re-open at 115200 baud waits for the echo with an open's 1000 ms per byte.
        Step("resync", 200 + ReplyMs(1, 1000) + 100, [&] { return protocol.Resync(m_port); });
        m_port.SetTimeOut(100);  // as the programming thread sets it before the blocks
        Step("block", 2 * (513 * 101) + 2 * ReplyMs(3, 100) + 100,
             [&] { return protocol.WriteBlock(m_port, 0x1F8, 16, data, direct); });
        Step("flush", 2 * (513 * 101) + 2 * ReplyMs(3, 100) + 100,
             [&] { return protocol.FlushBlocks(m_port); });
        Step("read", 17 * 101 + ReplyMs(3, 100) + 100,
             [&] { return protocol.ReadBlock(m_port, 0x1F8, 16, back); });
        Step("erase", ReplyMs(3, 10000) + 100, [&] { return protocol.Erase(m_port); });
        ExpectPortFreeAfterClose();
    }
}

}  // namespace

// The protocols when the port itself fails: line, purge, write, read and open failures injected
// into the virtual port, each ending in its code.
#include <gtest/gtest.h>

#include "boards/boot_loader.h"
#include "boards/memory_board.h"
#include "boards/programmer_board.h"
#include "protocol_rig.h"
#include "tarnel/protocols/board_protocol.h"
#include "tarnel/protocols/chip_protocol.h"
#include "tarnel/protocols/memory_board_protocol.h"

namespace {

using w32test::vport::CallKind;

class PortFailureTest : public protocol_test::ProtocolRig {
protected:
    boards::ProgrammerBoard& PutProgrammer(const boards::ProgrammerBoardOptions& options = {}) {
        return Put(std::make_unique<boards::ProgrammerBoard>(options));
    }
    void FailNext(CallKind kind, DWORD count = 1) {
        ASSERT_TRUE(w32test::vport::FailNext(kCom, kind, count, ERROR_GEN_FAILURE));
    }
};

// Refuses every chip type, and makes the host's next line change after each byte fail.
class RtsBreaksAfterAPacket : public boards::ProgrammerBoard {
public:
    RtsBreaksAfterAPacket() : ProgrammerBoard(Options()) {}

protected:
    static boards::ProgrammerBoardOptions Options() {
        boards::ProgrammerBoardOptions options;
        options.chipTypes = {};
        return options;
    }
    void OnByte(BYTE byte, bool garbled) override {
        ProgrammerBoard::OnByte(byte, garbled);
        Board::FailNext(CallKind::Lines, 1, ERROR_GEN_FAILURE);
    }
};

TEST_F(PortFailureTest, LoaderEntriesReportRtsAndPurgeFailures) {
    PutProgrammer();
    Open();
    CBoardProtocol board;
    CEepromProtocol eeprom;
    CChipProtocol chip(160);
    chip.SetType(1);
    for (CBoardProtocol* protocol :
         {&board, static_cast<CBoardProtocol*>(&eeprom), static_cast<CBoardProtocol*>(&chip)}) {
        FailNext(CallKind::Lines);
        EXPECT_EQ(protocol->EnterLoader(m_port, "x"), BOARD_RTS_ON_FAILED);
        FailNext(CallKind::Purge);
        EXPECT_EQ(protocol->EnterLoader(m_port, "x"), BOARD_PURGE_FAILED);
    }
}

TEST_F(PortFailureTest, ChipLoaderEntryReportsAFailedRtsLowering) {
    Put(std::make_unique<RtsBreaksAfterAPacket>());
    Open();
    CChipProtocol chip(161);
    chip.SetType(1);
    EXPECT_EQ(chip.EnterLoader(m_port, nullptr), BOARD_RTS_OFF_FAILED);
    EXPECT_LE(Elapsed(), 300000u);
}

TEST_F(PortFailureTest, PacketsPassOnWriteAndReadFailures) {
    boards::ProgrammerBoard& board = PutProgrammer();
    Open();
    CChipProtocol chip(160);
    chip.SetType(1);
    const BYTE data[4] = {1, 2, 3, 4};
    FailNext(CallKind::Write);
    EXPECT_EQ(chip.WriteBlock(m_port, 0x0100, 4, data), COMMS_WRITE_FAILED);
    EXPECT_TRUE(protocol_test::HostBytes(board.Log()).empty());
    FailNext(CallKind::Read);
    BYTE back[4] = {};
    EXPECT_EQ(chip.ReadBlock(m_port, 0x0100, 4, back), COMMS_READ_FAILED);
    // A write to a port that was closed and cannot be opened again.
    m_port.Deinstall();
    FailNext(CallKind::Open, 5);
    EXPECT_EQ(chip.SetChipType(m_port), COMMS_NOT_OPEN);
}

TEST_F(PortFailureTest, BootLoaderLinesPassOnPortFailures) {
    Put(std::make_unique<boards::BootLoaderBoard>());
    Open(19200);
    char text[CChipProtocol::kTextSize] = {};
    CChipProtocol chip(171);
    FailNext(CallKind::Write);
    EXPECT_EQ(chip.Sync(m_port, text), COMMS_WRITE_FAILED);
    EXPECT_STREQ(text, "Invalid response to 'U' (Echo =  )");
    ASSERT_EQ(chip.Sync(m_port, text), BOARD_OK);
    m_port.SetTimeOut(20);
    FailNext(CallKind::Read);
    EXPECT_EQ(chip.SendLine(m_port, ":0100000218E5"), COMMS_READ_FAILED);
    FailNext(CallKind::Write);
    const BYTE data[1] = {0x42};
    EXPECT_EQ(chip.WriteHexRecords(m_port, 0x0010, 1, data, text), COMMS_WRITE_FAILED);
    EXPECT_STREQ(text, "*** Error 0010-0010 address ***");
    FailNext(CallKind::Write);
    BYTE back[1] = {};
    EXPECT_EQ(chip.ReadRecord(m_port, 0x0010, 1, back, text), COMMS_WRITE_FAILED);
    EXPECT_STREQ(text, "*** Error Command Line ***");
}

TEST_F(PortFailureTest, ReopeningThatFailsEndsWithThePortClosed) {
    boards::ProgrammerBoardOptions options;
    PutProgrammer(options);
    Open();
    CChipProtocol chip(163);
    chip.SetType(2);
    FailNext(CallKind::Open, 10);
    EXPECT_EQ(chip.ResetToRun(m_port), COMMS_NOT_OPEN);
    EXPECT_FALSE(m_port.IsInitialized());

    Put(std::make_unique<boards::MemoryBoard>());
    Open();
    CMemoryBoardProtocol memory;
    FailNext(CallKind::Settings, 10);
    EXPECT_EQ(memory.Resync(m_port), COMMS_NOT_OPEN);
    EXPECT_FALSE(m_port.IsInitialized());
    FailNext(CallKind::Settings, 0);
    ExpectPortFreeAfterClose();
}

TEST_F(PortFailureTest, MemoryPacketsPassOnWriteAndReadFailures) {
    Put(std::make_unique<boards::MemoryBoard>());
    Open(115200);
    CMemoryBoardProtocol memory;
    const BYTE data[4] = {1, 2, 3, 4};
    FailNext(CallKind::Write);
    EXPECT_EQ(memory.Write(m_port, 0x100, 4, data), COMMS_WRITE_FAILED);
    BYTE back[4] = {};
    FailNext(CallKind::Read);
    EXPECT_EQ(memory.Read(m_port, 0x100, 4, back), COMMS_READ_FAILED);
    FailNext(CallKind::Write);
    EXPECT_EQ(memory.Erase(m_port), COMMS_WRITE_FAILED);
}

}  // namespace

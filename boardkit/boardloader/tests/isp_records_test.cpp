// The boot loader's records against the simulated T89C51Rx2: echoes, replies, the 'U' that fixes
// the rate, read-backs, the slow special bytes, and a defined code for each misbehaviour.
#include <gtest/gtest.h>

#include "board_fixture.h"
#include "boards/corvanec_boards.h"
#include "w32test/clock.h"

namespace {

using boardtest::OnBoard;

class IspRecords : public OnBoard {
protected:
    // The direct boot loader at 9600, its rate fixed by a 'U'.
    void Synced(const std::string& options = "") {
        Attach("corvanec2", options);
        OpenInProgramMode(9600);
        ASSERT_EQ(syncIspU(m_comms, m_text), 0);
        EXPECT_STREQ(m_text, "Success response to 'U' (Echo = U)");
        m_board->Log().Clear();
    }
    const boards::BootLoader& Loader() { return BoardAs<boards::Corvanec2Board>().BootLoader(); }
};

TEST_F(IspRecords, DataGoesInAsARecordAndComesBackThroughADisplay) {
    Synced();
    const BYTE data[] = {0x01, 0x02, 0xA0, 0xFF};
    ASSERT_EQ(writeDataIsp(m_comms, 0x0200, 4, data, m_text), 0);
    EXPECT_STREQ(m_text, "Success writing 4 bytes, 0200-0203");
    EXPECT_EQ(HostText(),
              ":04020000"
              "0102A0FF"
              "58");
    EXPECT_EQ(Loader().Programmed().at(0x0202), 0xA0);

    BYTE back[4] = {};
    m_board->Log().Clear();
    ASSERT_EQ(readBlockIsp(m_comms, 0x0200, 4, back, m_text), 0) << m_text;
    EXPECT_STREQ(m_text, "OK");
    EXPECT_EQ(HostText(), ":050000040200020300F0");
    EXPECT_EQ(0, std::memcmp(back, data, 4));

    BYTE vector = 0;
    ASSERT_EQ(readSpecialByteIsp(m_comms, &vector, ISP_READ_BOOT_VECTOR, m_text), 0);
    EXPECT_EQ(vector, 0xFC);
    EXPECT_STREQ(m_text, "OK");
}

TEST_F(IspRecords, AWrongEchoCutsTheRecordShortAndNoReplyIsWaitedFor) {
    // Character 6 of the record (counting the 'U' as 1) comes back wrong: the loader never gets
    // the whole record and owes no reply.
    Synced("bad-echo=6");
    uint64_t start = w32test::clock::NowMicros();
    EXPECT_EQ(sendIspRecord(m_comms,
                            ":01000000"
                            "11"
                            "EE"),
              LDR_ERR_DOWNLOAD);
    uint64_t took = w32test::clock::NowMicros() - start;
    // Five characters out and back at 9600; no 3 x 20 ms wait for a reply.
    EXPECT_LT(took, 15000u);
    EXPECT_EQ(HostText(), ":0100");
}

TEST_F(IspRecords, AWrongEchoOnTheLastCharacterFailsTheRecordThoughTheLoaderTookIt) {
    // ":0100000011EE" is 13 characters; with the 'U' before it the last is character 14.
    Synced("bad-echo=14");
    EXPECT_EQ(sendIspRecord(m_comms, ":0100000011EE"), LDR_ERR_DOWNLOAD);
    // The loader's reply stays where it is, unread.
    BYTE reply[3] = {};
    EXPECT_EQ(m_comms.Read(reply, 3), 0);
    EXPECT_EQ(reply[0], '.');
}

TEST_F(IspRecords, AReplyThatIsNotADotFailsTheRecord) {
    Synced("bad-reply=1");
    const BYTE data[] = {0x11};
    EXPECT_EQ(writeDataIsp(m_comms, 0, 1, data, m_text), LDR_ERR_DOWNLOAD);
    EXPECT_STREQ(m_text, "*** Error ***");
    EXPECT_TRUE(Loader().Programmed().empty());
}

TEST_F(IspRecords, AShortReplyIsShownAsItCameAndNothingMore) {
    // The display record is answered "X\r\n" instead of its 17 characters.
    Synced("bad-reply=1");
    BYTE back[4] = {0x55, 0x55, 0x55, 0x55};
    EXPECT_EQ(readBlockIsp(m_comms, 0x0000, 4, back, m_text), COMMS_READ_TIMEOUT);
    EXPECT_STREQ(m_text, "Received reply: X\r\n");
}

TEST_F(IspRecords, SilenceAtAByteEndsTheRecordOnTheMissingEcho) {
    Synced("silent-at=4");
    EXPECT_EQ(sendIspRecord(m_comms, ":0100000011EE"), LDR_ERR_DOWNLOAD);
    EXPECT_EQ(HostText(), ":01");
}

TEST_F(IspRecords, ThreeWrongEchoesStillSyncAndTheNextRecordIsRefused) {
    // The loader cannot follow 19200: its echoes reach the host as garbage.
    Attach("corvanec2", "isp-max-baud=9600");
    OpenInProgramMode(19200);
    EXPECT_EQ(syncIspU(m_comms, m_text), 0);
    EXPECT_EQ(HostText(), "UUU");
    EXPECT_STRNE(m_text, "Success response to 'U' (Echo = U)");
    EXPECT_EQ(std::string(m_text, 32), "Success response to 'U' (Echo = ");
    BYTE vector = 0;
    EXPECT_EQ(readSpecialByteIsp(m_comms, &vector, ISP_READ_BOOT_VECTOR, m_text), LDR_ERR_DOWNLOAD);
    EXPECT_STREQ(m_text, "*** Error Command Line ***");
}

TEST_F(IspRecords, ASilentLoaderFailsTheSyncWithTheReadsCode) {
    Attach("corvanec2", "silent-at=1");
    OpenInProgramMode(9600);
    EXPECT_EQ(syncIspU(m_comms, m_text), COMMS_READ_TIMEOUT);
    EXPECT_STREQ(m_text, "Invalid response to 'U' (Echo =  )");
    EXPECT_EQ(HostText(), "U");
}

TEST_F(IspRecords, BootVectorAndStatusByteAreProgrammedSlowlyThenTheTimeOutIsBack) {
    Synced("status-byte=0x5A");
    ASSERT_EQ(programBootVectorIsp(m_comms, m_text), 0);
    EXPECT_STREQ(m_text, "Success Special Bytes Programming");
    EXPECT_EQ(HostText(), ISP_ERASE_BOOT_VECTOR ISP_PROGRAM_BOOT_VECTOR ISP_PROGRAM_STATUS);
    EXPECT_EQ(Loader().BootVector(), 0xFC);
    EXPECT_EQ(Loader().StatusByte(), 0x00);
    COMMTIMEOUTS timeouts = {};
    ASSERT_EQ(m_comms.GetTimeOut(&timeouts), 0);
    EXPECT_EQ(timeouts.ReadTotalTimeoutMultiplier, 20u);
}

TEST_F(IspRecords, ABootVectorStepThatFailsNamesItselfAndStops) {
    Synced("bad-reply=2");
    EXPECT_EQ(programBootVectorIsp(m_comms, m_text), LDR_ERR_DOWNLOAD);
    EXPECT_STREQ(m_text, "Invalid Set Vector");
    EXPECT_EQ(HostText(), ISP_ERASE_BOOT_VECTOR ISP_PROGRAM_BOOT_VECTOR);
    COMMTIMEOUTS timeouts = {};
    ASSERT_EQ(m_comms.GetTimeOut(&timeouts), 0);
    EXPECT_EQ(timeouts.ReadTotalTimeoutMultiplier, 20u);
}

TEST_F(IspRecords, ALineWithoutAReplyChecksEachEchoOnly) {
    Synced("bad-echo=3");
    EXPECT_EQ(sendIspLine(m_comms, ""), 0);
    EXPECT_EQ(sendIspLine(m_comms, ":0"), LDR_ERR_DOWNLOAD);
    ASSERT_TRUE(w32test::vport::FailNext(boardtest::kCom, w32test::vport::CallKind::Write, 1,
                                         ERROR_GEN_FAILURE));
    EXPECT_EQ(sendIspLine(m_comms, ":"), COMMS_WRITE_FAILED);
}

}  // namespace

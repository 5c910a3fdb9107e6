// The boot loader's text as Frandle takes it: replies up to the prompt, bounded however much the
// board says, and the file's lines with their ends removed.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "boards/board.h"
#include "boot_text.h"
#include "comms/comms.h"
#include "loader/loader_abi.h"
#include "w32test/clock.h"
#include "w32test/vport.h"

namespace {

using frandle::FirstLongLine;
using frandle::kReplySize;
using frandle::nextHexLine;
using frandle::readUntilPrompt;

// A board that says `text` as soon as the port opens.
class SayingBoard : public boards::Board {
public:
    explicit SayingBoard(std::string text) : m_text(std::move(text)) {}

protected:
    void OnOpen() override { Send(m_text); }

private:
    std::string m_text;
};

class ReadUntilPrompt : public ::testing::Test {
protected:
    static const int kCom = 41;

    // Reads one reply from a board that says `text`.
    int Read(const std::string& text) {
        m_board = std::make_unique<SayingBoard>(text);
        EXPECT_TRUE(w32test::vport::Attach(kCom, m_board.get()));
        EXPECT_EQ(m_port.SetCommPort("COM41: baud=9600 parity=N data=8 stop=1"), COMMS_OK);
        m_port.SetTimeOut(50);
        std::memset(m_reply, 'z', sizeof m_reply);
        return readUntilPrompt(m_port, m_reply, &m_count);
    }
    void TearDown() override {
        m_port.Deinstall();
        w32test::vport::Detach(kCom);
    }

    w32test::clock::VirtualTimeScope m_virtualTime;
    std::unique_ptr<SayingBoard> m_board;
    CComms m_port;
    char m_reply[kReplySize];
    size_t m_count = 99;
};

TEST_F(ReadUntilPrompt, TheTextBeforeThePromptComesTerminatedAndTheRestStaysUnread) {
    EXPECT_EQ(Read("\r\nBoot 1.0\r\n>next"), 0);
    EXPECT_EQ(m_count, 12u);
    EXPECT_STREQ(m_reply, "\r\nBoot 1.0\r\n");
    BYTE after = 0;
    EXPECT_EQ(m_port.Read(&after), 0);
    EXPECT_EQ(after, 'n');
}

TEST_F(ReadUntilPrompt, ALongReplyWrapsInTheBufferAndIsStillTerminatedInside) {
    std::string text(300, 'a');
    text.replace(256, 44, std::string(44, 'b'));
    EXPECT_EQ(Read(text + ">"), 0);
    EXPECT_EQ(m_count, 44u);
    // What was written since the wrap, terminated where the next byte would have gone.
    EXPECT_EQ(std::string(m_reply), std::string(44, 'b'));
}

TEST_F(ReadUntilPrompt, ABoardThatNeverPromptsIsGivenUpOnAfter4096Bytes) {
    EXPECT_EQ(Read(std::string(5000, 'x')), LDR_ERR_DOWNLOAD);
    EXPECT_EQ(m_count, 4096u % kReplySize);
    EXPECT_EQ(m_reply[m_count], '\0');
    DWORD left = 0;
    BYTE rest[1000];
    m_port.Read(rest, sizeof rest, left);
    EXPECT_EQ(left, 904u);
}

TEST_F(ReadUntilPrompt, SilenceEndsWithTheReadsCodeAndWhatCameBeforeIt) {
    EXPECT_EQ(Read("half"), COMMS_READ_TIMEOUT);
    EXPECT_EQ(m_count, 4u);
    EXPECT_STREQ(m_reply, "half");
}

std::string Line(const std::string& data, unsigned long offset, long* consumed) {
    char line[kReplySize];
    std::memset(line, 'z', sizeof line);
    *consumed = nextHexLine(line, reinterpret_cast<const unsigned char*>(data.data()),
                            static_cast<unsigned long>(data.size()), offset);
    return *consumed < 0 ? "-" : std::string(line);
}

TEST(NextHexLine, LinesLoseTheirLfAndACrBeforeItAndCountWhatTheyConsumed) {
    const std::string data = "ab\r\ncd\n\n\r\nx\ref";
    long consumed = 0;
    EXPECT_EQ(Line(data, 0, &consumed), "ab");
    EXPECT_EQ(consumed, 4);
    EXPECT_EQ(Line(data, 4, &consumed), "cd");
    EXPECT_EQ(consumed, 3);
    EXPECT_EQ(Line(data, 7, &consumed), "");
    EXPECT_EQ(consumed, 1);
    EXPECT_EQ(Line(data, 8, &consumed), "");
    EXPECT_EQ(consumed, 2);
    // A CR inside a line is the line's; the last line has no end.
    EXPECT_EQ(Line(data, 10, &consumed), "x\ref");
    EXPECT_EQ(consumed, 4);
    EXPECT_EQ(Line(data, 14, &consumed), "-");
    EXPECT_EQ(Line(data, 99, &consumed), "-");
}

TEST(NextHexLine, ALineLongerThanTheBufferIsCutNotOverrun) {
    const std::string data = std::string(300, 'q') + "\r\nz";
    long consumed = 0;
    EXPECT_EQ(Line(data, 0, &consumed), std::string(255, 'q'));
    EXPECT_EQ(consumed, 302);
}

unsigned long LongLine(const std::string& data) {
    return FirstLongLine(reinterpret_cast<const unsigned char*>(data.data()),
                         static_cast<unsigned long>(data.size()));
}

TEST(FirstLongLine, FindsTheFirstLineThatDoesNotFitWithoutItsEnd) {
    const std::string fits(255, 'f');
    const std::string over(256, 'o');
    EXPECT_EQ(LongLine(""), 0u);
    EXPECT_EQ(LongLine(fits + "\r\n" + fits + "\n" + fits), 0u);
    EXPECT_EQ(LongLine(over), 1u);
    EXPECT_EQ(LongLine(fits + "\r\n\r\n" + over + "\r\n" + over), 3u);
    // A CR that ends no line is part of it.
    EXPECT_EQ(LongLine(fits + "\r"), 1u);
}

}  // namespace

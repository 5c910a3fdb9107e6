// Random damage on any board's line: the keys every kind takes, each harm as it reaches the other
// end, and the same damage again for the same seed.
#include <gtest/gtest.h>

#include <string>

#include "boards/catalogue.h"
#include "w32/handles.h"
#include "w32/serial.h"
#include "w32test/clock.h"
#include "w32test/vport.h"

namespace {

TEST(LineDamage, EveryKindTakesTheDamageKeys) {
    for (const boards::BoardKind& kind : boards::BoardKinds()) {
        SCOPED_TRACE(kind.name);
        std::string error;
        EXPECT_NE(boards::MakeBoard(kind.name,
                                    "damage=flip,delay damage-rate=5 damage-seed=3 "
                                    "damage-way=to-host damage-delay-us=2000",
                                    &error),
                  nullptr)
            << error;
    }
}

TEST(LineDamage, WrongDamageKeysAreRefusedWithAReason) {
    struct Case {
        const char* options;
        const char* reason;
    };
    const Case cases[] = {
        {"damage=burn", "damage must be flip, drop, delay, truncate or any"},
        {"damage=flip,", "damage must be flip, drop, delay, truncate or any"},
        {"damage=any damage-rate=0", "damage-rate must be 1 to 1000"},
        {"damage=any damage-rate=1001", "damage-rate must be 1 to 1000"},
        {"damage=any damage-way=up", "damage-way must be both, to-host or to-board"},
        {"damage=any damage-seed=x", "damage-seed must be a number, not 'x'"},
        // Alone, the other keys would quietly do nothing.
        {"damage-rate=10", "damage-rate needs damage="},
        {"damage-seed=4", "damage-seed needs damage="},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        std::string error;
        EXPECT_EQ(boards::MakeBoard("echo", c.options, &error), nullptr);
        EXPECT_EQ(error.compare(0, std::string(c.reason).size(), c.reason), 0) << error;
    }
}

// An echo board with `options` on COM 33: the host writes `text` in one write, then reads what
// comes back within five seconds of the clock. The board's log events go to *log.
std::string EchoThrough(const std::string& options, const std::string& text,
                        std::string* log = nullptr) {
    w32test::clock::VirtualTimeScope virtualTime;
    std::string error;
    auto board = boards::MakeBoard("echo", options, &error);
    EXPECT_NE(board, nullptr) << error;
    if (board == nullptr || !w32test::vport::Attach(33, board.get())) {
        return "not attached";
    }
    HANDLE port = w32::CreateFileA("COM33", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                   0, nullptr);
    COMMTIMEOUTS t{0, 0, 5000, 0, 0};
    w32::SetCommTimeouts(port, &t);
    DWORD n = 0;
    w32::WriteFile(port, text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
    std::string reply(text.size() + 16, '\0');
    w32::ReadFile(port, &reply[0], static_cast<DWORD>(reply.size()), &n, nullptr);
    reply.resize(n);
    w32::CloseHandle(port);
    w32test::vport::Detach(33);
    if (log != nullptr) {
        *log = board->Log().Events();
    }
    return reply;
}

const std::string kText = "The quick brown fox jumps over the lazy dog, 0123456789.";

int Count(const std::string& text, const std::string& what) {
    int count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

TEST(LineDamage, FlippedBytesDifferInOneBitEachAndAreNoted) {
    std::string log;
    std::string reply =
        EchoThrough("damage=flip damage-rate=1000 damage-way=to-board", kText, &log);
    ASSERT_EQ(reply.size(), kText.size());
    for (size_t i = 0; i < kText.size(); ++i) {
        unsigned diff = static_cast<unsigned char>(reply[i] ^ kText[i]);
        EXPECT_TRUE(diff != 0 && (diff & (diff - 1)) == 0) << i;
    }
    EXPECT_EQ(Count(log, " damaged\n"), static_cast<int>(kText.size())) << log;
}

TEST(LineDamage, DroppedBytesNeverArriveEitherWay) {
    std::string log;
    EXPECT_EQ(EchoThrough("damage=drop damage-rate=1000 damage-way=to-board", kText, &log), "");
    EXPECT_EQ(Count(log, "damage: host> "), static_cast<int>(kText.size())) << log;
    EXPECT_EQ(Count(log, "\nboard> "), 0) << log;
    // Toward the host: the board heard every byte, the host got none of its echoes.
    EXPECT_EQ(EchoThrough("damage=drop damage-rate=1000 damage-way=to-host", kText, &log), "");
    EXPECT_EQ(Count(log, "\nhost> "), static_cast<int>(kText.size())) << log;
    EXPECT_EQ(Count(log, "damage: board> "), static_cast<int>(kText.size())) << log;
}

TEST(LineDamage, ATruncationLosesTheRestOfTheHostsMessage) {
    // The first byte is cut, and each byte that follows back to back goes with it.
    std::string log;
    EXPECT_EQ(EchoThrough("damage=truncate damage-rate=1000 damage-way=to-board", kText, &log), "");
    EXPECT_EQ(Count(log, "the message cut short"), 1) << log;
    EXPECT_EQ(Count(log, "lost with its message"), static_cast<int>(kText.size()) - 1) << log;
}

TEST(LineDamage, HeldBytesKeepTheirOrder) {
    std::string log;
    EXPECT_EQ(EchoThrough("damage=delay damage-rate=300 damage-delay-us=20000", kText, &log),
              kText);
    EXPECT_NE(log.find("damage: host> "), std::string::npos) << log;
    EXPECT_NE(log.find("damage: board> "), std::string::npos) << log;
}

TEST(LineDamage, TheSameSeedDamagesTheSameBytes) {
    const std::string options = "damage=any damage-rate=150 damage-delay-us=3000 damage-seed=";
    std::string first, again, other;
    std::string reply = EchoThrough(options + "7", kText, &first);
    EXPECT_NE(reply, kText);
    EXPECT_EQ(EchoThrough(options + "7", kText, &again), reply);
    EXPECT_EQ(again, first);
    EchoThrough(options + "8", kText, &other);
    EXPECT_NE(other, first);
    // Without damage= nothing is harmed.
    EXPECT_EQ(EchoThrough("", kText), kText);
}

}  // namespace

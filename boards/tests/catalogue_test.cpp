// The board catalogue: every kind is made by name, options reach the board or are refused.
#include <gtest/gtest.h>

#include <set>
#include <vector>
#include <string>

#include "boards/catalogue.h"
#include "w32/handles.h"
#include "w32/serial.h"
#include "w32test/clock.h"
#include "w32test/vport.h"

namespace {

TEST(Catalogue, EveryKindIsMadeWithoutOptionsUnderItsOwnName) {
    std::set<std::string> names;
    ASSERT_FALSE(boards::BoardKinds().empty());
    for (const boards::BoardKind& kind : boards::BoardKinds()) {
        SCOPED_TRACE(kind.name);
        EXPECT_TRUE(names.insert(kind.name).second) << "named twice";
        EXPECT_NE(std::string(kind.summary), "");
        std::string error;
        auto board = boards::MakeBoard(kind.name, "", &error);
        ASSERT_NE(board, nullptr) << error;
        EXPECT_EQ(board->BoardLine(), boards::LineSettings());
    }
}

TEST(Catalogue, FramingOptionsSetWhatTheBoardListensAt) {
    std::string error;
    auto board = boards::MakeBoard("echo", "  baud=19200 PARITY=e data=7  stop=2 ", &error);
    ASSERT_NE(board, nullptr) << error;
    EXPECT_EQ(boards::FramingText(board->BoardLine()), "19200 7E2");
    board = boards::MakeBoard("echo", "baud=0x1C200 stop=1.5 data=05 parity=S", &error);
    ASSERT_NE(board, nullptr) << error;
    EXPECT_EQ(boards::FramingText(board->BoardLine()), "115200 5S1.5");
}

TEST(Catalogue, MadeBoardAnswersOnItsPort) {
    w32test::clock::VirtualTimeScope virtualTime;
    auto board = boards::MakeBoard("echo", "baud=9600");
    ASSERT_NE(board, nullptr);
    ASSERT_TRUE(w32test::vport::Attach(31, board.get()));
    HANDLE port = w32::CreateFileA("COM31", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                   0, nullptr);
    ASSERT_NE(port, INVALID_HANDLE_VALUE);
    COMMTIMEOUTS t{0, 0, 100, 0, 0};
    ASSERT_TRUE(w32::SetCommTimeouts(port, &t));
    DWORD n = 0;
    ASSERT_TRUE(w32::WriteFile(port, "hi", 2, &n, nullptr));
    char reply[2] = {};
    ASSERT_TRUE(w32::ReadFile(port, reply, 2, &n, nullptr));
    EXPECT_EQ(std::string(reply, n), "hi");
    w32::CloseHandle(port);
    w32test::vport::Detach(31);
}

// The host's writes on COM n of an echo board made with `options`, each with its written count
// (-1 for a write that failed) and what came back.
std::string WritesThrough(const std::string& options, const std::vector<std::string>& writes) {
    w32test::clock::VirtualTimeScope virtualTime;
    auto board = boards::MakeBoard("echo", options);
    EXPECT_NE(board, nullptr);
    if (board == nullptr || !w32test::vport::Attach(32, board.get())) {
        return "not attached";
    }
    HANDLE port = w32::CreateFileA("COM32", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                   0, nullptr);
    COMMTIMEOUTS t{0, 0, 100, 0, 0};
    w32::SetCommTimeouts(port, &t);
    std::string result;
    for (const std::string& text : writes) {
        DWORD n = 0;
        bool ok = w32::WriteFile(port, text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
        result += ok ? std::to_string(n) + " " : std::string("-1 ");
    }
    char reply[16] = {};
    DWORD n = 0;
    w32::ReadFile(port, reply, sizeof reply, &n, nullptr);
    w32::CloseHandle(port);
    w32test::vport::Detach(32);
    return result + std::string(reply, n);
}

TEST(Catalogue, EveryBoardCanFailTheHostsWriteOfItsKthByte) {
    // Bytes 1 and 2 went in one write: the next write is the one that would carry byte 3.
    EXPECT_EQ(WritesThrough("fail-write-at=3", {"ab", "c", "d", "e"}), "2 -1 1 1 abde");
    EXPECT_EQ(WritesThrough("fail-write-at=2", {"ab", "c", "d"}), "2 -1 1 abd");
    EXPECT_EQ(WritesThrough("fail-write-at=1", {"a", "b"}), "-1 1 b");
    EXPECT_EQ(WritesThrough("fail-write-at=0", {"a", "b"}), "1 1 ab");
}

TEST(Catalogue, WrongKindsAndOptionsAreRefusedWithAReason) {
    struct Case {
        const char* kind;
        const char* options;
        const char* reason;
    };
    const Case cases[] = {
        {"nosuch", "", "unknown board 'nosuch' (boards: echo"},
        {"echo", "fast", "option 'fast' is not KEY=VALUE"},
        {"echo", "=5", "option '=5' is not KEY=VALUE"},
        {"echo", "baud=9600 Baud=300", "option 'baud' given twice"},
        {"echo", "baud=fast", "baud must be a number, not 'fast'"},
        {"echo", "baud=-1", "baud must be a number, not '-1'"},
        {"echo", "baud=4294967296", "baud must be a number, not '4294967296'"},
        {"echo", "baud=0", "baud must not be 0"},
        {"echo", "data=9", "data must be 5 to 8"},
        {"echo", "parity=x", "parity must be N, O, E, M or S"},
        {"echo", "parity=NO", "parity must be N, O, E, M or S"},
        {"echo", "stop=3", "stop must be 1, 1.5 or 2"},
        {"echo", "baud=9600 delay=5", "board 'echo' takes no option 'delay'"},
        {"echo", "fail-write-at=x", "fail-write-at must be a number, not 'x'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.kind) + " " + c.options);
        std::string error;
        EXPECT_EQ(boards::MakeBoard(c.kind, c.options, &error), nullptr);
        EXPECT_EQ(error.compare(0, std::string(c.reason).size(), c.reason), 0) << error;
    }
    EXPECT_EQ(boards::MakeBoard("nosuch", ""), nullptr);  // the reason is optional
}

}  // namespace

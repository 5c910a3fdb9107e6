// loadhost sessions: simulated boards on the virtual ports, their logs, and the check of a board's
// memory against a program file.
#include <cstdio>

#include "boards/catalogue.h"
#include "boards/program_store.h"
#include "hex_file.h"
#include "session.h"
#include "w32test/vport.h"

namespace loadhost {
namespace {

// "COM3" gives 3; 0 for anything else, a port past the record's last one included.
int ComNumber(const std::string& text) {
    if (text.size() < 4 || text.compare(0, 3, "COM") != 0) {
        return 0;
    }
    int number = 0;
    for (size_t i = 3; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return 0;
        }
        number = number * 10 + (text[i] - '0');
        if (number > kLastPortNumber + 1) {
            return 0;
        }
    }
    return number;
}

std::string Hex(uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

}  // namespace

boards::Board* Session::BoardOnRecordPort() {
    auto found = m_boards.find(m_record.settings.port + 1);
    return found == m_boards.end() ? nullptr : found->second.get();
}

void Session::DoBoard(const std::vector<Word>& words) {
    int number = ComNumber(words[2].text);
    if (number == 0) {
        Error("COMn expected (COM1 to COM" + std::to_string(kLastPortNumber + 1) + "), not '" +
              words[2].text + "'");
        return;
    }
    if (m_boards.count(number) != 0 || w32test::vport::IsAttached(number)) {
        Error("a board is already on COM" + std::to_string(number));
        return;
    }
    // Every word after the port is an option, as simhost takes them; a quoted word may hold
    // several.
    std::string options;
    for (size_t i = 3; i < words.size(); ++i) {
        options += (i > 3 ? " " : "") + words[i].text;
    }
    std::string error;
    std::unique_ptr<boards::Board> board = boards::MakeBoard(words[1].text, options, &error);
    if (board == nullptr) {
        Error(error);
        return;
    }
    if (!w32test::vport::Attach(number, board.get())) {
        Error("cannot attach the board to COM" + std::to_string(number));
        return;
    }
    m_boards[number] = std::move(board);
    Line("board " + words[1].text + " on COM" + std::to_string(number));
}

void Session::DoBoardLog(const std::vector<Word>&) {
    if (m_boards.empty()) {
        Error("no board (attach one first)");
        return;
    }
    // Each board's events since the last board-log, times in ms from the first of them.
    for (auto& entry : m_boards) {
        boards::Transcript& log = entry.second->Log();
        Line("board on COM" + std::to_string(entry.first) + ":");
        std::string text = log.Text();
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find('\n', start);
            Line("  " + text.substr(start, end - start));
            start = end == std::string::npos ? text.size() : end + 1;
        }
        log.Clear();
    }
}

void Session::DoBoardCheck(const std::vector<Word>& words) {
    boards::Board* board = BoardOnRecordPort();
    auto* store = dynamic_cast<boards::ProgramStore*>(board);
    if (store == nullptr) {
        Error(board == nullptr ? "no board on the port record's port"
                               : "the board on that port keeps no program");
        return;
    }
    std::map<uint32_t, uint8_t> file;
    std::string error;
    if (!ReadHexFileCells(words[1].text, &file, &error)) {
        Error(error);
        return;
    }
    const std::map<uint32_t, uint8_t>& memory = store->LoadedCells();
    int differences = 0;
    for (const auto& cell : file) {
        auto found = memory.find(cell.first);
        if (found != memory.end() && found->second == cell.second) {
            continue;
        }
        // The first few differences are enough to see what went wrong.
        if (++differences <= 4) {
            Line("differs at " + Hex(cell.first, 4) + ": file " + Hex(cell.second, 2) + ", board " +
                 (found == memory.end() ? std::string("--") : Hex(found->second, 2)));
        }
    }
    size_t outside = 0;
    for (const auto& cell : memory) {
        outside += file.count(cell.first) == 0 ? 1 : 0;
    }
    if (differences != 0) {
        Error("board memory differs from " + words[1].text + " in " + std::to_string(differences) +
              " of " + std::to_string(file.size()) + " bytes");
    } else {
        Line("board memory equals " + words[1].text + ": " + std::to_string(file.size()) +
             " bytes");
    }
    if (outside != 0) {
        Line("the board also holds " + std::to_string(outside) + " bytes outside the file");
    }
}

}  // namespace loadhost

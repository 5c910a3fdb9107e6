// loadhost sessions: simulated boards on the virtual ports, their logs, and the check of a board's
// memory against a program file.
#include <cstdio>

#include "boards/program_store.h"
#include "hex_file.h"
#include "session.h"

namespace loadhost {
namespace {

std::string Hex(uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

}  // namespace

boards::Board* Session::BoardOnRecordPort() { return m_boards.On(m_record.settings.port + 1); }

void Session::DoBoard(const std::vector<Word>& words) {
    int number = hostscript::ComNumber(words[2].text, kLastPortNumber + 1);
    if (number == 0) {
        Error("COMn expected (COM1 to COM" + std::to_string(kLastPortNumber + 1) + "), not '" +
              words[2].text + "'");
        return;
    }
    m_boards.Attach(words, number, *this);
}

void Session::DoBoardLog(const std::vector<Word>&) { m_boards.PrintLogs(*this); }

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

// The stand-in hosts' simulated boards: attached on the virtual ports, their logs as lines.
#include "hostscript/board_set.h"

#include "boards/catalogue.h"
#include "w32test/vport.h"

namespace hostscript {

int ComNumber(const std::string& text, int highest) {
    if (text.size() < 4 || text.compare(0, 3, "COM") != 0) {
        return 0;
    }
    int number = 0;
    for (size_t i = 3; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return 0;
        }
        number = number * 10 + (text[i] - '0');
        if (number > highest) {
            return 0;
        }
    }
    return number;
}

BoardSet::~BoardSet() { DetachAll(); }

void BoardSet::Attach(const std::vector<Word>& words, int number, ScriptOutput& out) {
    if (m_boards.count(number) != 0 || w32test::vport::IsAttached(number)) {
        out.Error("a board is already on COM" + std::to_string(number));
        return;
    }
    // Every word after the port is an option; a quoted word may hold several.
    std::string options;
    for (size_t i = 3; i < words.size(); ++i) {
        options += (i > 3 ? " " : "") + words[i].text;
    }
    std::string error;
    std::unique_ptr<boards::Board> board = boards::MakeBoard(words[1].text, options, &error);
    if (board == nullptr) {
        out.Error(error);
        return;
    }
    if (!w32test::vport::Attach(number, board.get())) {
        out.Error("cannot attach the board to COM" + std::to_string(number));
        return;
    }
    m_boards[number] = std::move(board);
    out.Line("board " + words[1].text + " on COM" + std::to_string(number));
}

boards::Board* BoardSet::On(int number) const {
    auto found = m_boards.find(number);
    return found == m_boards.end() ? nullptr : found->second.get();
}

void BoardSet::PrintLogs(ScriptOutput& out) {
    if (m_boards.empty()) {
        out.Error("no board (attach one first)");
        return;
    }
    for (auto& entry : m_boards) {
        boards::Transcript& log = entry.second->Log();
        out.Line("board on COM" + std::to_string(entry.first) + ":");
        std::string text = log.Text();
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find('\n', start);
            out.Line("  " + text.substr(start, end - start));
            start = end == std::string::npos ? text.size() : end + 1;
        }
        log.Clear();
    }
}

void BoardSet::ClearLogs() {
    for (auto& entry : m_boards) {
        entry.second->Log().Clear();
    }
}

void BoardSet::DetachAll() {
    for (auto& entry : m_boards) {
        w32test::vport::Detach(entry.first);
    }
    m_boards.clear();
}

}  // namespace hostscript

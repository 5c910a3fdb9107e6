// The simulated boards of a stand-in host's session on the virtual ports, by COM number: what the
// scripts' `board KIND COMn [OPTIONS]` attaches and `board-log` prints.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "boards/board.h"
#include "hostscript/script_output.h"
#include "hostscript/words.h"

namespace hostscript {

// "COM3" gives 3; 0 for anything else, a number above `highest` included.
int ComNumber(const std::string& text, int highest);

class BoardSet {
public:
    BoardSet() = default;
    ~BoardSet();
    BoardSet(const BoardSet&) = delete;
    BoardSet& operator=(const BoardSet&) = delete;

    // `words` are those of a board line (`board KIND COMn [OPTIONS]`): a board of KIND with the
    // options attached on COM`number` and a line that says so, or an error line.
    void Attach(const std::vector<Word>& words, int number, ScriptOutput& out);
    bool Empty() const { return m_boards.empty(); }
    // The board on COM`number`, null without one.
    boards::Board* On(int number) const;
    // `board-log`: each board's events since the last one, times in ms from the first of them, a
    // line "board on COMn:" and an indented line for each event; the logs are then cleared. An
    // error line when there is no board.
    void PrintLogs(ScriptOutput& out);
    // Forgets the events so far unseen.
    void ClearLogs();
    // Takes every board off its port.
    void DetachAll();

private:
    std::map<int, std::unique_ptr<boards::Board>> m_boards;  // by COM number
};

}  // namespace hostscript

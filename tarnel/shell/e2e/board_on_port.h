// A simulated programmer board from the catalogue on the far end of a COM port, for the
// device programmer's session: the host side opens the port by name as it would a real one.
#pragma once

#include <memory>
#include <string>

#include "boards/programmer_board.h"

namespace e2e {

class BoardOnPort {
public:
    // Builds a catalogue board of `kind` with `options` and attaches it to COM `com`; Attached()
    // tells whether both worked (Problem() says why not).
    BoardOnPort(int com, const std::string& kind, const std::string& options);
    ~BoardOnPort();
    BoardOnPort(const BoardOnPort&) = delete;
    BoardOnPort& operator=(const BoardOnPort&) = delete;

    bool Attached() const { return m_attached; }
    const std::string& Problem() const { return m_problem; }
    boards::Board& Board() { return *m_board; }
    // The programmer board's controller, when the kind is one.
    boards::ProgrammerBoard* Programmer() {
        return dynamic_cast<boards::ProgrammerBoard*>(m_board.get());
    }

private:
    int m_com;
    std::unique_ptr<boards::Board> m_board;
    bool m_attached = false;
    std::string m_problem;
};

}  // namespace e2e

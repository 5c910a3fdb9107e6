// The catalogue board put on a COM port for the length of a session.
#include "board_on_port.h"

#include "boards/catalogue.h"
#include "w32test/vport.h"

namespace e2e {

BoardOnPort::BoardOnPort(int com, const std::string& kind, const std::string& options)
    : m_com(com) {
    m_board = boards::MakeBoard(kind, options, &m_problem);
    if (m_board == nullptr) {
        return;
    }
    m_attached = w32test::vport::Attach(com, m_board.get()) != FALSE;
    if (!m_attached) {
        m_problem = "COM" + std::to_string(com) + " already has a device";
    }
}

BoardOnPort::~BoardOnPort() {
    if (m_attached) {
        w32test::vport::Detach(m_com);
    }
}

}  // namespace e2e

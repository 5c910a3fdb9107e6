// The stand-in hosts' rule on real serial ports.
#include "hostscript/real_ports.h"

#include <string>

namespace hostscript {

RealPortRule::~RealPortRule() {
    if (m_refusing) {
        w32test::vport::RefuseRealPorts(nullptr);
    }
}

void RealPortRule::Apply(bool virtualTime, bool realPorts) {
    bool refuse = virtualTime && !realPorts;
    if (refuse != m_refusing) {
        w32test::vport::RefuseRealPorts(refuse ? this : nullptr);
        m_refusing = refuse;
    }
}

std::vector<int> RealPortRule::TakeRefused() {
    std::lock_guard<std::mutex> lock(m_lock);
    std::vector<int> refused;
    refused.swap(m_refused);
    return refused;
}

std::string RealPortRule::RefusedText(int comNumber) {
    std::string name = "COM" + std::to_string(comNumber);
    return name +
           " has no board: not opened (under virtual time a script reaches the "
           "machine's serial devices only after real-ports on)";
}

void RealPortRule::Refused(int comNumber) {
    std::lock_guard<std::mutex> lock(m_lock);
    // One line per port and command is enough: a loader that retries an open says so itself.
    for (int number : m_refused) {
        if (number == comNumber) {
            return;
        }
    }
    m_refused.push_back(comNumber);
}

}  // namespace hostscript

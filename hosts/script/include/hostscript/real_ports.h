// Whether a host session's plug-in may reach the machine's serial devices: under virtual time a
// COM port without a simulated board is refused, so that a script that forgot its `board` line
// never writes to real hardware, unless the script asks for real ports.
#pragma once

#include <mutex>
#include <vector>

#include "w32test/vport.h"

namespace hostscript {

class RealPortRule final : public w32test::vport::RealPortGuard {
public:
    RealPortRule() = default;
    ~RealPortRule();
    RealPortRule(const RealPortRule&) = delete;
    RealPortRule& operator=(const RealPortRule&) = delete;

    // Refuses ports without a board while virtual time is on and real ports were not asked for.
    void Apply(bool virtualTime, bool realPorts);
    bool Refusing() const { return m_refusing; }

    // The COM numbers refused since the last call, in the order of the opens.
    std::vector<int> TakeRefused();
    // The line a host prints for one of them.
    static std::string RefusedText(int comNumber);

private:
    void Refused(int comNumber) override;

    bool m_refusing = false;
    std::mutex m_lock;
    std::vector<int> m_refused;  // guarded by m_lock
};

}  // namespace hostscript

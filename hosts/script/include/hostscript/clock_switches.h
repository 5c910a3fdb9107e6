// The clock and port switches of both stand-in hosts' scripts: `virtual-time on|off` and
// `real-ports on|off`, with the rule that keeps a port without a board off the machine's serial
// devices while virtual time is on.
#pragma once

#include <string>

#include "hostscript/real_ports.h"
#include "hostscript/script_output.h"

namespace hostscript {

class ClockSwitches {
public:
    // Notes the clock's mode as the session finds it, to give it back at RestoreClock.
    ClockSwitches();

    // `virtual-time MODE`: sleeps and time-outs of every module of the process then advance the
    // one clock instead of waiting.
    void VirtualTime(const std::string& mode, ScriptOutput& out);
    // `real-ports MODE`.
    void RealPorts(const std::string& mode, ScriptOutput& out);
    // A line for each port the plug-in could not open for want of a board since the last call.
    void ReportRefusedPorts(ScriptOutput& out);
    // Whether ports without a board are refused now.
    bool Refusing() const { return m_rule.Refusing(); }

    // At the session's end: the clock as the session found it.
    void RestoreClock();
    // At the session's end: no port is refused any more.
    void ReleasePorts();

private:
    bool m_wasVirtualTime = false;
    bool m_realPorts = false;  // real-ports on
    RealPortRule m_rule;
};

}  // namespace hostscript

// The stand-in hosts' virtual-time and real-ports switches.
#include "hostscript/clock_switches.h"

#include "w32test/clock.h"

namespace hostscript {

ClockSwitches::ClockSwitches() {
    m_wasVirtualTime = w32test::clock::IsVirtual();
    m_rule.Apply(m_wasVirtualTime, m_realPorts);
}

void ClockSwitches::VirtualTime(const std::string& mode, ScriptOutput& out) {
    if (mode != "on" && mode != "off") {
        out.Error("usage: virtual-time on|off");
        return;
    }
    w32test::clock::UseVirtualTime(mode == "on");
    m_rule.Apply(mode == "on", m_realPorts);
    out.Line("virtual time " + mode);
}

void ClockSwitches::RealPorts(const std::string& mode, ScriptOutput& out) {
    if (mode != "on" && mode != "off") {
        out.Error("usage: real-ports on|off");
        return;
    }
    m_realPorts = mode == "on";
    m_rule.Apply(w32test::clock::IsVirtual(), m_realPorts);
    out.Line(m_realPorts
                 ? "real ports on: a port without a board is the machine's serial device"
                 : "real ports off: under virtual time a port without a board is not opened");
}

void ClockSwitches::ReportRefusedPorts(ScriptOutput& out) {
    for (int number : m_rule.TakeRefused()) {
        out.Line(RealPortRule::RefusedText(number));
    }
}

void ClockSwitches::RestoreClock() { w32test::clock::UseVirtualTime(m_wasVirtualTime); }

void ClockSwitches::ReleasePorts() { m_rule.Apply(false, true); }

}  // namespace hostscript

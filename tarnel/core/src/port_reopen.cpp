// Re-opening a port at another rate, keeping its time-outs.
#include "tarnel/core/port_reopen.h"

int ReopenPortAt(CComms& port, DWORD baud) {
    // Every open starts with the library's own time-outs; the caller's must survive the change.
    COMMTIMEOUTS timeouts{};
    bool known = port.GetTimeOut(&timeouts) == COMMS_OK;
    port.Deinstall();
    comm_settings settings{};
    port.GetCommPort(&settings);
    settings.baud = baud;
    int result = port.SetCommPort(&settings);
    if (result != COMMS_OK || !known) {
        return result;
    }
    return port.SetTimeOut(&timeouts);
}

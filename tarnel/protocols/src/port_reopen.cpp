// Re-opening a port at another rate.
#include "tarnel/protocols/port_reopen.h"

int ReopenPortAt(CComms& port, DWORD baud) {
    // Like any open, the new one starts from the library's fixed time-outs; the steps after it
    // set their own. The caller's per-byte time-out belonged to the step before the change.
    port.Deinstall();
    comm_settings settings{};
    port.GetCommPort(&settings);
    settings.baud = baud;
    return port.SetCommPort(&settings);
}

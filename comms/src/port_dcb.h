// The device control block every open of a port asks for.
#pragma once

#include "w32/serial.h"

namespace comms_internal {

// What a port object asks of the port's framing and lines.
struct PortFraming {
    DWORD baud;
    int dataBits;
    int parity;
    int stopBits;
    int rtsControl;  // 1: the driver holds RTS on while open
    int dtrControl;  // 1: the driver holds DTR on while open
};

// Reads the port's device control block, sets the framing, no flow control, no character
// substitution and the two line controls, and writes it back; every other field stays as the
// driver had it, parity checking too when `checkParity` is null. COMMS_GET_STATE_FAILED or
// COMMS_SET_STATE_FAILED when the port refuses; COMMS_SET_STATE_FAILED without asking it for
// data bits outside 5 to 8.
int ApplyFraming(HANDLE port, const PortFraming& framing, const BOOL* checkParity);

}  // namespace comms_internal

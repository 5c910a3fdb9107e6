// The device control block every open of a port asks for.
#pragma once

#include "w32/serial.h"

namespace comms_internal {

// The stored framing, no flow control, no character substitution, the two line controls (1 =
// the driver holds the line on); `checkParity` null keeps the driver's parity checking. Every
// other field stays as the driver had it.
void ShapeDcb(DCB* dcb, DWORD baud, int dataBits, int parity, int stopBits, int rtsControl,
              int dtrControl, const BOOL* checkParity);

}  // namespace comms_internal

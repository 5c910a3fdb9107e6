// The device control block of an open port.
#include "port_dcb.h"

#include "comms/comms.h"

namespace comms_internal {

int ApplyFraming(HANDLE port, const PortFraming& f, const BOOL* checkParity) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!w32::GetCommState(port, &dcb)) {
        return COMMS_GET_STATE_FAILED;
    }
    if (f.dataBits < 5 || f.dataBits > 8) {
        // The block's byte cannot hold it (264 would read as 8): no port takes such a framing.
        return COMMS_SET_STATE_FAILED;
    }
    dcb.BaudRate = f.baud;
    dcb.ByteSize = static_cast<BYTE>(f.dataBits);
    dcb.Parity = static_cast<BYTE>(f.parity);
    dcb.StopBits = static_cast<BYTE>(f.stopBits);
    dcb.fBinary = TRUE;
    if (checkParity != nullptr) {
        dcb.fParity = *checkParity ? 1 : 0;
    }
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fTXContinueOnXoff = TRUE;
    dcb.fDtrControl = f.dtrControl ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
    dcb.fRtsControl = f.rtsControl ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE;
    dcb.fAbortOnError = FALSE;
    return w32::SetCommState(port, &dcb) ? COMMS_OK : COMMS_SET_STATE_FAILED;
}

}  // namespace comms_internal

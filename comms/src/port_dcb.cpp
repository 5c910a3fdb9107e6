// The device control block of an open port.
#include "port_dcb.h"

namespace comms_internal {

void ShapeDcb(DCB* dcb, DWORD baud, int dataBits, int parity, int stopBits, int rtsControl,
              int dtrControl, const BOOL* checkParity) {
    dcb->BaudRate = baud;
    dcb->ByteSize = static_cast<BYTE>(dataBits);
    dcb->Parity = static_cast<BYTE>(parity);
    dcb->StopBits = static_cast<BYTE>(stopBits);
    dcb->fBinary = TRUE;
    if (checkParity != nullptr) {
        dcb->fParity = *checkParity ? 1 : 0;
    }
    dcb->fOutxCtsFlow = FALSE;
    dcb->fOutxDsrFlow = FALSE;
    dcb->fDsrSensitivity = FALSE;
    dcb->fOutX = FALSE;
    dcb->fInX = FALSE;
    dcb->fErrorChar = FALSE;
    dcb->fNull = FALSE;
    dcb->fTXContinueOnXoff = TRUE;
    dcb->fDtrControl = dtrControl ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
    dcb->fRtsControl = rtsControl ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE;
    dcb->fAbortOnError = FALSE;
}

}  // namespace comms_internal

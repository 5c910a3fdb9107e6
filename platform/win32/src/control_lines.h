// What SetCommState does to RTS and DTR: a serial driver drives a line only when its control mode
// changes, so setting the framing again never undoes an EscapeCommFunction.
#pragma once

#include "w32/serial.h"

namespace w32 {
namespace serial {

// One line after a SetCommState: whether the call drives it at all, and to which level.
struct LineDrive {
    bool drive = false;
    bool on = false;
};

struct ControlLineDrives {
    LineDrive rts;
    LineDrive dtr;
};

// The lines a change of the control block from `before` to `after` drives. A control mode left
// as it was drives nothing: the line keeps the level the last call gave it. A new mode ENABLE
// raises the line, DISABLE drops it; a handshake or toggle mode hands the line to the driver.
inline ControlLineDrives ControlLineChanges(const DCB& before, const DCB& after) {
    ControlLineDrives d;
    if (after.fRtsControl != before.fRtsControl &&
        (after.fRtsControl == RTS_CONTROL_ENABLE || after.fRtsControl == RTS_CONTROL_DISABLE)) {
        d.rts.drive = true;
        d.rts.on = after.fRtsControl == RTS_CONTROL_ENABLE;
    }
    if (after.fDtrControl != before.fDtrControl &&
        (after.fDtrControl == DTR_CONTROL_ENABLE || after.fDtrControl == DTR_CONTROL_DISABLE)) {
        d.dtr.drive = true;
        d.dtr.on = after.fDtrControl == DTR_CONTROL_ENABLE;
    }
    return d;
}

}  // namespace serial
}  // namespace w32

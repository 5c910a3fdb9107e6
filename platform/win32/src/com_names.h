// Names of serial ports: "\\.\COM3" and "COM3" both name COM port 3.
#pragma once

namespace w32 {
namespace serial {

// The COM number (from 1) that `name` opens, or 0 when it names no COM port.
int ComNumberOfName(const char* name);

}  // namespace serial
}  // namespace w32

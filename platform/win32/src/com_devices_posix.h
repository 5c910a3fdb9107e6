// Which Linux device each COM port is: COMn from the environment, else ttyS0..ttyS3 for COM1..4.
#pragma once

#include <string>
#include <vector>

namespace w32 {
namespace serial {

// The device COM `comNumber` opens: the environment variable COMn (e.g. COM5=/dev/ttyUSB0) when
// set, else /dev/ttyS<n-1> for COM1..COM4; empty when the port maps to nothing.
std::string DevicePathOfCom(int comNumber);

struct PresentPort {
    int comNumber;
    std::string device;
};

// The COM ports whose device exists (a serial port the kernel found, or any character device a
// COMn variable names), ascending.
std::vector<PresentPort> PresentPorts();

}  // namespace serial
}  // namespace w32

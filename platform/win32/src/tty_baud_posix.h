// Any baud rate on a Linux tty (termios knows only a fixed list; the kernel takes any number).
#pragma once

#include <cstdint>

namespace w32 {
namespace serial {

bool SetTtyBaud(int fd, uint32_t baud);
bool GetTtyBaud(int fd, uint32_t* baud);

}  // namespace serial
}  // namespace w32

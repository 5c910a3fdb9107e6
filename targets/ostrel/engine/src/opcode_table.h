// The engine's dispatch table: one handler per opcode.
#pragma once

#include "cpu.h"

namespace ostrel::engine {

extern const Handler kHandlers[256];

}  // namespace ostrel::engine

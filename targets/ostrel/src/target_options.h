// The target option text: which external data space a simulated chip has.
#pragma once

#include <cstdint>

namespace ostrel {

// How MOVX reaches external data: not at all, through program memory, or a RAM of its own.
enum class ExtMemMode : int32_t { None = 0, Overlapped = 1, Separate = 2 };

// Reads "ExtMem=None", "ExtMem=Overlapped" or "ExtMem=Separate" from the host's option text. The
// prefix must match exactly and begin the text; the value is compared ignoring case. Anything
// else, an absent text included, is None.
ExtMemMode ParseExtMemOption(const char* options);

}  // namespace ostrel

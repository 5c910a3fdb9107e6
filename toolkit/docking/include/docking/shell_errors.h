// Which text a hyperlink shows when the shell cannot open its target (rules without windows).
#pragma once

#include <cstdint>

namespace xtdock {

// The string-table entry for the shell's result: 0 for a success (above 32); the entry for
// "An unknown error number %d occured." for any result up to 32 without a text of its own.
unsigned ShellErrorStringId(std::intptr_t result);

}  // namespace xtdock

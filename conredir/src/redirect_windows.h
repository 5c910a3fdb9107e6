// Running the child on Windows: direct mode and capture mode over the real console API.
#pragma once

#include <string>

#include "version_class.h"

namespace conredir {

// Asks the system for its version, extended record first, and returns its class (0 when unknown).
int QueryWindowsVersionClass();

// Starts `commandLine` in `mode`, waits for the child and returns conredir's exit code: the
// child's own; 242 (direct mode) or -2 (capture mode) when it cannot be started (saying why on
// standard error); 242 (direct) or -3 (capture) when its exit code cannot be read. Capture mode
// runs in direct mode when no usable screen buffer can be had (a process without a console).
int RunRedirect(const std::string& commandLine, Mode mode);

}  // namespace conredir

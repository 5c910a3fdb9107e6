// Running the child on Linux: direct mode only, since there are no console screen buffers here.
#pragma once

#include <string>

namespace conredir {

// Splits `commandLine` into words as a Windows child would, runs the first word (searched on
// PATH) with the standard handles of this process, waits for it and returns its exit code; 242
// when it cannot be started (saying why on standard error) or ends without an exit code (killed
// by a signal). The child does not outlive a conredir that is killed.
int RunRedirect(const std::string& commandLine);

}  // namespace conredir

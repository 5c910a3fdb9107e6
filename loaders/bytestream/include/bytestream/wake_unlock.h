// The wake, unlock and load commands that open a download into a resident program.
#pragma once

#include "comms/comms.h"

namespace bytestream {

// What a loader says around the commands; a null text is a step it passes over in silence.
struct WakeUnlockTexts {
    const char* wake;    // before the CR that wakes the program
    const char* load;    // before the 'L' command
    const char* settle;  // before the last pause, once the load is open
};

// Wakes the resident program with a CR, unlocks it with 'U' and opens the load with 'L', each
// followed by the pause the program needs (half a second, a fifth, half a second). Between them
// every loader says "Waiting 0.5 seconds...", "Sending 'U' (unlock) command..." and "Waiting 0.2
// seconds..."; `texts` holds what loaders say differently. Answers 0, or the first failed
// write's answer (as WriteCommand) with the steps after it left out.
int WakeUnlockLoad(CComms& port, const WakeUnlockTexts& texts);

}  // namespace bytestream

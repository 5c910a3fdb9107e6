// One step of the simulated chip.
#include "c8051_target.h"

namespace ostrel {

// This build of the simulator loads, shows and edits a program but executes no instruction:
// every step answers SIM_NOT_SUPPORTED and leaves the chip as it is.
SimStatus C8051Target::ExecuteInstruction() {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    return SIM_NOT_SUPPORTED;
}

}  // namespace ostrel

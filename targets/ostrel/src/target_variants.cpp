// Behaviour that the chip-specific targets add to the 8051.
#include "target_variants.h"

namespace ostrel {

SimStatus C8052Target::StartDebugging() {
    const SimStatus status = C8051Target::StartDebugging();
    if (status == SIM_OK) {
        for (uint8_t address : kTimer2Registers) {
            Registers()->SetSfr(address, 0);
        }
    }
    return status;
}

}  // namespace ostrel

// TA of the Gristan chips: writing 0xAA and then 0x55 to it opens a window of a few machine
// cycles in which the protected bits of PCON, IP and MCON may change.
#pragma once

#include <cstdint>

namespace ostrel {

class CTimedAccess {
public:
    // What TA reads between instructions.
    static constexpr uint8_t kIdleValue = 0xE9;

    bool IsOpen() const { return open_ != 0; }

    // `cycles` machine cycles after an instruction of `cycleClass`, over the special function
    // registers `sfr`: arms on 0xAA, opens on 0x55 while armed, closes when the window has run
    // out, and puts TA back to its idle value.
    void Tick(uint8_t* sfr, int cycleClass, int32_t cycles);
    // The chip's reset: closed, TA at its idle value.
    void Reset(uint8_t* sfr);

private:
    uint8_t open_ = 0;
    int32_t arming_ = 0;  // cycles left in which 0x55 opens the window
    int32_t window_ = 0;  // cycles left of the window
    uint8_t previous_ = 0;
};

}  // namespace ostrel

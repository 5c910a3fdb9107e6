// The timed-access sequence of the Gristan chips, machine cycle by machine cycle.
#include "gristan/timed_access.h"

#include <algorithm>

#include "sfr_map.h"

namespace ostrel {

namespace {

constexpr uint8_t kArm = 0xAA;
constexpr uint8_t kOpen = 0x55;
constexpr int32_t kArmingCycles = 2;
constexpr int32_t kWindowCycles = 4;

}  // namespace

void CTimedAccess::Tick(uint8_t* sfr, int cycleClass, int32_t cycles) {
    const uint8_t ta = sfr[sfr::TA];
    if (arming_ > 0 && previous_ != kOpen && ta == kOpen) {
        open_ = 1;
    }
    if (window_ > 0 || previous_ == kArm || ta != kArm) {
        arming_ = std::max(0, arming_ - cycles);
        window_ = std::max(0, window_ - cycles);
        if (window_ == 0) {
            arming_ = 0;
            open_ = 0;
        }
    } else {
        // 0xAA just written: a two-cycle write still has its second cycle to run.
        const int32_t extra = cycleClass == 2 ? 1 : 0;
        arming_ = kArmingCycles + extra;
        window_ = kWindowCycles + extra;
    }
    previous_ = ta;
    sfr[sfr::TA] = kIdleValue;
}

void CTimedAccess::Reset(uint8_t* sfr) {
    open_ = 0;
    arming_ = 0;
    window_ = 0;
    sfr[sfr::TA] = kIdleValue;
    previous_ = kIdleValue;
}

}  // namespace ostrel

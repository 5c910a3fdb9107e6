// The chip variants the engine simulates, and which on-chip peripherals each one has: the one
// list the chip builds its parts from.
#pragma once

#include <cstdint>

namespace ostrel {

enum class ChipFamily {
    k8051,       // Timers 0 and 1, the serial port and five interrupt sources
    k8052,       // with Timer 2, without T2MOD
    k80C52,      // with Timer 2 and T2MOD
    kGristan8,   // program and data in one RAM split by MCON, timed access
    kGristan32,  // the same with the 32 KB range
};

// Peripherals beyond the 8051's own (which every variant has).
enum ChipPartBits : uint32_t {
    kPartTimer2 = 1u << 0,
    kPartT2mod = 1u << 1,  // Timer 2 has T2MOD (up and down counting)
    kPartTimedAccess = 1u << 2,
    kPartMcon = 1u << 3,
    kPartMcon32k = 1u << 4,  // the partition may grow past 8 KB
};

struct ChipVariant {
    ChipFamily family;
    uint32_t parts;  // ChipPartBits
};

constexpr ChipVariant kChipVariants[] = {
    {ChipFamily::k8051, 0},
    {ChipFamily::k8052, kPartTimer2},
    {ChipFamily::k80C52, kPartTimer2 | kPartT2mod},
    {ChipFamily::kGristan8, kPartTimedAccess | kPartMcon},
    {ChipFamily::kGristan32, kPartTimedAccess | kPartMcon | kPartMcon32k},
};

constexpr const ChipVariant& VariantOf(ChipFamily family) {
    for (const ChipVariant& variant : kChipVariants) {
        if (variant.family == family) {
            return variant;
        }
    }
    return kChipVariants[0];
}

}  // namespace ostrel

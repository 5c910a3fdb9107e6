// How much room a toolbar separator that ends a row takes below that row, by the common-controls
// version the control comes from (rules without windows).
#pragma once

#include <cstdint>

namespace xtmenus {

// The common-controls version (major << 16 | minor) from which the control lays out a wrapped
// separator by its height.
constexpr std::uint32_t kComCtlSeparatorByHeight = 0x40047;  // 4.71

// A wrapped separator counts as 0 wide by: its item rectangle's height less 3 before 4.71, its
// height with exactly 4.71, its width after. Never less than 0.
int WrappedSeparatorDepth(std::uint32_t comctlVersion, int itemHeight, int width);

}  // namespace xtmenus

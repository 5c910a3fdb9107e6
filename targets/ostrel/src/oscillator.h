// The simulated crystal frequency, one value for every target of the plug-in.
#pragma once

#include <cstdint>

namespace ostrel {

constexpr uint32_t kDefaultOscillatorHz = 22118400;
constexpr uint32_t kMaxOscillatorHz = 50000000;

uint32_t GetOscillatorHz();
// Stores `hz` limited to 0 to kMaxOscillatorHz.
void SetOscillatorHz(int64_t hz);

}  // namespace ostrel

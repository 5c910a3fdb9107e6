// The plug-in-wide oscillator frequency that the peripheral texts compute their rates from.
#include "oscillator.h"

#include <algorithm>

namespace ostrel {

namespace {
// Shared by all targets: the host edits it through any target and every target shows the change.
uint32_t g_oscillatorHz = kDefaultOscillatorHz;
}  // namespace

uint32_t GetOscillatorHz() { return g_oscillatorHz; }

void SetOscillatorHz(int64_t hz) {
    g_oscillatorHz = static_cast<uint32_t>(std::clamp<int64_t>(hz, 0, kMaxOscillatorHz));
}

}  // namespace ostrel

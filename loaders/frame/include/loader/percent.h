// The percentages a loader reports: the clamp every loader applies and the byte-stream rule.
#pragma once

#include <cstdint>

namespace loader {

// A computed percentage as the host gets it: raised to 1 when 0 or below, lowered to 99 when
// above 99, so a download never reports 0 or 100.
int ClampPercent(int64_t percent);

// The byte-stream loaders report after every step-th byte of a file of `count` bytes:
// max(count / 100, 1).
unsigned long PercentStep(unsigned long count);

// Whether byte `index` (from 0) of `count` is one after which the byte-stream rule reports, and
// the percentage it reports: index * 100 / count, clamped.
bool IsPercentByte(unsigned long index, unsigned long count);
int BytePercent(unsigned long index, unsigned long count);

}  // namespace loader

// How the image documents turn a chip read, write or verify into jobs: the destination of a .bin
// image, the range it may cover, and the areas of a .hex image, in queue order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tarnel/images/image_areas.h"

// The .bin image's destination when nobody needs to be asked: the chip's only area, at base 0.
// False when the user must choose (always asked, or not exactly one area).
bool SingleDestination(const AreaChoice& chipAreas, bool alwaysAsk, MemoryKind& kind);

// A .bin write or verify checked against the chosen area of the chip.
struct BinJobPlan {
    enum class Outcome {
        kQueue,     // queue a job of `size` bytes
        kAskRange,  // the image runs past the area: ask `text`; Yes queues `size` bytes
        kRefused,   // show the error box `text`; nothing is queued
    };
    Outcome outcome = Outcome::kRefused;
    uint32_t size = 0;
    std::string text;
};

// The code and special areas take the image as 16-bit words, so an odd size is refused there;
// `verb` ("written", "verified") completes the range question.
BinJobPlan PlanBinJob(const char* chipName, int kind, uint32_t imageSize, uint32_t base,
                      const char* verb);

// A .hex read, write or verify asks which areas only when asked to and the chip has both a code
// and a data area.
bool HexAsksDestination(const AreaChoice& chipAreas, bool askForAreas);
// What a .hex write or verify covers without asking: the code and data areas the chip has, never
// the special area.
AreaChoice HexDefaultWriteAreas(const AreaChoice& chipAreas);
// The kinds of the chosen areas in queue order: code, data, special.
std::vector<MemoryKind> HexJobKinds(const AreaChoice& chosen);

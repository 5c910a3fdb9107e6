// Words of a simhost script line: the script reader the stand-in hosts share.
#pragma once

#include <cstdint>

#include "hostscript/words.h"

namespace simhost {

using hostscript::ParseBytes;
using hostscript::ParseNumber;
using hostscript::ParseWord32;
using hostscript::SplitWords;
using hostscript::Word;

// The largest number a target takes where it counts or indexes with a signed 32-bit word.
constexpr uint32_t kMaxSigned32 = 0x7FFFFFFF;

}  // namespace simhost

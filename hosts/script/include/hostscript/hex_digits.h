// Hex digits in script words: boardkit's hex-digit reader under the scripts' names.
#pragma once

#include "hexdigits/hex_digits.h"

namespace hostscript {

using ::ReadHexByte;
using ::ReadHexDigit;

}  // namespace hostscript

// Words of a simhost script line: the script reader the stand-in hosts share.
#pragma once

#include "hostscript/words.h"

namespace simhost {

using hostscript::ParseBytes;
using hostscript::ParseNumber;
using hostscript::ParseWord32;
using hostscript::SplitWords;
using hostscript::Word;

}  // namespace simhost

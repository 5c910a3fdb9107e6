// Shell item identifier lists as bytes: records that each start with their 16-bit length
// (little-endian, the length field included), ended by a record length of zero (rules without
// windows).
#pragma once

#include <cstddef>

namespace xtdock {

// The bytes the list takes, its two-byte terminator included; 0 for no list.
std::size_t ItemIdListSize(const void* pList);

}  // namespace xtdock

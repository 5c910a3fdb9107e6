// The program file that board-check compares a board's memory with.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace loadhost {

// Reads an Intel HEX file (data, end, extended segment and linear address records; blank lines
// skipped) into its bytes by address. False with a reason for a file that cannot be read, a line
// that is not a record, or a wrong checksum.
bool ReadHexFileCells(const std::string& path, std::map<uint32_t, uint8_t>* cells,
                      std::string* error);

}  // namespace loadhost
